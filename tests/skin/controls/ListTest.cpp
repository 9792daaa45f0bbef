// Skinned lists: the two-pixel ring after every paint, restyling, and linked scroll bars that
// follow the list and drive it, on the demonstration form under real events.

#include "ControlsDemoForm.h"
#include "ControlsTestSupport.h"
#include "skin/controls/SkinnedListView.h"
#include "skin/controls/TsuiImageButton.h"
#include "skin/controls/TsuiListBox.h"
#include "skin/controls/TsuiListView.h"
#include "skin/controls/TsuiScrollTrackBar.h"
#include "skin/style/StyleLookup.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <gtest/gtest.h>

using namespace vocafetch;

using namespace controlstest;

namespace {

const QRgb WinXPBorder = qRgb(104, 104, 104); // 6842472

// The outer pixel of the ring is the border colour, the inner one the list's background.
void expectRing(QWidget *list, QRgb border, QRgb inner)
{
    const QImage image = grabbed(list);
    const int r = image.width() - 1, b = image.height() - 1;
    for (const QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b), QPoint(r / 2, 0),
                           QPoint(0, b / 2), QPoint(r, b / 2), QPoint(r / 2, b)})
        EXPECT_EQ(image.pixel(p), border) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(1, 1), QPoint(r - 1, 1), QPoint(1, b - 1), QPoint(r / 2, 1),
                           QPoint(1, b / 2), QPoint(r - 1, b / 2), QPoint(r / 2, b - 1)})
        EXPECT_EQ(image.pixel(p), inner) << p.x() << "," << p.y();
}

// The list over a model looks and links its bars as the list of items does, through every
// change of its model.
TEST(ListBorder, ListOverAModelHasTheRingAndItsBarFollowsTheModel)
{
    auto host = shownHost();
    auto *view = new SkinnedListView(host.get());
    view->setUIStyle(TsuiUIStyle::WinXP);
    view->setGeometry(8, 8, 145, 113);
    auto *bar = new TsuiScrollBar(host.get());
    view->setVScrollBar(bar);
    QStringListModel rows;
    view->setModel(&rows);
    view->show();
    const QRgb base = view->palette().color(QPalette::Base).rgb();
    expectRing(view, WinXPBorder, base);

    QStringList texts;
    for (int i = 0; i < 60; ++i)
        texts << QStringLiteral("Запись_%1.amr").arg(i);
    rows.setStringList(texts);
    QTest::qWait(10);
    ASSERT_GT(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(bar->Max(), view->verticalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(20);
    expectRing(view, WinXPBorder, base);

    rows.setStringList({});
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 0)
        << "the rows gone, the list lays out at once";
    view->setUIStyle(TsuiUIStyle::MacOS);
    expectRing(view, BgrToQColor(8355711).rgb(), base);
}

class DemoFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(20); // the lists lay their items out
    }

    QScrollBar *ownV(QAbstractScrollArea *list) const { return list->verticalScrollBar(); }
    QScrollBar *ownH(QAbstractScrollArea *list) const { return list->horizontalScrollBar(); }

    ControlsDemoForm form;
};

TEST(ListBorder, RingAfterEveryPaintWithNoBarLinked)
{
    auto host = shownHost();
    auto *view = new TsuiListView(host.get());
    auto *box = new TsuiListBox(host.get());
    view->setUIStyle(TsuiUIStyle::WinXP);
    box->setUIStyle(TsuiUIStyle::WinXP);
    for (QListWidget *list : {static_cast<QListWidget *>(view), static_cast<QListWidget *>(box)}) {
        list->setGeometry(list == view ? 8 : 160, 8, 145, 113);
        list->show();
        const QRgb base = list->palette().color(QPalette::Base).rgb();
        expectRing(list, WinXPBorder, base);
        for (int i = 0; i < 60; ++i)
            list->addItem(QStringLiteral("Запись_%1.amr").arg(i));
        QTest::qWait(10);
        list->verticalScrollBar()->setValue(20);
        expectRing(list, WinXPBorder, base);
    }
}

TEST_F(DemoFormTest, StyleChangeRecoloursTheRingAndRestylesTheLinkedBars)
{
    form.ListView1->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(form.ListView1->BorderColor(), BgrToQColor(8355711));
    expectRing(form.ListView1, BgrToQColor(8355711).rgb(),
               form.ListView1->palette().color(QPalette::Base).rgb());
    for (TsuiScrollBar *bar : {form.VScrollBar1, form.HScrollBar1}) {
        EXPECT_EQ(bar->UIStyle(), TsuiUIStyle::MacOS);
        EXPECT_EQ(bar->Color(), BgrToQColor(13224393));
    }
    EXPECT_EQ(form.VScrollBar2->UIStyle(), TsuiUIStyle::WinXP);
    form.ListBox1->setUIStyle(TsuiUIStyle::DeepBlue);
    EXPECT_EQ(form.ListBox1->BorderColor(), BgrToQColor(0));
    EXPECT_EQ(form.VScrollBar2->UIStyle(), TsuiUIStyle::DeepBlue);
}

