#include "skin/controls/TsuiButtonLayout.h"

vocafetch::GlyphPlacement vocafetch::PlaceGlyph(TsuiButtonLayout layout, QSize controlSize,
                                                QSize textSize, QSize glyphSize, int spacing)
{
    const int W = controlSize.width(), H = controlSize.height();
    const int TW = textSize.width(), TH = textSize.height();
    const int GH = glyphSize.height();
    const bool twoImages = glyphSize.width() == 2 * GH && GH > 0;
    const int GW = twoImages ? GH : glyphSize.width();
    const int S = spacing;

    GlyphPlacement p{QPoint(), QPoint(), GW, twoImages};
    switch (layout) {
    case TsuiButtonLayouts::blGlyphLeft:
        p.glyph = QPoint((W - (TW + GW + S)) / 2, (H - GH) / 2);
        p.caption = QPoint(p.glyph.x() + GW + S, (H - TH) / 2);
        break;
    case TsuiButtonLayouts::blGlyphRight:
        p.glyph = QPoint((W + TW + S - GW) / 2, (H - GH) / 2);
        p.caption = QPoint(p.glyph.x() - TW - S, (H - TH) / 2);
        break;
    case TsuiButtonLayouts::blGlyphTop:
        p.glyph = QPoint((W - GW) / 2, (H - (TH + GH + S)) / 2);
        p.caption = QPoint((W - TW) / 2, p.glyph.y() + GH + S);
        break;
    case TsuiButtonLayouts::blGlyphBottom:
        p.glyph = QPoint((W - GW) / 2, (H + TH + S - GH) / 2);
        p.caption = QPoint((W - TW) / 2, p.glyph.y() - TH - S);
        break;
    }
    return p;
}
