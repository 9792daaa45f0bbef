#pragma once
// One pass over the pixels of an image, for the colour keying and greying the artwork needs.

#include <QImage>

namespace vocafetch {

// A 32-bit ARGB copy of image with each pixel p replaced by map(p); a null image stays null.
template <class Map> QImage MapPixels(const QImage &image, Map map)
{
    if (image.isNull())
        return QImage();
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = map(line[x]);
    }
    return out;
}

// A copy of image whose pixels of exactly the colour key (alpha included) are transparent.
inline QImage MaskedByColor(const QImage &image, QRgb key)
{
    return MapPixels(image, [key](QRgb p) { return p == key ? 0 : p; });
}

} // namespace vocafetch
