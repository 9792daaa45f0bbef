#pragma once
// Turning the vertical arrow pictures and the horizontal slider pieces of a style for the other
// orientation, pixel for pixel.

#include <QImage>

namespace vocafetch {

// A quarter turn counter-clockwise: source pixel (x, y) goes to (y, width - 1 - x).
QImage RotatedCounterClockwise(const QImage &image);
// A quarter turn clockwise: source pixel (x, y) goes to (height - 1 - y, x).
QImage RotatedClockwise(const QImage &image);
// The slider: start piece at the beginning, end piece flush with the far end, the middle piece
// stretched between, length pixels long along orientation and as thick as the start piece.
QImage ComposeSlider(const QImage &start, const QImage &middle, const QImage &end, int length,
                     Qt::Orientation orientation);

} // namespace vocafetch
