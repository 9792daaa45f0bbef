#pragma once
// Where a skinned button puts its glyph and its caption: plain arithmetic on sizes, so each of the
// four arrangements can be checked on numbers.

#include <QObject>
#include <QPoint>
#include <QSize>

namespace TsuiButtonLayouts {
Q_NAMESPACE
// Where the glyph stands relative to the caption.
enum TsuiButtonLayout
{
    blGlyphLeft,
    blGlyphRight,
    blGlyphTop,
    blGlyphBottom,
};
Q_ENUM_NS(TsuiButtonLayout)
} // namespace TsuiButtonLayouts

using TsuiButtonLayouts::TsuiButtonLayout;

namespace vocafetch {

struct GlyphPlacement
{
    QPoint glyph;   // top-left corner of the glyph (before the pressed shift)
    QPoint caption; // top-left corner of the caption (before the pressed shift)
    int glyphWidth; // width of one image of the glyph
    bool twoImages; // the glyph holds an enabled and a disabled image side by side
};

// Lays out a glyph of glyphSize beside a caption measuring textSize on a control of controlSize,
// spacing pixels apart. A glyph twice as wide as high holds two images and counts as one square
// image. Divisions truncate toward zero.
GlyphPlacement PlaceGlyph(TsuiButtonLayout layout, QSize controlSize, QSize textSize,
                          QSize glyphSize, int spacing);

} // namespace vocafetch
