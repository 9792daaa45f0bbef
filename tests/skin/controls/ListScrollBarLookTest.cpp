// The skinned lists' own scroll bars keep Qt's behaviour and geometry and are painted from the
// list style's scroll-bar artwork.

#include "ControlsTestSupport.h"
#include "skin/controls/SkinnedListView.h"
#include "skin/controls/SkinnedScrollBarStyle.h"
#include "skin/controls/TsuiListBox.h"
#include "skin/controls/TsuiScrollBarPictures.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/TsuiUIStyle.h"

#include <QScrollBar>
#include <QStringListModel>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

using namespace vocafetch;
using namespace controlstest;

namespace {

QRect partOf(const QScrollBar *bar, QStyle::SubControl part)
{
    return ScrollBarPart(bar, part);
}

QImage shownAs(const QImage &picture, const QSize &size)
{
    return ScaledScrollBarPicture(picture, size).convertToFormat(QImage::Format_RGB32);
}

struct ListWithRows
{
    std::unique_ptr<QWidget> host = shownHost();
    SkinnedListView *view = new SkinnedListView(host.get());
    QStringListModel rows;

    ListWithRows()
    {
        view->setUIStyle(TsuiUIStyle::WinXP);
        view->setGeometry(8, 8, 145, 113);
        QStringList texts;
        for (int i = 0; i < 60; ++i)
            texts << QStringLiteral("Запись_%1.amr with a long tail of text").arg(i);
        rows.setStringList(texts);
        view->setModel(&rows);
        view->show();
        QTest::qWait(10);
    }
};

} // namespace

TEST(ListScrollBarLook, BarsArePaintedFromTheListStylesArtwork)
{
    ListWithRows list;
    QScrollBar *bar = list.view->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const ScrollBarArtwork art = LoadScrollBarArtwork(TsuiUIStyle::WinXP, nullptr, Qt::Vertical);
    ASSERT_EQ(art.track, BgrToQColor(16382457));

    const QImage shot = grabbed(bar);
    const QRect up = partOf(bar, QStyle::SC_ScrollBarSubLine);
    const QRect down = partOf(bar, QStyle::SC_ScrollBarAddLine);
    const QRect slider = partOf(bar, QStyle::SC_ScrollBarSlider);
    EXPECT_EQ(shot.copy(up), shownAs(art.arrows[0], up.size()));
    EXPECT_EQ(shot.copy(down), shownAs(art.arrows[3], down.size()));
    // The track between the slider and the lower arrow has the style's track colour.
    const QRect below = partOf(bar, QStyle::SC_ScrollBarAddPage);
    ASSERT_FALSE(below.isEmpty());
    EXPECT_EQ(shot.pixelColor(below.center()), art.track);
    const QImage thumb = ComposeSlider(art.sliderStart, art.sliderMiddle, art.sliderEnd,
                                       slider.height(), Qt::Vertical);
    EXPECT_EQ(shot.copy(slider), shownAs(thumb, slider.size()));
}

// A pressed arrow shows its pressed picture while it scrolls the list as before.
TEST(ListScrollBarLook, PressedArrowShowsItsPressedPicture)
{
    ListWithRows list;
    QScrollBar *bar = list.view->verticalScrollBar();
    const ScrollBarArtwork art = LoadScrollBarArtwork(TsuiUIStyle::WinXP, nullptr, Qt::Vertical);
    const QRect down = partOf(bar, QStyle::SC_ScrollBarAddLine);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, down.center());
    EXPECT_EQ(grabbed(bar).copy(down), shownAs(art.arrows[5], down.size()));
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, down.center());
    EXPECT_NE(grabbed(bar).copy(down), shownAs(art.arrows[5], down.size()));
}

// Another style gives the bars that style's artwork; a horizontal bar has it turned.
TEST(ListScrollBarLook, BarsFollowTheListsStyleAndOrientation)
{
    ListWithRows list;
    list.view->setUIStyle(TsuiUIStyle::MacOS);
    const ScrollBarArtwork mac = LoadScrollBarArtwork(TsuiUIStyle::MacOS, nullptr, Qt::Vertical);
    ASSERT_NE(mac.track, LoadScrollBarArtwork(TsuiUIStyle::WinXP, nullptr, Qt::Vertical).track);
    QScrollBar *vertical = list.view->verticalScrollBar();
    const QRect up = partOf(vertical, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(grabbed(vertical).copy(up), shownAs(mac.arrows[0], up.size()));
    EXPECT_EQ(grabbed(vertical).pixelColor(partOf(vertical, QStyle::SC_ScrollBarAddPage).center()),
              mac.track);

    QScrollBar *horizontal = list.view->horizontalScrollBar();
    ASSERT_TRUE(horizontal->isVisible()) << "rows wider than the list";
    const ScrollBarArtwork turned =
        LoadScrollBarArtwork(TsuiUIStyle::MacOS, nullptr, Qt::Horizontal);
    const QRect left = partOf(horizontal, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(grabbed(horizontal).copy(left), shownAs(turned.arrows[0], left.size()));
    EXPECT_NE(turned.arrows[0], mac.arrows[0]);
}
