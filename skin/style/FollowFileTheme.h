#pragma once

#include "skin/style/TsuiFileTheme.h"

#include <QObject>
#include <QPointer>

namespace vocafetch {

// Makes `control` follow `theme`, held in `slot`: the previous theme's connections to the
// control are cut and, when the theme goes away, the slot empties and `onGone` runs. Setting
// the theme it already follows changes nothing. True when the theme changed.
template <class OnGone>
bool FollowFileTheme(QObject *control, QPointer<TsuiFileTheme> &slot, TsuiFileTheme *theme,
                     OnGone onGone)
{
    if (slot == theme)
        return false;
    if (slot)
        QObject::disconnect(slot, nullptr, control, nullptr);
    slot = theme;
    if (theme) {
        QObject::connect(theme, &QObject::destroyed, control, [&slot, onGone]() {
            slot = nullptr;
            onGone();
        });
    }
    return true;
}

// As above; besides, each time the theme loads a file `onLoaded` runs.
template <class OnGone, class OnLoaded>
void FollowFileTheme(QObject *control, QPointer<TsuiFileTheme> &slot, TsuiFileTheme *theme,
                     OnGone onGone, OnLoaded onLoaded)
{
    if (FollowFileTheme(control, slot, theme, onGone) && theme)
        QObject::connect(theme, &TsuiFileTheme::themeLoaded, control, onLoaded);
}

} // namespace vocafetch
