#include "skin/style/StyleResolve.h"

#include "skin/style/FrameStyleSource.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleProperties.h"
#include "skin/style/TsuiFileTheme.h"

#include <QWidget>

namespace vocafetch {

StyleSource ResolveStyle(TsuiUIStyle s, const TsuiFileTheme *theme)
{
    if (s != TsuiUIStyle::FromThemeFile)
        return {false, s, nullptr};
    if (theme && theme->IsLoaded())
        return {true, TsuiUIStyle::FromThemeFile, theme};
    return {false, TsuiUIStyle::DeepBlue, nullptr};
}

TsuiUIStyle OwnerFormStyle(const QObject *owner)
{
    const auto *form = qobject_cast<const QWidget *>(owner);
    if (!form || !form->isWindow())
        return TsuiUIStyle::DeepBlue;
    for (const QObject *child : form->children()) {
        if (!child->isWidgetType())
            continue;
        if (const auto *frame = qobject_cast<const vocafetch::FrameStyleSource *>(child))
            return frame->frameStyle();
    }
    return TsuiUIStyle::DeepBlue;
}

quint32 ResolvedColor(TsuiUIStyle s, const TsuiFileTheme *theme, int n)
{
    const StyleSource src = ResolveStyle(s, theme);
    return src.fromTheme ? src.theme->ReadColor(n) : StyleColor(src.style, n);
}

int ResolvedInt(TsuiUIStyle s, const TsuiFileTheme *theme, int n)
{
    const StyleSource src = ResolveStyle(s, theme);
    return src.fromTheme ? src.theme->ReadInt(n) : StyleInt(src.style, n);
}

bool ResolvedBool(TsuiUIStyle s, const TsuiFileTheme *theme, int n)
{
    const StyleSource src = ResolveStyle(s, theme);
    return src.fromTheme ? src.theme->ReadBool(n) : StyleBool(src.style, n);
}

void ResolvedBitmap(TsuiUIStyle s, const TsuiFileTheme *theme, int n, QImage *target,
                    int frameCount, int frameIndex)
{
    const StyleSource src = ResolveStyle(s, theme);
    if (!src.fromTheme) {
        LoadStyleBitmap(src.style, n, target, frameCount, frameIndex);
    } else if (frameCount > 0) {
        src.theme->ReadFrame(n, target, frameCount, frameIndex);
    } else {
        src.theme->ReadBitmap(n, target);
    }
}

} // namespace vocafetch
