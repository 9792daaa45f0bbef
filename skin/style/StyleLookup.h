#pragma once
// Reading entries of the built-in styles, loading the style bitmaps from the program's resources
// and cutting strips into frames. Bitmaps are QImage: pixel-exact and usable without a display.

#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QImage>
#include <QString>

class QIcon;

namespace vocafetch {

// Turns a 0x00BBGGRR colour value into a QColor. Values whose high byte is 0xFF name system
// colours (low byte = system colour index, e.g. 0xFF000005 the window background) and map to
// fixed classic values; anything else uses only its low 24 bits.
QColor BgrToQColor(quint32 bgr);
// The inverse for ordinary colours: QColor to 0x00BBGGRR.
quint32 QColorToBgr(const QColor &color);

// Built-in look-ups of entry n (1..42) of style s. A style without a table (FromThemeFile, values
// above 5 after masking to seven bits), an entry of another kind or n outside 1..42 give the
// defaults: colour 0, integer -1, Boolean false.
quint32 StyleColor(TsuiUIStyle s, int n);
int StyleInt(TsuiUIStyle s, int n);
bool StyleBool(TsuiUIStyle s, int n);
// Name of the bitmap resource entry n of s refers to ("WINXP_TITLEBTN"), empty when the entry is
// no bitmap or s has no table.
QString StyleBitmapName(TsuiUIStyle s, int n);

// Loads entry n of s into target (nothing without a target). frameCount 0: the whole bitmap; a
// non-bitmap entry leaves target unchanged. frameCount > 0: frame frameIndex (from 1) of
// frameCount equal-width frames; when there is nothing to cut from, target ends up empty (0 x 0).
void LoadStyleBitmap(TsuiUIStyle s, int n, QImage *target, int frameCount, int frameIndex);

// Copies frame k (from 1) of n equal-width frames of source into target: frame width is
// source width / n (remainder columns dropped), height the source height. An empty source, n < 1
// or k outside 1..n leave target empty.
void CutFrame(const QImage &source, QImage *target, int n, int k);

// Loads a skin bitmap by resource name ("WINXP_BUTTON", "MENU_CHECKED", "MACOS_FORM_BACKGROUND",
// "MAINICON", ...) from the program's own resources; a null image for an unknown name. Loaded
// anew each call (no cache). Bitmaps come in Format_RGB32, the icon with its alpha channel.
QImage LoadSkinResource(const QString &name);
// Qt resource path of a skin bitmap name (":/skin/WINXP_BUTTON.png").
QString SkinResourcePath(const QString &name);

// The colour skinned buttons treat as transparent in their faces (0xFF00FF, magenta).
constexpr quint32 SkinMaskColor = 0xFF00FF;

// A copy of image (Format_ARGB32) in which every pixel of the colour key (alpha ignored) is fully
// transparent: magenta for button faces, a picture's own corner pixel for title buttons and
// glyphs (e.g. MakeColorTransparent(pic, pic.pixel(0, pic.height() - 1))). A null image stays null.
QImage MakeColorTransparent(const QImage &image, QRgb key);

// The program icon "MAINICON" in all its stored sizes (16, 32 and 48 pixels).
QIcon SkinProgramIcon();

} // namespace vocafetch
