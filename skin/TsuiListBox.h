#pragma once
// A single-column list of strings with the skinned two-pixel border of TsuiListView; a linked
// vertical skinned bar (VScrollBar) follows every change of its items and scrolls it by position.

#include "ScrollBarLink.h"
#include "SkinnedListFrame.h"
#include "TsuiFileTheme.h"
#include "TsuiScrollBar.h"
#include "TsuiUIStyle.h"

#include <QListWidget>

class TsuiListBox : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(TsuiScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)

public:
    explicit TsuiListBox(QWidget *parent = nullptr);
    ~TsuiListBox() override;

    // Also handed to the linked bar.
    TsuiFileTheme *FileTheme() const { return m_frame.fileTheme(); }
    void setFileTheme(TsuiFileTheme *theme);
    TsuiUIStyle UIStyle() const { return m_frame.uiStyle(); }
    void setUIStyle(TsuiUIStyle style);
    QColor BorderColor() const { return m_frame.borderColor(); }
    void setBorderColor(const QColor &color);
    TsuiScrollBar *VScrollBar() const { return m_link->bar(Qt::Vertical); }
    void setVScrollBar(TsuiScrollBar *bar) { m_link->LinkScrollBar(Qt::Vertical, bar); }

    ScrollBarLink *scrollBarLink() const { return m_link; }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void itemsChanged();

    ScrollBarLink *m_link;
    SkinnedListFrame m_frame;
};
