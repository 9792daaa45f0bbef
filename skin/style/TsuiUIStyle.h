#pragma once
// The skin style of a skinned control and the 42 numbered style entries every skinned control
// reads its colours, metrics, flags and bitmaps from.
//
// How a skinned control (class name beginning with "Tsui") takes part:
//   - it declares the two properties the skin code finds by name through the meta-object system
//       Q_PROPERTY(TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
//       Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
//     (StyleProperties.h reads and writes them on any QObject by name);
//   - its constructor starts with UIStyle = OwnerFormStyle(owner) (StyleResolve.h);
//   - for every value it needs it runs the calling pattern of StyleResolve.h: ResolveStyle(UIStyle,
//     FileTheme), then the theme's Read* when the theme answers, else the built-in StyleColor /
//     StyleInt / StyleBool / LoadStyleBitmap of the returned style. The helpers ResolvedColor,
//     ResolvedInt, ResolvedBool and ResolvedBitmap do exactly that in one call.
//   - colours are 0x00BBGGRR values; BgrToQColor (StyleLookup.h) turns one into a QColor.
//   - bitmaps are QImage; LoadSkinResource loads the extra ones by name ("MENU_CHECKED"),
//     CutFrame cuts strips, MakeColorTransparent keys out magenta or a corner pixel colour.
//   - a theme may be destroyed before the control: keep it in a QPointer and fall back to
//     DeepBlue (or as the control's class says) when it goes.

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace SkinStyles {
Q_NAMESPACE

// Stored in one byte. Only the low seven bits select a built-in table (see StyleLookup.h).
enum class TsuiUIStyle : quint8
{
    FromThemeFile = 0, // values come from the attached TsuiFileTheme
    MacOS = 1,         // grey pinstriped
    WinXP = 2,         // bright blue, rounded title bar (what the main window shows)
    DeepBlue = 3,      // deep blue; the fallback when nothing else applies
    Protein = 4,       // light
    BlueGlass = 5,     // glassy
};
Q_ENUM_NS(TsuiUIStyle)

// How an entry's value is to be understood; the codes are the stored kind codes.
enum class StyleEntryKind : quint8
{
    Integer = 0,
    Colour = 1,
    Bitmap = 2,
    Boolean = 3,
};
Q_ENUM_NS(StyleEntryKind)

} // namespace SkinStyles

using SkinStyles::StyleEntryKind;
using SkinStyles::TsuiUIStyle;

// The numbered style entries (1..42). Callers pass these constants to the look-ups.
namespace StyleEntry {
constexpr int ButtonImage = 1;
constexpr int ButtonTransparentBool = 2;
constexpr int CheckBoxImage = 3;
constexpr int RadioButtonImage = 4;
constexpr int TitleBarButtonImage = 5; // 18 frames: control box, help, max, restore, min, close
constexpr int TitleBarButtonTransparentBool = 6;
constexpr int TitleBarButtonLeftOffsetInt = 7;
constexpr int TitleBarButtonRightOffsetInt = 8;
constexpr int TitleBarButtonTopInt = 9;
constexpr int TitleBarLeftImage = 10;
constexpr int TitleBarClientImage = 11;
constexpr int TitleBarRightImage = 12;
constexpr int FormMinWidthInt = 13;
constexpr int FormRoundCornerInt = 14;
constexpr int FormBackgroundColor = 15;
constexpr int FormBorderColor = 16;
constexpr int FormBorderWidthInt = 17;
constexpr int MenuSelectedBorderColor = 18;
constexpr int MenuSelectedBackgroundColor = 19;
constexpr int MenuSelectedFontColor = 20;
constexpr int MenuBackgroundColor = 21;
constexpr int MenuFontColor = 22;
constexpr int MenuBarColor = 23;
constexpr int ProgressBarImage = 24;
constexpr int ControlBorderColor = 25;
constexpr int ControlBackgroundColor = 26;
constexpr int ControlFontColor = 27;
constexpr int TrackBarBarImage = 28;
constexpr int TrackBarSliderImage = 29;
constexpr int TrackBarSliderVImage = 30;
constexpr int ScrollBarBackgroundColor = 31;
constexpr int ScrollBarButtonImage = 32; // 6 frames: up normal/hot/pressed, down normal/hot/pressed
constexpr int ScrollBarSliderImage = 33; // 3 frames: start cap, middle, end cap (horizontal)
constexpr int CheckListBoxImage = 34;
constexpr int ToolBarButtonBorderColor = 35;
constexpr int ToolBarButtonBackgroundColor = 36;
constexpr int ToolBarButtonDownBackgroundColor = 37;
constexpr int ScrollButtonImage = 38;
constexpr int TabControlTabImage = 39;
constexpr int TabControlBarImage = 40;
constexpr int SideChannelHandleImage = 41;
constexpr int SideChannelBarImage = 42;

constexpr int First = 1;
constexpr int Last = 42;
constexpr int Count = 42;
} // namespace StyleEntry

namespace vocafetch {

// Key name of entry n as a theme file spells it ("FormBorderColor"), nullptr outside 1..42.
const char *StyleEntryKeyName(int n);
// The same as a string, made once: an empty string outside 1..42.
const QString &StyleEntryKey(int n);
// Entry number of a key name (exact spelling), 0 when no entry has that name.
int StyleEntryFromKeyName(const QString &key);
// Kind of entry n; entries outside 1..42 count as integers.
StyleEntryKind StyleEntryKindOf(int n);

} // namespace vocafetch
