#include "ControlsDemoForm.h"

#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiListBox.h"
#include "skin/controls/TsuiListView.h"
#include "skin/controls/TsuiScrollBar.h"

namespace {

TsuiScrollBar *makeBar(QWidget *parent)
{
    auto *bar = new TsuiScrollBar(parent);
    bar->setUIStyle(TsuiUIStyle::WinXP);
    return bar;
}

} // namespace

ControlsDemoForm::ControlsDemoForm(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Vocafetch controls"));
    setFixedSize(320, 170);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(239, 235, 222));
    setPalette(pal);
    setAutoFillBackground(true);

    ListView1 = new TsuiListView(this);
    ListView1->setUIStyle(TsuiUIStyle::WinXP);
    ListView1->setGeometry(8, 8, 145, 113);
    ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int i = 1; i <= 40; ++i)
        ListView1->addItem(QStringLiteral("Запись_%1.amr из контейнера 00%1.drf").arg(i));

    ListBox1 = new TsuiListBox(this);
    ListBox1->setUIStyle(TsuiUIStyle::WinXP);
    ListBox1->setGeometry(167, 8, 145, 113);
    for (int i = 1; i <= 30; ++i)
        ListBox1->addItem(QStringLiteral("Строка %1").arg(i));

    VScrollBar1 = makeBar(this);
    HScrollBar1 = makeBar(this);
    VScrollBar2 = makeBar(this);
    ListView1->setVScrollBar(VScrollBar1);
    ListView1->setHScrollBar(HScrollBar1);
    ListBox1->setVScrollBar(VScrollBar2);

    Button1 = new TsuiButton(this);
    Button1->setUIStyle(TsuiUIStyle::WinXP);
    Button1->setCaption(QStringLiteral("Добавить"));
    Button1->setGeometry(8, 134, 145, 27);
    connect(Button1, &QAbstractButton::clicked, this, [this]() {
        ListView1->addItem(QStringLiteral("Новая запись %1").arg(ListView1->count() + 1));
        ListBox1->addItem(QStringLiteral("Новая строка %1").arg(ListBox1->count() + 1));
    });
}
