// The arithmetic of the skinned controls on plain numbers: nine-slice pieces, glyph layouts,
// slider length, placement and values, linked bar placement and mirrored ranges, rotations.

#include "skin/controls/ScrollMath.h"
#include "skin/controls/TsuiButtonLayout.h"
#include "skin/controls/TsuiScrollBarPictures.h"
#include "skin/style/NineSlice.h"

#include <QPainter>
#include <climits>
#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

using P = NineSlicePiece;

// A face whose every pixel names its own coordinates.
QImage coordinateFace(int w, int h)
{
    QImage face(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            face.setPixel(x, y, qRgb(x * 10, y * 10, 100));
    return face;
}

QRgb at(int x, int y)
{
    return qRgb(x * 10, y * 10, 100);
}

TEST(NineSlice, WindowButtonPiecesOfAnEighteenByTwentyOneFace)
{
    const auto pieces = NineSlicePieces(18, 21, 145, 27);
    EXPECT_EQ(pieces[P::TopLeft].target, (EdgeRect{0, 0, 9, 10}));
    EXPECT_EQ(pieces[P::BottomLeft].target, (EdgeRect{0, 18, 9, 27}));
    EXPECT_EQ(pieces[P::TopRight].target, (EdgeRect{137, 0, 145, 10}));
    EXPECT_EQ(pieces[P::BottomRight].target, (EdgeRect{137, 18, 145, 27}));
    EXPECT_EQ(pieces[P::BottomEdge].target, (EdgeRect{8, 17, 137, 27}));
    // The edges repeat single rows and columns of the face.
    EXPECT_EQ(pieces[P::LeftEdge].source, (EdgeRect{0, 10, 9, 11}));
    EXPECT_EQ(pieces[P::RightEdge].source, (EdgeRect{10, 11, 18, 12}));
    EXPECT_EQ(pieces[P::TopEdge].source, (EdgeRect{9, 0, 10, 10}));
    EXPECT_EQ(pieces[P::Centre].source, (EdgeRect{9, 10, 10, 11}));
    EXPECT_EQ(pieces[P::BottomEdge].source, (EdgeRect{9, 11, 10, 21}));
    EXPECT_EQ(pieces[P::Centre].target, (EdgeRect{9, 10, 137, 17}));
}

TEST(NineSlice, SmallTargetsClipCornersToTheirRoomAndSkipEmptyPieces)
{
    const auto pieces = NineSlicePieces(18, 21, 10, 8);
    // Room for the top-left corner is 5 x 4: the face keeps its top-left part.
    EXPECT_EQ(pieces[P::TopLeft].source, (EdgeRect{0, 0, 5, 4}));
    EXPECT_EQ(pieces[P::TopLeft].target, (EdgeRect{0, 0, 5, 4}));
    // The bottom-right corner keeps the face's bottom-right part and sits in the far corner.
    EXPECT_EQ(pieces[P::BottomRight].source, (EdgeRect{14, 18, 18, 21}));
    EXPECT_EQ(pieces[P::BottomRight].target, (EdgeRect{6, 5, 10, 8}));
    // No room at all: no corner is drawn.
    const auto none = NineSlicePieces(18, 21, 0, 0);
    for (const auto kind : {P::TopLeft, P::BottomLeft, P::TopRight, P::BottomRight})
        EXPECT_FALSE(none[kind].isDrawn()) << kind;
}

TEST(NineSlice, DrawsEachPieceFromItsPartOfTheFace)
{
    QImage target(145, 27, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
        QPainter painter(&target);
        DrawNineSlice(&painter, coordinateFace(18, 21), 145, 27, false);
    }
    EXPECT_EQ(target.pixel(3, 4), at(3, 4));      // top-left corner, unscaled
    EXPECT_EQ(target.pixel(2, 25), at(2, 19));    // bottom-left corner
    EXPECT_EQ(target.pixel(140, 2), at(13, 2));   // top-right corner
    EXPECT_EQ(target.pixel(144, 26), at(17, 20)); // bottom-right corner
    EXPECT_EQ(target.pixel(4, 14), at(4, 10));    // left edge repeats row 10
    EXPECT_EQ(target.pixel(141, 14), at(14, 11)); // right edge repeats row 11
    EXPECT_EQ(target.pixel(70, 3), at(9, 3));     // top edge repeats column 9
    EXPECT_EQ(target.pixel(70, 12), at(9, 10));   // centre
    EXPECT_EQ(target.pixel(70, 26), at(9, 20));   // bottom edge, rows 11..20 of column 9
    EXPECT_EQ(target.pixel(8, 17), at(9, 11));    // it overlaps the left corner's last column
}

TEST(NineSlice, MagentaShowsThroughEdgesAlwaysAndCornersOnlyWhenTransparent)
{
    QImage face = coordinateFace(18, 21);
    face.setPixel(0, 0, qRgb(255, 0, 255)); // in a corner
    face.setPixel(9, 3, qRgb(255, 0, 255)); // in the top edge's column
    for (const bool transparent : {false, true}) {
        QImage target(145, 27, QImage::Format_RGB32);
        target.fill(Qt::black);
        {
            QPainter painter(&target);
            DrawNineSlice(&painter, face, 145, 27, transparent);
        }
        EXPECT_EQ(target.pixel(70, 3), qRgb(0, 0, 0));
        EXPECT_EQ(target.pixel(0, 0), transparent ? qRgb(0, 0, 0) : qRgb(255, 0, 255));
    }
}

TEST(GlyphLayout, FourArrangementsOnTheWindowButton)
{
    const QSize button(145, 27), text(60, 13), glyph(16, 16);
    GlyphPlacement p = PlaceGlyph(TsuiButtonLayouts::blGlyphLeft, button, text, glyph, 4);
    EXPECT_EQ(p.glyph, QPoint((145 - (60 + 20)) / 2, 5));
    EXPECT_EQ(p.caption, QPoint(p.glyph.x() + 20, 7));
    p = PlaceGlyph(TsuiButtonLayouts::blGlyphRight, button, text, glyph, 4);
    EXPECT_EQ(p.glyph, QPoint(96, 5));
    EXPECT_EQ(p.caption, QPoint(32, 7));
    p = PlaceGlyph(TsuiButtonLayouts::blGlyphTop, button, QSize(60, 14), glyph, 4);
    EXPECT_EQ(p.glyph, QPoint(64, -3)); // -7 / 2 truncates toward zero
    EXPECT_EQ(p.caption, QPoint(42, 17));
    p = PlaceGlyph(TsuiButtonLayouts::blGlyphBottom, button, text, glyph, 4);
    EXPECT_EQ(p.glyph, QPoint(64, 14));
    EXPECT_EQ(p.caption, QPoint(42, -3));
}

TEST(GlyphLayout, AGlyphTwiceAsWideAsHighIsTwoImages)
{
    const GlyphPlacement two =
        PlaceGlyph(TsuiButtonLayouts::blGlyphLeft, QSize(145, 27), QSize(60, 13), QSize(32, 16), 4);
    EXPECT_TRUE(two.twoImages);
    EXPECT_EQ(two.glyphWidth, 16);
    EXPECT_EQ(two.glyph.x(), 32);
    const GlyphPlacement one =
        PlaceGlyph(TsuiButtonLayouts::blGlyphLeft, QSize(145, 27), QSize(60, 13), QSize(30, 16), 4);
    EXPECT_FALSE(one.twoImages);
    EXPECT_EQ(one.glyphWidth, 30);
}

TEST(ScrollMath, RoundsHalvesToEven)
{
    EXPECT_EQ(ScrollMath::RoundHalfEven(5, 2), 2);
    EXPECT_EQ(ScrollMath::RoundHalfEven(7, 2), 4);
    EXPECT_EQ(ScrollMath::RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(ScrollMath::RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(ScrollMath::RoundHalfEven(2, 3), 1);
    EXPECT_EQ(ScrollMath::RoundHalfEven(-2, 3), -1);
    EXPECT_EQ(ScrollMath::RoundHalfEven(1, 3), 0);
}

TEST(ScrollMath, ValueUnderAPixelCentresTheSliderThere)
{
    // Track 100, slider 20: 80 pixels of travel for the values 0..10.
    EXPECT_EQ(ScrollMath::ValueAtPixel(50, 0, 10, 100, 20), 5);
    EXPECT_EQ(ScrollMath::ValueAtPixel(14, 0, 10, 100, 20), 0); // 0.5
    EXPECT_EQ(ScrollMath::ValueAtPixel(22, 0, 10, 100, 20), 2); // 1.5
    EXPECT_EQ(ScrollMath::ValueAtPixel(30, 0, 10, 100, 20), 2); // 2.5
    EXPECT_EQ(ScrollMath::ValueAtPixel(30, 5, 15, 100, 20), 7);
    EXPECT_EQ(ScrollMath::ValueAtPixel(0, 0, 10, 100, 20), -1); // clamped by the track
    EXPECT_EQ(ScrollMath::ValueAtPixel(40, 3, 10, 20, 20), 0);  // slider fills the track
    EXPECT_EQ(ScrollMath::ValueAtPixel(5000, 0, INT_MAX, 30, 20), INT_MAX); // no wrap-around
}

TEST(ScrollMath, SliderPlacementAlongAndAcross)
{
    EXPECT_EQ(ScrollMath::SliderOffset(50, 0, 100, 200, 20), 90);
    EXPECT_EQ(ScrollMath::SliderOffset(100, 0, 100, 200, 20), 180);
    EXPECT_EQ(ScrollMath::SliderOffset(7, 7, 7, 200, 20), 0);
    EXPECT_EQ(ScrollMath::SliderAcross(17, 16), 0);
    EXPECT_EQ(ScrollMath::SliderAcross(20, 16), 2);
    EXPECT_EQ(ScrollMath::SliderAcross(10, 16), 0);
}

TEST(ScrollMath, SliderLengthFromLineButtonOrPageSize)
{
    EXPECT_EQ(ScrollMath::SliderLength(0, 50, 200), 100);
    EXPECT_EQ(ScrollMath::SliderLength(0, 33, 150), 49);
    EXPECT_EQ(ScrollMath::SliderLength(0, 5, 200), 20);   // below 10: 10 %
    EXPECT_EQ(ScrollMath::SliderLength(0, 101, 200), 20); // above 100: 10 %
    EXPECT_EQ(ScrollMath::SliderLength(5, 50, 200), 18);  // a short thumb is raised
    EXPECT_EQ(ScrollMath::SliderLength(30, 50, 200), 30);
}

TEST(ScrollMath, PageStepsStopAtTheClickedValue)
{
    EXPECT_EQ(ScrollMath::PageStepTowards(10, 5, 40, true), 15);
    EXPECT_EQ(ScrollMath::PageStepTowards(10, 5, 12, true), 12);
    EXPECT_EQ(ScrollMath::PageStepTowards(10, 5, 0, false), 5);
    EXPECT_EQ(ScrollMath::PageStepTowards(10, 5, 8, false), 8);
}

TEST(ScrollMath, MirroredMaxIsTheLastPageStart)
{
    const ScrollMath::MirroredRange r = ScrollMath::MirrorRange({0, 99, 10, 42});
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 90);
    EXPECT_EQ(r.position, 42);
}

TEST(ScrollMath, LinkedBarsCoverTheListsEdges)
{
    const QRect list(10, 20, 145, 113);
    EXPECT_EQ(ScrollMath::PlaceListViewVerticalBar(list, QRect(0, 0, 16, 50), false, 0),
              QRect(137, 21, 16, 111));
    EXPECT_EQ(ScrollMath::PlaceListViewVerticalBar(list, QRect(0, 0, 16, 50), true, 17),
              QRect(137, 21, 16, 94));
    EXPECT_EQ(ScrollMath::PlaceListViewHorizontalBar(list, QRect(0, 0, 50, 17), true, 16),
              QRect(11, 114, 127, 17));
    EXPECT_EQ(ScrollMath::PlaceListBoxVerticalBar(list, QRect(0, 0, 16, 50)),
              QRect(137, 21, 16, 111));
    // A list thinner than the bar only lines the bar up with it.
    EXPECT_EQ(
        ScrollMath::PlaceListViewVerticalBar(QRect(5, 6, 10, 40), QRect(1, 2, 16, 50), false, 0),
        QRect(5, 2, 16, 50));
    EXPECT_EQ(
        ScrollMath::PlaceListViewHorizontalBar(QRect(5, 6, 40, 10), QRect(1, 2, 50, 17), false, 0),
        QRect(1, 6, 50, 17));
}

TEST(ScrollBarPictures, QuarterTurnsMovePixelsAsDescribed)
{
    const QImage src = coordinateFace(3, 2);
    const QImage ccw = RotatedCounterClockwise(src);
    ASSERT_EQ(ccw.size(), QSize(2, 3));
    EXPECT_EQ(ccw.pixel(1, 3 - 1 - 2), src.pixel(2, 1)); // (x, y) -> (y, w - 1 - x)
    EXPECT_EQ(ccw.pixel(0, 2), src.pixel(0, 0));
    const QImage cw = RotatedClockwise(src);
    ASSERT_EQ(cw.size(), QSize(2, 3));
    EXPECT_EQ(cw.pixel(2 - 1 - 1, 2), src.pixel(2, 1)); // (x, y) -> (h - 1 - y, x)
    EXPECT_EQ(cw.pixel(1, 0), src.pixel(0, 0));
}

TEST(ScrollBarPictures, SliderHasItsCapsAtBothEndsAndTheMiddleStretched)
{
    QImage start(7, 16, QImage::Format_RGB32), middle(7, 16, QImage::Format_RGB32),
        end(7, 16, QImage::Format_RGB32);
    start.fill(Qt::red);
    middle.fill(Qt::green);
    end.fill(Qt::blue);
    const QImage slider = ComposeSlider(start, middle, end, 40, Qt::Horizontal);
    ASSERT_EQ(slider.size(), QSize(40, 16));
    EXPECT_EQ(slider.pixel(6, 8), QColor(Qt::red).rgb());
    EXPECT_EQ(slider.pixel(7, 8), QColor(Qt::green).rgb());
    EXPECT_EQ(slider.pixel(32, 8), QColor(Qt::green).rgb());
    EXPECT_EQ(slider.pixel(33, 8), QColor(Qt::blue).rgb());
    EXPECT_TRUE(ComposeSlider(start, middle, end, 0, Qt::Horizontal).isNull());
}

} // namespace