TEST_F(DemoFormTest, ThemeFileColoursTheRingAndTheListBoxHandsItToItsBar)
{
    auto *theme = new TsuiFileTheme(&form);
    ASSERT_TRUE(theme->loadThemeFile(QStringLiteral(VOCAFETCH_THEMES_DIR "/amber/amber.theme")));
    form.ListBox1->setUIStyle(TsuiUIStyle::FromThemeFile);
    form.ListBox1->setFileTheme(theme);
    EXPECT_EQ(form.ListBox1->BorderColor(),
              BgrToQColor(theme->ReadColor(StyleEntry::ControlBorderColor)));
    EXPECT_EQ(form.VScrollBar2->FileTheme(), theme);
    EXPECT_EQ(form.VScrollBar2->Color(),
              BgrToQColor(theme->ReadColor(StyleEntry::ScrollBarBackgroundColor)));
    delete theme;
    EXPECT_EQ(form.ListBox1->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(form.ListBox1->BorderColor(), BgrToQColor(StyleColor(TsuiUIStyle::DeepBlue, 25)));
}

TEST_F(DemoFormTest, LinkedBarsLieOverTheListsOwnBars)
{
    const QRect view = form.ListView1->geometry(), box = form.ListBox1->geometry();
    ASSERT_TRUE(form.VScrollBar1->isVisible());
    ASSERT_TRUE(form.HScrollBar1->isVisible());
    EXPECT_EQ(form.VScrollBar1->geometry(),
              QRect(view.right() - 1 - 16, view.top() + 1, 16, view.height() - 2 - 16));
    EXPECT_EQ(form.HScrollBar1->geometry(),
              QRect(view.left() + 1, view.bottom() - 1 - 16, view.width() - 2 - 16, 16));
    EXPECT_EQ(form.VScrollBar2->geometry(),
              QRect(box.right() - 1 - 16, box.top() + 1, 16, box.height() - 2));
    // Each covers the strip of the list's own bar.
    for (auto [list, bar] :
         {std::pair<QAbstractScrollArea *, TsuiScrollBar *>{form.ListView1, form.VScrollBar1},
          {form.ListBox1, form.VScrollBar2}}) {
        const QScrollBar *own = ownV(list);
        EXPECT_TRUE(bar->geometry().contains(own->mapTo(&form, own->rect().center())));
    }
    EXPECT_EQ(form.VScrollBar1->LineButton(), std::max(18, ThumbLength(ownV(form.ListView1))));
}

TEST_F(DemoFormTest, ScrollingTheListMovesTheBars)
{
    ownV(form.ListView1)->setValue(7);
    EXPECT_EQ(form.VScrollBar1->Position(), 7);
    EXPECT_EQ(form.VScrollBar1->Max(), ownV(form.ListView1)->maximum());
    form.ListBox1->setFocus();
    QTest::keyClick(form.ListBox1, Qt::Key_End);
    EXPECT_EQ(form.VScrollBar2->Position(), ownV(form.ListBox1)->maximum());
    ownH(form.ListView1)->setValue(30);
    EXPECT_EQ(form.HScrollBar1->Position(), 30);
}

TEST_F(DemoFormTest, MovingTheBarsScrollsTheLists)
{
    // The list view scrolls by the bar's change: a held arrow steps 5 on each repeat tick.
    for (TsuiImageButton *down :
         {form.VScrollBar1->increaseButton(), form.HScrollBar1->increaseButton()}) {
        QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
        ASSERT_TRUE(repeatTick(down));
        QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
    }
    EXPECT_EQ(ownV(form.ListView1)->value(), 5);
    EXPECT_EQ(form.VScrollBar1->Position(), 5);
    EXPECT_EQ(ownH(form.ListView1)->value(), 5);

    // The list box scrolls to the bar's position: drag its slider to the far end.
    TsuiScrollTrackBar *track = form.VScrollBar2->track();
    QTest::mousePress(track, Qt::LeftButton, {}, track->sliderGeometry().center());
    QTest::mouseMove(track, QPoint(8, track->height() + 50));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(8, track->height() + 50));
    EXPECT_EQ(ownV(form.ListBox1)->value(), ownV(form.ListBox1)->maximum());
    EXPECT_GT(ownV(form.ListBox1)->value(), 0);
}

TEST_F(DemoFormTest, RelinkingReleasesThePreviousBar)
{
    auto *other = new TsuiScrollBar(&form);
    TsuiScrollBar *old = form.VScrollBar1;
    ASSERT_GT(old->LineButton(), 0);
    old->setEnabled(false);
    form.ListView1->setVScrollBar(other);
    EXPECT_EQ(form.ListView1->VScrollBar(), other);
    EXPECT_TRUE(old->isEnabled());
    EXPECT_EQ(old->LineButton(), 0);
    EXPECT_EQ(old->Max(), 100);
    old->setPosition(20);
    EXPECT_EQ(ownV(form.ListView1)->value(), 0);
    EXPECT_EQ(other->Orientation(), TsuiScrollBar::suiVertical);
    EXPECT_EQ(other->SmallChange(), 5);
    ownV(form.ListView1)->setValue(4);
    EXPECT_EQ(other->Position(), 4);
    delete other; // a destroyed bar is forgotten
    EXPECT_EQ(form.ListView1->VScrollBar(), nullptr);
    ownV(form.ListView1)->setValue(6);
}

TEST_F(DemoFormTest, BarOfAListWithNothingToScrollIsHiddenAndDisabled)
{
    form.ListBox1->clear();
    form.ListBox1->addItem(QStringLiteral("Одна строка"));
    EXPECT_TRUE(form.VScrollBar2->isHidden());
    EXPECT_FALSE(form.VScrollBar2->isEnabled());
    EXPECT_EQ(form.VScrollBar2->LineButton(), 0);
    for (int i = 0; i < 40; ++i)
        form.ListBox1->addItem(QStringLiteral("Строка"));
    EXPECT_FALSE(form.VScrollBar2->isHidden());
    EXPECT_TRUE(form.VScrollBar2->isEnabled());
}

} // namespace
