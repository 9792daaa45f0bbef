#include "skin/style/NineSlice.h"

#include "skin/style/PixelMap.h"
#include "skin/style/StyleLookup.h"

#include <QPainter>

#include <algorithm>

namespace vocafetch {

namespace {

// Size of a corner: the smaller of the source's and the room's, never negative.
QSize cornerSize(const EdgeRect &source, const EdgeRect &room)
{
    return QSize(std::max(0, std::min(source.width(), room.width())),
                 std::max(0, std::min(source.height(), room.height())));
}

NineSlicePiece piece(NineSlicePiece::Kind kind, const EdgeRect &source, const EdgeRect &target)
{
    NineSlicePiece p;
    p.kind = kind;
    p.source = source;
    p.target = target;
    return p;
}

} // namespace

std::array<NineSlicePiece, 9> NineSlicePieces(int w, int h, int dw, int dh)
{
    using P = NineSlicePiece;
    const int hw = w / 2, hh = h / 2, hdw = dw / 2, hdh = dh / 2;
    std::array<NineSlicePiece, 9> pieces;

    // Top-left: keeps the source's top-left part.
    const EdgeRect tlSrc{0, 0, hw, hh};
    const QSize tl = cornerSize(tlSrc, EdgeRect{0, 0, hdw, hdh});
    const EdgeRect TL{0, 0, tl.width(), tl.height()};
    pieces[0] = piece(P::TopLeft, EdgeRect{0, 0, tl.width(), tl.height()}, TL);

    // Bottom-left: keeps the source's bottom-left part, sits at the target's bottom-left.
    const EdgeRect blSrc{0, h - hh + 1, hw, h};
    const QSize bl = cornerSize(blSrc, EdgeRect{0, dh - hdh + 1, hdw, dh});
    const EdgeRect BL{0, dh - bl.height(), bl.width(), dh};
    pieces[1] =
        piece(P::BottomLeft, EdgeRect{0, blSrc.bottom - bl.height(), bl.width(), blSrc.bottom}, BL);

    // Left edge: keeps the source's left part when the target is narrower.
    EdgeRect leftSrc{0, hh, hw, h - hh};
    const EdgeRect leftDst{0, TL.bottom, TL.right, BL.top};
    if (leftDst.width() < leftSrc.width())
        leftSrc.right = leftSrc.left + std::max(0, leftDst.width());
    pieces[2] = piece(P::LeftEdge, leftSrc, leftDst);

    // Top-right: keeps the source's top-right part, sits at the target's top-right.
    const EdgeRect trSrc{w - hw + 1, 0, w, hh};
    const QSize tr = cornerSize(trSrc, EdgeRect{dw - hdw + 1, 0, dw, hdh});
    const EdgeRect TR{dw - tr.width(), 0, dw, tr.height()};
    pieces[3] =
        piece(P::TopRight, EdgeRect{trSrc.right - tr.width(), 0, trSrc.right, tr.height()}, TR);

    // Bottom-right: keeps the source's bottom-right part, sits at the target's bottom-right.
    const EdgeRect brSrc{w - hw + 1, h - hh + 1, w, h};
    const QSize br = cornerSize(brSrc, EdgeRect{dw - hdw + 1, dh - hdh + 1, dw, dh});
    const EdgeRect BR{dw - br.width(), dh - br.height(), dw, dh};
    pieces[4] = piece(
        P::BottomRight,
        EdgeRect{brSrc.right - br.width(), brSrc.bottom - br.height(), brSrc.right, brSrc.bottom},
        BR);

    // Right edge: keeps the source's right part when the target is narrower.
    EdgeRect rightSrc{w - hw + 1, h - hh, w, hh + 2};
    const EdgeRect rightDst{TR.left, TR.bottom, TR.right, BR.top};
    if (rightDst.width() < rightSrc.width())
        rightSrc.left = rightSrc.right - std::max(0, rightDst.width());
    pieces[5] = piece(P::RightEdge, rightSrc, rightDst);

    // Top edge: keeps the source's top part when the target is lower.
    EdgeRect topSrc{hw, 0, w - hw + 1, hh};
    const EdgeRect topDst{TL.right, 0, TR.left, TL.bottom};
    if (topDst.height() < topSrc.height())
        topSrc.bottom = topSrc.top + std::max(0, topDst.height());
    pieces[6] = piece(P::TopEdge, topSrc, topDst);

    pieces[7] = piece(P::Centre, EdgeRect{hw, hh, w - hw + 1, h - hh},
                      EdgeRect{TL.right, TL.bottom, TR.left, BR.top - 1});

    // Bottom edge: keeps the source's bottom part when the target is lower.
    EdgeRect bottomSrc{hw, h - hh, w - hw + 1, h};
    const EdgeRect bottomDst{TL.right - 1, BL.top - 1, BR.left, BR.bottom};
    if (bottomDst.height() < bottomSrc.height())
        bottomSrc.top = bottomSrc.bottom - std::max(0, bottomDst.height());
    pieces[8] = piece(P::BottomEdge, bottomSrc, bottomDst);

    return pieces;
}

void DrawNineSlice(QPainter *painter, const QImage &source, int dw, int dh, bool transparent)
{
    if (!painter || source.isNull())
        return;
    const QRgb magenta = BgrToQColor(SkinMaskColor).rgb();
    const QImage opaque = source.convertToFormat(QImage::Format_ARGB32);
    for (const NineSlicePiece &p : NineSlicePieces(source.width(), source.height(), dw, dh)) {
        if (!p.isDrawn())
            continue;
        const QImage cut = opaque.copy(p.source.toQRect());
        if (p.isCorner()) {
            painter->drawImage(p.target.left, p.target.top,
                               transparent ? MaskedByColor(cut, magenta) : cut);
            continue;
        }
        // A plain stretching copy (nearest pixel), then drawn with magenta left out.
        const QImage stretched = cut.scaled(p.target.width(), p.target.height(),
                                            Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter->drawImage(p.target.left, p.target.top, MaskedByColor(stretched, magenta));
    }
}

} // namespace vocafetch
