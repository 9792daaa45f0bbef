#include "skin/controls/TsuiCustomButtonPaint.h"

#include <QPainter>

namespace vocafetch {

QImage MaskedByColor(const QImage &image, QRgb key)
{
    if (image.isNull())
        return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (line[x] == key)
                line[x] = 0;
        }
    }
    return out;
}

QImage MaskedByTopLeft(const QImage &image)
{
    if (image.isNull())
        return image;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    return MaskedByColor(argb, argb.pixel(0, 0));
}

QImage Greyed(const QImage &image)
{
    if (image.isNull())
        return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = (qGray(line[x]) + 2 * 255) / 3;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return out;
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
