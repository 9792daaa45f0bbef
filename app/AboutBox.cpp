#include "app/AboutBox.h"

#include "app/AppInfo.h"
#include "app/Localization.h"

#include <QLabel>
#include <QPushButton>

namespace vocafetch {

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Автор"));
    setFixedSize(269, 106);
    setModal(true);
    setFont(Localization::windowFont());

    Label1 = addLabel(AppInfo::Title, QRect(16, 8, 92, 23));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPixelSize(21);
    Label1->setFont(titleFont);
    Label2 = addLabel(tr("© 2026. Лицензия: GPL-3.0-or-later"), QRect(40, 35, 123, 13));
    Label3 = addLabel(tr("Почта: vocafetch@example.org"), QRect(40, 51, 121, 13));
    Label3->setLayoutDirection(Qt::LeftToRight);
    Label4 = addLabel(tr("Разработчики Vocafetch"), QRect(40, 67, 70, 13));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(176, 72, 75, 25);
    ok->setDefault(true);
    ok->setFocus();
    Button1 = ok;
    connect(Button1, &QAbstractButton::clicked, this, &TForm2::Button1Click);
}

QLabel *TForm2::addLabel(const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, this);
    // The boxes fit the texts in the original face; a wider stand-in font may run past a box
    // to the right rather than have its text cut.
    const int width = qMax(geometry.width(), label->sizeHint().width());
    label->setGeometry(geometry.x(), geometry.y(), width, geometry.height());
    return label;
}

void TForm2::showModalCentredOn(const QWidget *window)
{
    m_centreOn = window;
    exec();
}

void TForm2::showEvent(QShowEvent *event)
{
    // Placed here rather than before showing: only a created window knows its frame.
    if (m_centreOn) {
        QRect frame = frameGeometry();
        const QPoint offset = pos() - frame.topLeft();
        frame.moveCenter(m_centreOn->frameGeometry().center());
        move(frame.topLeft() + offset);
    }
    QDialog::showEvent(event);
}

void TForm2::Button1Click()
{
    accept();
}

} // namespace vocafetch
