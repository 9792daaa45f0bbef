// Every built-in style has every entry with the right kind and value, and every bitmap it names
// is in the resources at its size, with magenta where the controls cut out a transparent colour.
#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QSet>

using namespace vocafetch;

namespace {

using S = TsuiUIStyle;

constexpr S kStyles[] = {S::MacOS, S::WinXP, S::DeepBlue, S::Protein, S::BlueGlass};

// Values of the non-bitmap entries, by style in the order of kStyles.
struct Row
{
    int n;
    qint64 values[5];
};

const Row kValues[] = {
    {2, {1, 0, 0, 0, 1}},
    {6, {0, 0, 0, 1, 1}},
    {7, {3, 2, 0, 0, 4}},
    {8, {-2, -2, 0, 0, -3}},
    {9, {4, 5, 2, 2, 6}},
    {13, {130, 150, 130, 130, 270}},
    {14, {0, 13, 0, 0, 11}},
    {15, {15198183, 14609391, 15263976, 16514043, 15198183}},
    {16, {8355711, 13118464, 0, 0, 0}},
    {17, {1, 3, 1, 1, 1}},
    {18, {12874553, 13003057, 10504772, 12857389, 15490654}},
    {19, {12874553, 15717318, 10504772, 12857389, 15490654}},
    {20, {16777215, 0, 16777215, 16777215, 16777215}},
    {21, {0, 16777215, 16777215, 16777215, 15198183}},
    {22, {0, 0, 0, 0, 0}},
    {23, {0, 13554646, 13554646, 13554646, 13554646}},
    {25, {8355711, 6842472, 0, 0, 0}},
    {26, {15198183, 14609391, 15263976, 16514043, 15198183}},
    {27, {0, 13583874, 0, 0, 0}},
    {31, {13224393, 16382457, 16119285, 16119285, 16053492}},
    {35, {4671303, 13003057, 4671303, 4671303, 4671303}},
    {36, {15724527, 15717318, 15724527, 15724527, 15724527}},
    {37, {14211288, 14789779, 14211288, 14211288, 14211288}},
};

const QSet<int> kIntegers = {7, 8, 9, 13, 14, 17};
const QSet<int> kBooleans = {2, 6};
const QSet<int> kBitmaps = {1, 3, 4, 5, 10, 11, 12, 24, 28, 29, 30, 32, 33, 34, 38, 39, 40, 41, 42};

StyleEntryKind expectedKind(int n)
{
    if (kIntegers.contains(n))
        return StyleEntryKind::Integer;
    if (kBooleans.contains(n))
        return StyleEntryKind::Boolean;
    if (kBitmaps.contains(n))
        return StyleEntryKind::Bitmap;
    return StyleEntryKind::Colour;
}

struct Stem
{
    int n;
    const char *stem;
    QSize size; // the same for every style unless listed in kTitleSizes
};

const Stem kStems[] = {
    {1, "BUTTON", {54, 21}},
    {3, "CHECKBOX", {52, 13}},
    {4, "RADIOBUTTON", {52, 13}},
    {24, "PROGRESSBAR", {6, 10}},
    {28, "TRACKBAR_BAR", {45, 8}},
    {29, "TRACKBAR_SLIDER", {11, 21}},
    {30, "TRACKBAR_SLIDER_V", {22, 11}},
    {32, "SCROLLBAR_BUTTON", {96, 17}},
    {33, "SCROLLBAR_TRACK", {21, 16}},
    {34, "CHECKLIST", {44, 11}},
    {39, "TAB", {18, 18}},
    {40, "TAB_LINE", {8, 1}},
    {41, "SIDECHENNEL_HANDLE", {8, 86}},
    {42, "SIDECHENNEL_BAR", {1, 21}},
};

struct TitleSizes
{
    S style;
    QSize strip, left, middle, right;
};

const TitleSizes kTitleSizes[] = {
    {S::MacOS, {306, 17}, {48, 23}, {49, 23}, {48, 23}},
    {S::WinXP, {378, 21}, {35, 29}, {37, 29}, {35, 29}},
    {S::DeepBlue, {342, 19}, {97, 32}, {98, 32}, {97, 32}},
    {S::Protein, {342, 19}, {441, 23}, {1, 23}, {1, 23}},
    {S::BlueGlass, {342, 19}, {162, 33}, {179, 33}, {101, 33}},
};

QImage whole(S style, int n)
{
    QImage img;
    LoadStyleBitmap(style, n, &img, 0, 0);
    return img;
}

bool isMagenta(const QImage &img, int x, int y)
{
    return (img.pixel(x, y) & 0xFFFFFF) == SkinMaskColor;
}

} // namespace

TEST(BuiltinStyleTable, EveryEntryHasItsKindAndKeyName)
{
    for (int n = 1; n <= 42; ++n) {
        EXPECT_EQ(BuiltinStyleTable::kinds()[n - 1], expectedKind(n)) << "entry " << n;
        ASSERT_NE(StyleEntryKeyName(n), nullptr);
        EXPECT_EQ(StyleEntryFromKeyName(QString::fromLatin1(StyleEntryKeyName(n))), n);
    }
    EXPECT_STREQ(StyleEntryKeyName(16), "FormBorderColor");
    EXPECT_STREQ(StyleEntryKeyName(33), "ScrollBarSliderImage");
    EXPECT_STREQ(StyleEntryKeyName(42), "SideChannelBarImage");
    EXPECT_EQ(StyleEntryKeyName(0), nullptr);
    EXPECT_EQ(StyleEntryKeyName(43), nullptr);
    EXPECT_EQ(StyleEntryFromKeyName(QStringLiteral("formbordercolor")), 0);
}

