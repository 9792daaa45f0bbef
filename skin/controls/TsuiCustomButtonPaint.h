#pragma once
// Painting helpers shared by the skinned buttons and the scroll bar: colour-keyed transparency,
// the greyed look of a disabled picture and the dotted focus rectangle.

#include <QImage>
#include <QRect>
#include <QRgb>

class QPainter;

namespace vocafetch {

// A copy of image (as ARGB32) in which every pixel equal to key (alpha included) is fully
// transparent: a picture "masked with a colour".
QImage MaskedByColor(const QImage &image, QRgb key);
// MaskedByColor keyed with the image's own top-left pixel; a null image stays null.
QImage MaskedByTopLeft(const QImage &image);
// The disabled look of a picture: grey levels lightened towards white, transparency kept.
QImage Greyed(const QImage &image);
// The platform's focus rectangle: the outline's pixels with an even x + y inverted, so it
// shows on any background and drawing it twice removes it. rect is inclusive of its last row and
// column as QRect is.
void DrawFocusRect(QPainter *painter, const QRect &rect);

} // namespace vocafetch
