// Title-bar layout, caption shortening, edge hit tests and the window region, on plain numbers.
#include "skin/chrome/TsuiTitleBarLayout.h"
#include "skin/chrome/WindowRegion.h"

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

// The main window's bar: 311 wide, 29 high, left and right pictures of 35, stretched middle.
QVector<TitleSectionSpec> mainWindowSections()
{
    return {{TsuiTitleBarAlign::suiLeft, 35, false},
            {TsuiTitleBarAlign::suiRight, 35, false},
            {TsuiTitleBarAlign::suiClient, 10, true}};
}

// Control box, close and minimise, 21 x 21 at top 5.
QVector<TitleButtonSpec> mainWindowButtons()
{
    return {{TsuiTitleBarBtnType::suiControlBox, true, 5, QSize(21, 21)},
            {TsuiTitleBarBtnType::suiClose, true, 5, QSize(21, 21)},
            {TsuiTitleBarBtnType::suiMin, true, 5, QSize(21, 21)}};
}

// Every character 7 pixels wide.
int fixedWidth(const QString &text)
{
    return 7 * int(text.size());
}

} // namespace

TEST(TitleSections, MainWindowPlacesLeftRightAndStretchedMiddle)
{
    const auto placed = LayoutTitleSections(mainWindowSections(), 311, 29);
    ASSERT_EQ(placed.size(), 3);
    EXPECT_EQ(placed[0].target, QRect(0, 0, 35, 29));
    EXPECT_EQ(placed[1].target, QRect(276, 0, 35, 29));
    EXPECT_EQ(placed[1].target.right(), 310);
    // The middle is painted last, between the two ends.
    EXPECT_EQ(placed[2].section, 2);
    EXPECT_EQ(placed[2].target, QRect(35, 0, 241, 29));
    EXPECT_TRUE(placed[2].stretch);
}

TEST(TitleSections, RightSectionWithoutRoomIsSkipped)
{
    const auto placed = LayoutTitleSections(mainWindowSections(), 60, 29);
    ASSERT_EQ(placed.size(), 2);
    EXPECT_EQ(placed[0].section, 0);
    EXPECT_EQ(placed[1].section, 2);
    EXPECT_EQ(placed[1].target.left(), 35);
    EXPECT_EQ(placed[1].target.right(), 59);
}

TEST(TitleButtons, MainWindowButtonsAndCaptionRoom)
{
    const TitleButtonLayout layout = LayoutTitleButtons(mainWindowButtons(), 311, 2, -2, 0, false);
    EXPECT_EQ(layout.controlBox, 0);
    EXPECT_EQ(layout.rects[0], QRect(2, 5, 21, 21));
    EXPECT_EQ(layout.rects[1], QRect(288, 5, 21, 21));
    EXPECT_EQ(layout.rects[2], QRect(266, 5, 21, 21));
    EXPECT_EQ(layout.captionLeft, 28);
    EXPECT_EQ(layout.captionRight - layout.captionLeft, 238);
}

TEST(TitleButtons, IntervalAppIconHiddenButtonsAndNoControlBox)
{
    auto buttons = mainWindowButtons();
    TitleButtonLayout layout = LayoutTitleButtons(buttons, 311, 2, -2, 4, true);
    EXPECT_EQ(layout.rects[1].left(), 284);
    EXPECT_EQ(layout.rects[2].left(), 258);
    EXPECT_EQ(layout.captionLeft, 23); // 21 after the left offset with the program icon

    buttons[0].visible = false;
    buttons[2].visible = false;
    layout = LayoutTitleButtons(buttons, 311, 0, 0, 0, false);
    EXPECT_EQ(layout.controlBox, -1);
    EXPECT_TRUE(layout.rects[0].isNull());
    EXPECT_TRUE(layout.rects[2].isNull());
    EXPECT_EQ(layout.captionLeft, 6);
    EXPECT_EQ(layout.captionRight, 290);
}

TEST(TitleButtons, HitTestIncludesAllFourEdges)
{
    const TitleButtonLayout layout = LayoutTitleButtons(mainWindowButtons(), 311, 2, -2, 0, false);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(288, 5)), 1);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(309, 26)), 1);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(310, 15)), -1);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(300, 4)), -1);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(270, 27)), -1);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(2, 5)), 0);
    EXPECT_EQ(TitleButtonAt(layout, QPoint(150, 15)), -1);
}

