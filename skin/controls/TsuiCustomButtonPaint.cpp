#include "skin/controls/TsuiCustomButtonPaint.h"

#include "skin/style/PixelMap.h"

#include <QPainter>

namespace vocafetch {

QImage MaskedByTopLeft(const QImage &image)
{
    if (image.isNull())
        return image;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    return MaskedByColor(argb, argb.pixel(0, 0));
}

QImage Greyed(const QImage &image)
{
    return MapPixels(image, [](QRgb p) {
        const int grey = (qGray(p) + 2 * 255) / 3;
        return qRgba(grey, grey, grey, qAlpha(p));
    });
}

void DrawFocusRect(QPainter *painter, const QRect &rect)
{
    if (!painter || rect.width() <= 0 || rect.height() <= 0)
        return;
    painter->save();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::NoBrush);
    const QColor invert(Qt::white);
    // A checkerboard of inverted pixels along the outline, as the platform's dotted brush draws.
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            painter->fillRect(x, y, 1, 1, invert);
    };
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        if (b > t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (r > l)
            dot(r, y);
    }
    painter->restore();
}

} // namespace vocafetch
