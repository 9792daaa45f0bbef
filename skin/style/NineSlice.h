#pragma once
// Stretching a skinned button face to any size: the face bitmap is cut into four corners copied
// unscaled, four edges and a centre stretched between them. The piece rectangles are plain numbers
// so the layout can be checked without painting.

#include <QImage>
#include <QRect>

#include <array>

class QPainter;

namespace vocafetch {

// A rectangle given by its edges, right and bottom exclusive (a piece from x = 137 to 145 covers
// columns 137..144).
struct EdgeRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return width() <= 0 || height() <= 0; }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    bool operator==(const EdgeRect &o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// One piece: the part of the source it copies and where it lands. Corners keep their size
// (source and target have equal sizes); edges and the centre are stretched from source to target.
struct NineSlicePiece
{
    enum Kind
    {
        TopLeft,
        BottomLeft,
        LeftEdge,
        TopRight,
        BottomRight,
        RightEdge,
        TopEdge,
        Centre,
        BottomEdge,
    };
    Kind kind = TopLeft;
    EdgeRect source;
    EdgeRect target;
    bool isCorner() const
    {
        return kind == TopLeft || kind == BottomLeft || kind == TopRight || kind == BottomRight;
    }
    // A piece with no pixels in its source or target is not drawn.
    bool isDrawn() const { return !source.isEmpty() && !target.isEmpty(); }
};

// The nine pieces in drawing order (TopLeft .. BottomEdge) for a w x h source stretched over a
// dw x dh target at (0, 0). Halves are integer divisions; corners take the smaller of the source's
// and the room's size; the bottom edge overlaps its neighbours by one pixel, as the faces expect.
std::array<NineSlicePiece, 9> NineSlicePieces(int w, int h, int dw, int dh);

// Draws source over (0, 0, dw, dh) of painter. Corners are masked with magenta when transparent is
// set and opaque otherwise; the stretched pieces always treat magenta as transparent. A null
// source draws nothing.
void DrawNineSlice(QPainter *painter, const QImage &source, int dw, int dh, bool transparent);

} // namespace vocafetch
