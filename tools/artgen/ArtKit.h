#pragma once
// Drawing helpers shared by the style artwork: canvases, flattening onto a background or onto the
// magenta mask colour, gradients, bevels and the title/arrow glyphs.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <utility>
#include <vector>

class QPainter;

namespace art {

// Named bitmaps in output order.
using ArtSet = std::vector<std::pair<QString, QImage>>;

constexpr QRgb Magenta = 0xFFFF00FF;

// A w x h canvas, fully transparent, for antialiased drawing.
QImage canvas(int w, int h);
// Opaque result: img composited over a background image of the same size (or a plain colour).
QImage flatten(const QImage &img, const QImage &background);
QImage flatten(const QImage &img, const QColor &background);
// Opaque result for masked drawing: pixels the drawing barely touches (alpha below threshold)
// become exactly magenta, the others are composited over fringe (the colour they will be seen on).
QImage flattenMasked(const QImage &img, const QColor &fringe, int threshold = 48);

// Places frames side by side into one strip (all frames the same height).
QImage hstrip(const std::vector<QImage> &frames);

// A vertical gradient image of width w from colour stops (position 0..1, colour).
using Stops = std::vector<std::pair<qreal, QColor>>;
QImage verticalGradient(int w, int h, const Stops &stops);
void fillVertical(QPainter &p, const QRectF &r, const Stops &stops);

QPainterPath roundedRect(const QRectF &r, qreal radius);

// Lighter / darker in HSV value and a plain mix of two colours (t = 0 gives a).
QColor shade(const QColor &c, int percent);
QColor mix(const QColor &a, const QColor &b, qreal t);

enum class Glyph
{
    WindowMenu,
    Help,
    Maximize,
    Restore,
    Minimize,
    Close,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Check,
};

// Draws a glyph centred in r with the given colour; weight scales the stroke width (1 = normal).
void drawGlyph(QPainter &p, Glyph glyph, const QRectF &r, const QColor &color, qreal weight = 1.0);

} // namespace art
