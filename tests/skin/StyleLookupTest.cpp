// Built-in look-ups, their defaults, bitmap loading and frame cutting.
#include "skin/style/StyleLookup.h"

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

using S = TsuiUIStyle;

// A w x 2 image whose column x has the colour (x, 0, 0), so frames can be told apart.
QImage columns(int w)
{
    QImage img(w, 2, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < 2; ++y)
            img.setPixel(x, y, qRgb(x, 0, 0));
    return img;
}

QImage filled(QSize size, QRgb colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

} // namespace

TEST(StyleLookup, AnswersOfTheWinXpAndBlueGlassTables)
{
    EXPECT_EQ(StyleColor(S::WinXP, 16), 13118464u);
    EXPECT_EQ(StyleInt(S::WinXP, 17), 3);
    EXPECT_EQ(StyleInt(S::WinXP, 8), -2);
    EXPECT_FALSE(StyleBool(S::WinXP, 6));
    EXPECT_TRUE(StyleBool(S::BlueGlass, 6));
    EXPECT_TRUE(StyleBool(S::MacOS, 2));
}

TEST(StyleLookup, KindMismatchesGiveTheDefaults)
{
    EXPECT_EQ(StyleInt(S::WinXP, 16), -1);   // a colour entry
    EXPECT_EQ(StyleColor(S::WinXP, 17), 0u); // an integer entry
    EXPECT_EQ(StyleColor(S::WinXP, 5), 0u);  // a bitmap entry
    EXPECT_FALSE(StyleBool(S::WinXP, 13));   // an integer entry, though non-zero
    EXPECT_EQ(StyleInt(S::WinXP, 2), -1);    // a Boolean entry
    EXPECT_TRUE(StyleBitmapName(S::WinXP, 16).isEmpty());
}

TEST(StyleLookup, StylesWithoutATableAndEntriesOutOfRangeGiveTheDefaults)
{
    EXPECT_EQ(StyleInt(S::FromThemeFile, 14), -1);
    EXPECT_EQ(StyleColor(S::FromThemeFile, 15), 0u);
    EXPECT_FALSE(StyleBool(S::FromThemeFile, 2));
    EXPECT_EQ(StyleInt(static_cast<S>(6), 17), -1);
    EXPECT_EQ(StyleInt(static_cast<S>(0x7F), 17), -1);
    // Entry numbers outside 1..42 are not read from beyond the table.
    EXPECT_EQ(StyleInt(S::WinXP, 0), -1);
    EXPECT_EQ(StyleInt(S::WinXP, 43), -1);
    EXPECT_EQ(StyleColor(S::WinXP, -5), 0u);
}

TEST(StyleLookup, OnlyTheLowSevenBitsOfTheStyleCount)
{
    EXPECT_EQ(StyleColor(static_cast<S>(0x82), 16), 13118464u);
    EXPECT_EQ(StyleInt(static_cast<S>(0x81), 13), 130);
    EXPECT_EQ(StyleInt(static_cast<S>(0x80), 17), -1);
}

TEST(StyleLookup, BgrValuesBecomeQColors)
{
    EXPECT_EQ(BgrToQColor(13118464), QColor(0x00, 0x2C, 0xC8));
    EXPECT_EQ(BgrToQColor(0x00EFD3C6), QColor(0xC6, 0xD3, 0xEF));
    EXPECT_EQ(BgrToQColor(0), QColor(0, 0, 0));
    EXPECT_EQ(BgrToQColor(0xFF000005), QColor(255, 255, 255)); // window background
    EXPECT_EQ(BgrToQColor(0xFFFFFFFF).alpha(), 0);             // no such system colour
    EXPECT_EQ(QColorToBgr(QColor(0x00, 0x2C, 0xC8)), 13118464u);
}

TEST(CutFrame, CutsEqualWidthFramesAndDropsTheRemainder)
{
    QImage frame;
    CutFrame(columns(10), &frame, 3, 3);
    ASSERT_EQ(frame.size(), QSize(3, 2));
    EXPECT_EQ(qRed(frame.pixel(0, 0)), 6);
    EXPECT_EQ(qRed(frame.pixel(2, 1)), 8); // column 9 is never used

    CutFrame(columns(255), &frame, 17, 1);
    EXPECT_EQ(frame.width(), 15);
    EXPECT_EQ(qRed(frame.pixel(0, 0)), 0);
}

TEST(CutFrame, NothingToCutLeavesTheTargetEmpty)
{
    QImage frame = filled({5, 5}, qRgb(1, 2, 3));
    CutFrame(QImage(), &frame, 3, 1);
    EXPECT_TRUE(frame.isNull());

    for (auto [n, k] : {std::pair{3, 0}, {3, 4}, {0, 1}, {11, 1}}) {
        frame = filled({5, 5}, qRgb(1, 2, 3));
        CutFrame(columns(10), &frame, n, k);
        EXPECT_TRUE(frame.isNull()) << n << " frames, frame " << k;
    }
    CutFrame(columns(10), nullptr, 3, 1); // no target: nothing happens
}

TEST(LoadStyleBitmap, FrameOfTheTitleButtonStrip)
{
    const QImage strip = LoadSkinResource(QStringLiteral("WINXP_TITLEBTN"));
    ASSERT_EQ(strip.size(), QSize(378, 21));
    QImage pressedClose;
    LoadStyleBitmap(S::WinXP, 5, &pressedClose, 18, 17);
    ASSERT_EQ(pressedClose.size(), QSize(21, 21));
    EXPECT_EQ(pressedClose, strip.copy(336, 0, 21, 21));
}

TEST(LoadStyleBitmap, WholeBitmaps)
{
    QImage b;
    LoadStyleBitmap(S::WinXP, 10, &b, 0, 0);
    EXPECT_EQ(b.size(), QSize(35, 29));
    EXPECT_EQ(b, LoadSkinResource(QStringLiteral("WINXP_TITLE_LEFT")));
    LoadStyleBitmap(S::DeepBlue, 38, &b, 0, 0);
    EXPECT_EQ(b, LoadSkinResource(QStringLiteral("MORE_SCROLLBUTTON")));
    LoadStyleBitmap(S::WinXP, 1, nullptr, 3, 1); // no target: nothing happens
}

TEST(LoadStyleBitmap, NoBitmapEntryLeavesTargetUnchangedOrEmptyForFrames)
{
    const QImage before = filled({4, 4}, qRgb(9, 9, 9));
    QImage b = before;
    LoadStyleBitmap(S::WinXP, 16, &b, 0, 0); // a colour entry
    EXPECT_EQ(b, before);
    LoadStyleBitmap(S::FromThemeFile, 5, &b, 0, 0);
    EXPECT_EQ(b, before);
    LoadStyleBitmap(S::FromThemeFile, 5, &b, 18, 1);
    EXPECT_TRUE(b.isNull());
}

TEST(MakeColorTransparent, ClearsExactlyTheKeyColour)
{
    QImage img = filled({3, 1}, qRgb(255, 0, 255));
    img.setPixel(1, 0, qRgb(254, 0, 255));
    const QImage out = MakeColorTransparent(img, SkinMaskColor);
    ASSERT_EQ(out.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
    EXPECT_EQ(out.pixel(1, 0), qRgba(254, 0, 255, 255));
    EXPECT_EQ(qAlpha(out.pixel(2, 0)), 0);
    EXPECT_TRUE(MakeColorTransparent(QImage(), SkinMaskColor).isNull());
}