TEST(TitleCaption, ShortenedWithDotsOnlyWhenItDoesNotFit)
{
    EXPECT_EQ(FitTitleCaption(QStringLiteral("Vocafetch"), 63, fixedWidth),
              QStringLiteral("Vocafetch"));
    // 62 pixels: "Vocafetch" (63) does not fit, nor "Vocafe..." (63); "Vocaf..." (56) does.
    EXPECT_EQ(FitTitleCaption(QStringLiteral("Vocafetch"), 62, fixedWidth),
              QStringLiteral("Vocaf..."));
    EXPECT_EQ(FitTitleCaption(QStringLiteral("Vocafetch"), 30, fixedWidth), QStringLiteral("V..."));
    for (int room : {28, 27}) {
        const QString shown = FitTitleCaption(QStringLiteral("Vocafetch"), room, fixedWidth);
        EXPECT_LE(fixedWidth(shown), std::max(room, 21));
    }
    // Not even "..." fits: "..." alone.
    EXPECT_EQ(FitTitleCaption(QStringLiteral("Vocafetch"), 5, fixedWidth), QStringLiteral("..."));
}

TEST(FrameEdges, CornersFirstThenEdges)
{
    const QSize client(317, 272);
    EXPECT_EQ(FrameEdgesAt(QPoint(2, 2), client), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(315, 1), client), Qt::RightEdge | Qt::TopEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(316, 271), client), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(0, 270), client), Qt::LeftEdge | Qt::BottomEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(4, 100), client), Qt::LeftEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(5, 100), client), Qt::Edges());
    EXPECT_EQ(FrameEdgesAt(QPoint(313, 100), client), Qt::RightEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(312, 100), client), Qt::Edges());
    EXPECT_EQ(FrameEdgesAt(QPoint(100, 268), client), Qt::BottomEdge);
    EXPECT_EQ(FrameEdgesAt(QPoint(100, 4), client), Qt::TopEdge);

    EXPECT_EQ(TitleBarEdgesAt(QPoint(4, 4), 317), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(TitleBarEdgesAt(QPoint(313, 0), 317), Qt::TopEdge | Qt::RightEdge);
    EXPECT_EQ(TitleBarEdgesAt(QPoint(100, 4), 317), Qt::TopEdge);
    EXPECT_EQ(TitleBarEdgesAt(QPoint(100, 5), 317), Qt::Edges());
}

TEST(WindowRegionShape, TopCornersCutAlongTheEllipseBottomSquare)
{
    const QRegion region = WindowRegion(QSize(317, 272), 13);
    // Outside the 13 x 13 corner ellipse at the top.
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 0), QPoint(1, 1), QPoint(0, 2), QPoint(316, 0),
                           QPoint(313, 0), QPoint(315, 1), QPoint(316, 2)})
        EXPECT_FALSE(region.contains(p)) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(4, 0), QPoint(312, 0), QPoint(2, 2), QPoint(0, 4), QPoint(316, 4),
                           QPoint(6, 6), QPoint(158, 0)})
        EXPECT_TRUE(region.contains(p)) << p.x() << "," << p.y();
    // Bottom corners stay square; the region is no larger than the window.
    for (const QPoint p : {QPoint(0, 271), QPoint(316, 271), QPoint(0, 100)})
        EXPECT_TRUE(region.contains(p));
    EXPECT_FALSE(region.contains(QPoint(317, 100)));
    EXPECT_FALSE(region.contains(QPoint(100, 272)));
    // Symmetric left and right.
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(region.contains(QPoint(x, y)), region.contains(QPoint(316 - x, y)));
    }
}

TEST(WindowRegionShape, ZeroCornerGivesTheWholeRectangle)
{
    EXPECT_EQ(WindowRegion(QSize(317, 272), 0), QRegion(0, 0, 317, 272));
    EXPECT_EQ(WindowRegion(QSize(317, 272), 1), QRegion(0, 0, 317, 272));
    EXPECT_TRUE(WindowRegion(QSize(0, 10), 13).isEmpty());
    // A corner larger than the window stays inside it.
    const QRegion tiny = WindowRegion(QSize(8, 3), 13);
    EXPECT_TRUE(QRegion(0, 0, 8, 3).contains(tiny.boundingRect()));
}
