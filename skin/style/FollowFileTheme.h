#pragma once

#include "skin/style/TsuiFileTheme.h"

#include <QObject>
#include <QPointer>

// Makes `control` follow `theme`, held in `slot`: the previous theme's connections to the
// control are cut; when the theme goes away the slot empties and `onGone` runs; each time the
// theme loads a file `onLoaded` runs. Setting the theme it already follows changes nothing.
template <class OnGone, class OnLoaded>
void FollowFileTheme(QObject *control, QPointer<TsuiFileTheme> &slot, TsuiFileTheme *theme,
                     OnGone onGone, OnLoaded onLoaded)
{
    if (slot == theme)
        return;
    if (slot)
        QObject::disconnect(slot, nullptr, control, nullptr);
    slot = theme;
    if (!theme)
        return;
    QObject::connect(theme, &QObject::destroyed, control, [&slot, onGone]() {
        slot = nullptr;
        onGone();
    });
    QObject::connect(theme, &TsuiFileTheme::themeLoaded, control, onLoaded);
}
