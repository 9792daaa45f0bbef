#pragma once
// Painting helpers shared by the skinned buttons and the scroll bar: colour-keyed transparency,
// the greyed look of a disabled picture and the dotted focus rectangle.

#include "skin/style/PixelMap.h"

#include <QImage>
#include <QRect>
#include <QRgb>

class QPainter;

namespace vocafetch {

// MaskedByColor keyed with the image's own top-left pixel; a null image stays null.
QImage MaskedByTopLeft(const QImage &image);
// The disabled look of a picture: grey levels lightened towards white, transparency kept.
QImage Greyed(const QImage &image);
// The platform's focus rectangle: the outline's pixels with an even x + y inverted, so it
// shows on any background and drawing it twice removes it. rect is inclusive of its last row and
// column as QRect is.
void DrawFocusRect(QPainter *painter, const QRect &rect);

} // namespace vocafetch
