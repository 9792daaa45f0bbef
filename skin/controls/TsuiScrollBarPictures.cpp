#include "skin/controls/TsuiScrollBarPictures.h"

#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QPainter>

namespace vocafetch {

namespace {

// image turned a quarter: pixel (x, y) lands where place(x, y, width, height) says.
template <class Place> QImage rotatedQuarter(const QImage &image, Place place)
{
    if (image.isNull())
        return image;
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.height(), src.width(), QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x)
            out.setPixel(place(x, y, src.width(), src.height()), src.pixel(x, y));
    }
    return out.convertToFormat(image.format());
}

QImage resolvedFrame(TsuiUIStyle style, const TsuiFileTheme *theme, int entry, int count, int k)
{
    QImage frame;
    ResolvedBitmap(style, theme, entry, &frame, count, k);
    return frame;
}

} // namespace

QImage RotatedCounterClockwise(const QImage &image)
{
    return rotatedQuarter(image, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); });
}

QImage RotatedClockwise(const QImage &image)
{
    return rotatedQuarter(image, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); });
}

QImage ComposeSlider(const QImage &start, const QImage &middle, const QImage &end, int length,
                     Qt::Orientation orientation)
{
    const bool vertical = orientation == Qt::Vertical;
    const int thickness = vertical ? start.width() : start.height();
    if (length <= 0 || thickness <= 0)
        return QImage();
    QImage slider(vertical ? QSize(thickness, length) : QSize(length, thickness),
                  QImage::Format_RGB32);
    slider.fill(Qt::white);
    QPainter p(&slider);
    const int startLen = vertical ? start.height() : start.width();
    const int endLen = vertical ? end.height() : end.width();
    const int middleLen = length - startLen - endLen;
    if (middleLen > 0 && !middle.isNull()) {
        const QRect between = vertical ? QRect(0, startLen, thickness, middleLen)
                                       : QRect(startLen, 0, middleLen, thickness);
        p.drawImage(between,
                    middle.scaled(between.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    p.drawImage(0, 0, start);
    p.drawImage(vertical ? QPoint(0, length - endLen) : QPoint(length - endLen, 0), end);
    return slider;
}

ScrollBarArtwork LoadScrollBarArtwork(TsuiUIStyle style, const TsuiFileTheme *theme,
                                      Qt::Orientation orientation)
{
    ScrollBarArtwork art;
    art.track = BgrToQColor(ResolvedColor(style, theme, StyleEntry::ScrollBarBackgroundColor));
    const bool vertical = orientation == Qt::Vertical;
    // The slider pieces are drawn for a horizontal bar, the arrows for a vertical one.
    QImage *pieces[] = {&art.sliderStart, &art.sliderMiddle, &art.sliderEnd};
    for (int k = 0; k < 3; ++k) {
        *pieces[k] = resolvedFrame(style, theme, StyleEntry::ScrollBarSliderImage, 3, k + 1);
        if (vertical)
            *pieces[k] = RotatedClockwise(*pieces[k]);
    }
    for (int k = 0; k < 6; ++k) {
        art.arrows[k] = resolvedFrame(style, theme, StyleEntry::ScrollBarButtonImage, 6, k + 1);
        if (!vertical)
            art.arrows[k] = RotatedCounterClockwise(art.arrows[k]);
    }
    return art;
}

} // namespace vocafetch
