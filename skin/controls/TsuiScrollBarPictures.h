#pragma once
// Turning the vertical arrow pictures and the horizontal slider pieces of a style for the other
// orientation, pixel for pixel.

#include "skin/style/TsuiUIStyle.h"

#include <QColor>
#include <QImage>

class TsuiFileTheme;

namespace vocafetch {

// A quarter turn counter-clockwise: source pixel (x, y) goes to (y, width - 1 - x).
QImage RotatedCounterClockwise(const QImage &image);
// A quarter turn clockwise: source pixel (x, y) goes to (height - 1 - y, x).
QImage RotatedClockwise(const QImage &image);
// The slider: start piece at the beginning, end piece flush with the far end, the middle piece
// stretched between, length pixels long along orientation and as thick as the start piece.
QImage ComposeSlider(const QImage &start, const QImage &middle, const QImage &end, int length,
                     Qt::Orientation orientation);

// A style's scroll-bar artwork, turned for one orientation: the track colour, the arrow
// pictures (decrease normal, hot, pressed, then increase normal, hot, pressed) and the three
// slider pieces.
struct ScrollBarArtwork
{
    QColor track;
    QImage arrows[6];
    QImage sliderStart;
    QImage sliderMiddle;
    QImage sliderEnd;
};
ScrollBarArtwork LoadScrollBarArtwork(TsuiUIStyle style, const TsuiFileTheme *theme,
                                      Qt::Orientation orientation);

} // namespace vocafetch
