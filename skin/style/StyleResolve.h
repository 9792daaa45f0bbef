#pragma once
// Choosing where a skinned control reads its values from (theme file or built-in style) and the
// initial style of a new control.

#include "skin/style/TsuiUIStyle.h"

#include <QImage>

class QObject;
class TsuiFileTheme;

namespace vocafetch {

// The answer of ResolveStyle: either the theme answers (fromTheme, read with theme->Read*), or the
// built-in table of style applies (StyleColor & co.).
struct StyleSource
{
    bool fromTheme = false;
    TsuiUIStyle style = TsuiUIStyle::DeepBlue;
    const TsuiFileTheme *theme = nullptr; // set only when fromTheme
};

// - s is not FromThemeFile: the built-in table of s, the theme is ignored.
// - s is FromThemeFile with a theme whose IsLoaded() is true: the theme answers.
// - otherwise (FromThemeFile with no theme or an unloaded one): the built-in DeepBlue table.
StyleSource ResolveStyle(TsuiUIStyle s, const TsuiFileTheme *theme);

// Initial UIStyle of a new skinned control created for owner: when owner is a form (a top-level
// widget), the style of the first direct child that is its frame (a FrameStyleSource); DeepBlue
// for no owner, an owner that is not a form, or a form without a frame.
TsuiUIStyle OwnerFormStyle(const QObject *owner);

// The calling pattern in one call: ResolveStyle(s, theme), then the theme's ReadColor / ReadInt /
// ReadBool / ReadBitmap (frameCount 0) or ReadFrame, else the built-in look-up of the returned
// style. Example, a frame's border: ResolvedColor(UIStyle(), FileTheme(),
// StyleEntry::FormBorderColor)
quint32 ResolvedColor(TsuiUIStyle s, const TsuiFileTheme *theme, int n);
int ResolvedInt(TsuiUIStyle s, const TsuiFileTheme *theme, int n);
bool ResolvedBool(TsuiUIStyle s, const TsuiFileTheme *theme, int n);
void ResolvedBitmap(TsuiUIStyle s, const TsuiFileTheme *theme, int n, QImage *target,
                    int frameCount = 0, int frameIndex = 0);

} // namespace vocafetch
