#pragma once
// A panel that shows one picture at its top-left corner and takes the picture's size: the slider
// of a skinned scroll track. It lets mouse events through to the track under it.

#include <QImage>
#include <QWidget>

class TsuiImagePanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)

public:
    explicit TsuiImagePanel(QWidget *parent = nullptr);

    QImage Picture() const { return m_picture; }
    // Shows picture and resizes to it (an empty picture gives an empty panel).
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