TEST(BuiltinStyleTable, NonBitmapValuesOfEveryStyle)
{
    for (const Row &row : kValues) {
        for (int i = 0; i < 5; ++i) {
            const S s = kStyles[i];
            const qint64 v = row.values[i];
            switch (expectedKind(row.n)) {
            case StyleEntryKind::Integer:
                EXPECT_EQ(StyleInt(s, row.n), v);
                break;
            case StyleEntryKind::Colour:
                EXPECT_EQ(StyleColor(s, row.n), quint32(v));
                break;
            case StyleEntryKind::Boolean:
                EXPECT_EQ(StyleBool(s, row.n), v != 0);
                break;
            case StyleEntryKind::Bitmap:
                FAIL() << "entry " << row.n << " is a bitmap";
            }
        }
    }
}

TEST(BuiltinStyleTable, BitmapEntriesNameTheStyleResourcesAtTheirSizes)
{
    for (const TitleSizes &t : kTitleSizes) {
        const QString p = BuiltinStyleTable::prefix(t.style) + "_";
        SCOPED_TRACE(p.toStdString());
        for (const Stem &stem : kStems) {
            EXPECT_EQ(StyleBitmapName(t.style, stem.n), p + stem.stem);
            EXPECT_EQ(whole(t.style, stem.n).size(), stem.size) << stem.stem;
        }
        EXPECT_EQ(StyleBitmapName(t.style, 5), p + "TITLEBTN");
        EXPECT_EQ(StyleBitmapName(t.style, 10), p + "TITLE_LEFT");
        EXPECT_EQ(whole(t.style, 5).size(), t.strip);
        EXPECT_EQ(whole(t.style, 10).size(), t.left);
        EXPECT_EQ(whole(t.style, 11).size(), t.middle);
        EXPECT_EQ(whole(t.style, 12).size(), t.right);
    }
    EXPECT_EQ(StyleBitmapName(S::MacOS, 38), "MACOS_SCROLLBUTTON");
    EXPECT_EQ(whole(S::MacOS, 38).size(), QSize(72, 18));
    EXPECT_EQ(whole(S::WinXP, 38).size(), QSize(72, 18));
    for (S s : {S::DeepBlue, S::Protein, S::BlueGlass}) {
        EXPECT_EQ(StyleBitmapName(s, 38), "MORE_SCROLLBUTTON");
        EXPECT_EQ(whole(s, 38).size(), QSize(72, 17));
    }
}

TEST(BuiltinStyleTable, BitmapsOutsideTheEntriesAreInTheResources)
{
    const std::pair<const char *, QSize> extras[] = {
        {"MACOS_FORM_BACKGROUND", {8, 8}},
        {"PROTEIN_FORM_BACKGROUND", {8, 8}},
        {"MACOS_MENU_BAR", {1, 22}},
        {"MACOS_MENU_SELECT", {1, 21}},
        {"MENU_CHECKED", {16, 16}},
        {"MORE_SCROLLBUTTON", {72, 17}},
        {"MAINICON", {48, 48}},
        {"MAINICON_16", {16, 16}},
    };
    for (const auto &[name, size] : extras)
        EXPECT_EQ(LoadSkinResource(QString::fromLatin1(name)).size(), size) << name;
    EXPECT_TRUE(LoadSkinResource(QStringLiteral("NO_SUCH_BITMAP")).isNull());
    EXPECT_FALSE(SkinProgramIcon().isNull());
}

// Buttons cut out magenta from their faces: where style entry 2 is set, the corners outside the
// rounded face are magenta; otherwise they are the form colour the button stands on. The
// stretched middle never holds magenta, or holes would show in every button.
TEST(BuiltinStyleTable, ButtonFacesUseMagentaOnlyWhereTransparent)
{
    for (S s : kStyles) {
        const QImage faces = whole(s, 1);
        ASSERT_FALSE(faces.isNull());
        for (int k = 1; k <= 3; ++k) {
            QImage face;
            CutFrame(faces, &face, 3, k);
            EXPECT_EQ(isMagenta(face, 0, 0), StyleBool(s, 2)) << int(s) << " frame " << k;
            for (int y = 0; y < face.height(); ++y)
                EXPECT_FALSE(isMagenta(face, face.width() / 2, y)) << int(s) << " row " << y;
        }
    }
}

// Transparent title buttons lose the colour of each frame's bottom-left pixel; that must be
// magenta and must not eat the button's middle. Opaque ones carry no magenta at all.
TEST(BuiltinStyleTable, TitleButtonFramesAreSquareAndMaskedWhereTransparent)
{
    for (S s : kStyles) {
        const QImage strip = whole(s, 5);
        ASSERT_EQ(strip.width(), 18 * strip.height());
        for (int k = 1; k <= 18; ++k) {
            QImage f;
            CutFrame(strip, &f, 18, k);
            const bool transparent = StyleBool(s, 6);
            EXPECT_EQ(isMagenta(f, 0, f.height() - 1), transparent) << int(s) << " frame " << k;
            EXPECT_FALSE(isMagenta(f, f.width() / 2, f.height() / 2));
        }
    }
}
