#pragma once

#include <QDialog>
#include <QPointer>

class QAbstractButton;
class QLabel;

namespace vocafetch {

// TForm2: the About box. A small fixed tool window naming the program and its makers, shown
// modally from the help menu and centred on the main window each time.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    // Shows the box modally, centred on the given window; returns when the box is closed.
    void showModalCentredOn(const QWidget *window);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QAbstractButton *Button1;

public slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPointer<const QWidget> m_centreOn;
    QLabel *addLabel(const QString &text, const QRect &geometry);
};

} // namespace vocafetch
