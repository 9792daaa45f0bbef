#include "skin/style/BuiltinStyleTable.h"

namespace vocafetch {

namespace {

using K = StyleEntryKind;

constexpr std::array<StyleEntryKind, StyleEntry::Count> kKinds = {
    K::Bitmap,  K::Boolean, K::Bitmap,  K::Bitmap, K::Bitmap,  K::Boolean, // 1-6
    K::Integer, K::Integer, K::Integer, K::Bitmap, K::Bitmap,  K::Bitmap,  // 7-12
    K::Integer, K::Integer, K::Colour,  K::Colour, K::Integer, K::Colour,  // 13-18
    K::Colour,  K::Colour,  K::Colour,  K::Colour, K::Colour,  K::Bitmap,  // 19-24
    K::Colour,  K::Colour,  K::Colour,  K::Bitmap, K::Bitmap,  K::Bitmap,  // 25-30
    K::Colour,  K::Bitmap,  K::Bitmap,  K::Bitmap, K::Colour,  K::Colour,  // 31-36
    K::Colour,  K::Bitmap,  K::Bitmap,  K::Bitmap, K::Bitmap,  K::Bitmap,  // 37-42
};

constexpr StyleTableValue num(qint32 v)
{
    return StyleTableValue{v, nullptr};
}
constexpr StyleTableValue bmp(const char *name)
{
    return StyleTableValue{0, name};
}

// One style's row; bitmap entries are the style's prefix, an underscore and the entry's stem.
#define STYLE_ROW(P, SCROLLBTN, b2, b6, i7, i8, i9, i13, i14, c15, c16, i17, c18, c19, c20, c21,   \
                  c22, c23, c25, c26, c27, c31, c35, c36, c37)                                     \
    StyleTableRow                                                                                  \
    {                                                                                              \
        bmp(P "_BUTTON"), num(b2), bmp(P "_CHECKBOX"), bmp(P "_RADIOBUTTON"), bmp(P "_TITLEBTN"),  \
            num(b6), num(i7), num(i8), num(i9), bmp(P "_TITLE_LEFT"), bmp(P "_TITLE_CLIENT"),      \
            bmp(P "_TITLE_RIGHT"), num(i13), num(i14), num(c15), num(c16), num(i17), num(c18),     \
            num(c19), num(c20), num(c21), num(c22), num(c23), bmp(P "_PROGRESSBAR"), num(c25),     \
            num(c26), num(c27), bmp(P "_TRACKBAR_BAR"), bmp(P "_TRACKBAR_SLIDER"),                 \
            bmp(P "_TRACKBAR_SLIDER_V"), num(c31), bmp(P "_SCROLLBAR_BUTTON"),                     \
            bmp(P "_SCROLLBAR_TRACK"), bmp(P "_CHECKLIST"), num(c35), num(c36), num(c37),          \
            bmp(SCROLLBTN), bmp(P "_TAB"), bmp(P "_TAB_LINE"), bmp(P "_SIDECHENNEL_HANDLE"),       \
            bmp(P "_SIDECHENNEL_BAR"),                                                             \
    }

// clang-format off
const std::array<StyleTableRow, 5> kRows = {
    STYLE_ROW("MACOS", "MACOS_SCROLLBUTTON", 1, 0, 3, -2, 4, 130, 0, 15198183, 8355711, 1,
              12874553, 12874553, 16777215, 0, 0, 0, 8355711, 15198183, 0, 13224393,
              4671303, 15724527, 14211288),
    STYLE_ROW("WINXP", "WINXP_SCROLLBUTTON", 0, 0, 2, -2, 5, 150, 13, 14609391, 13118464, 3,
              13003057, 15717318, 0, 16777215, 0, 13554646, 6842472, 14609391, 13583874, 16382457,
              13003057, 15717318, 14789779),
    STYLE_ROW("DEEPBLUE", "MORE_SCROLLBUTTON", 0, 0, 0, 0, 2, 130, 0, 15263976, 0, 1,
              10504772, 10504772, 16777215, 16777215, 0, 13554646, 0, 15263976, 0, 16119285,
              4671303, 15724527, 14211288),
    STYLE_ROW("PROTEIN", "MORE_SCROLLBUTTON", 0, 1, 0, 0, 2, 130, 0, 16514043, 0, 1,
              12857389, 12857389, 16777215, 16777215, 0, 13554646, 0, 16514043, 0, 16119285,
              4671303, 15724527, 14211288),
    STYLE_ROW("BLUEGLASS", "MORE_SCROLLBUTTON", 1, 1, 4, -3, 6, 270, 11, 15198183, 0, 1,
              15490654, 15490654, 16777215, 15198183, 0, 13554646, 0, 15198183, 0, 16053492,
              4671303, 15724527, 14211288),
};
// clang-format on
#undef STYLE_ROW

constexpr std::array<TsuiUIStyle, 5> kStyles = {TsuiUIStyle::MacOS, TsuiUIStyle::WinXP,
                                                TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein,
                                                TsuiUIStyle::BlueGlass};

constexpr const char *kPrefixes[5] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};

// Row index of a style value, -1 for none. Only the low seven bits of the stored byte count.
int rowIndex(TsuiUIStyle style)
{
    const int value = static_cast<quint8>(style) & 0x7F;
    return value >= 1 && value <= 5 ? value - 1 : -1;
}

} // namespace

const std::array<StyleEntryKind, StyleEntry::Count> &BuiltinStyleTable::kinds()
{
    return kKinds;
}

const StyleTableRow *BuiltinStyleTable::row(TsuiUIStyle style)
{
    const int index = rowIndex(style);
    return index < 0 ? nullptr : &kRows[index];
}

QString BuiltinStyleTable::prefix(TsuiUIStyle style)
{
    const int index = rowIndex(style);
    return index < 0 ? QString() : QString::fromLatin1(kPrefixes[index]);
}

const std::array<TsuiUIStyle, 5> &BuiltinStyleTable::styles()
{
    return kStyles;
}

} // namespace vocafetch
