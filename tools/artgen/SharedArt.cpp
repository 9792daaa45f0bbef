// Bitmaps that belong to no single style: form background patterns, the menu pieces of MacOS,
// the menu check mark, the shared scroll button strip and the program icon.
#include "StyleArt.h"

#include <QPainter>

namespace art {

namespace {

// MacOS: fine pinstripes, one light and one slightly darker row.
QImage macFormBackground()
{
    QImage img(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        const QColor c = (y % 2 == 0) ? QColor(0xEC, 0xEC, 0xEC) : QColor(0xDF, 0xDF, 0xDF);
        for (int x = 0; x < 8; ++x)
            img.setPixelColor(x, y, c);
    }
    return img;
}

// Protein: an almost white ground with a faint diagonal dot.
QImage proteinFormBackground()
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(QColor(0xFB, 0xFB, 0xFB));
    img.setPixelColor(1, 1, QColor(0xEE, 0xEF, 0xF4));
    img.setPixelColor(5, 5, QColor(0xEE, 0xEF, 0xF4));
    return img;
}

QImage menuChecked()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    drawGlyph(p, Glyph::Check, QRectF(2, 2, 12, 12), QColor(0, 0, 0), 1.2);
    p.end();
    // Antialiasing pixels close to white would be cut out unevenly by a white mask; make the
    // mark solid instead.
    QImage out = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int v = qGray(out.pixel(x, y));
            out.setPixel(x, y, v > 200 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    return out;
}

// The program icon: a rounded tile with a waveform and, from 32 pixels up, a rescue arrow.
QImage mainIcon(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF tile(0.5, 0.5, s - 1, s - 1);
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, QColor(0x4C, 0x9A, 0xFF));
    g.setColorAt(1, QColor(0x0A, 0x3C, 0xC0));
    p.setPen(QPen(QColor(0x06, 0x24, 0x80), 1));
    p.setBrush(g);
    p.drawRoundedRect(tile, s * 0.2, s * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s * 0.45), s * 0.18, s * 0.18);
    // Waveform bars.
    const qreal heights[] = {0.25, 0.5, 0.8, 0.55, 0.35};
    const int bars = 5;
    const qreal barW = s * 0.1;
    const qreal gap = s * 0.06;
    const qreal total = bars * barW + (bars - 1) * gap;
    const qreal x0 = size >= 32 ? s * 0.12 : (s - total) / 2;
    p.setBrush(Qt::white);
    for (int i = 0; i < bars; ++i) {
        const qreal h = heights[i] * s * 0.62;
        p.drawRoundedRect(QRectF(x0 + i * (barW + gap), (s - h) / 2, barW, h), barW / 2, barW / 2);
    }
    if (size >= 32) {
        // An orange arrow out of the tile: recordings coming out.
        const qreal ax = s * 0.8;
        const qreal ay = s * 0.6;
        QPolygonF arrow({QPointF(ax - s * 0.06, ay - s * 0.22),
                         QPointF(ax + s * 0.06, ay - s * 0.22), QPointF(ax + s * 0.06, ay),
                         QPointF(ax + s * 0.14, ay), QPointF(ax, ay + s * 0.16),
                         QPointF(ax - s * 0.14, ay), QPointF(ax - s * 0.06, ay)});
        p.setPen(QPen(QColor(0x8A, 0x3A, 0x00), 1));
        p.setBrush(QColor(0xFF, 0xA2, 0x1E));
        p.drawPolygon(arrow);
    }
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void addSharedArt(ArtSet &out)
{
    out.emplace_back(QStringLiteral("MACOS_FORM_BACKGROUND"), macFormBackground());
    out.emplace_back(QStringLiteral("PROTEIN_FORM_BACKGROUND"), proteinFormBackground());
    out.emplace_back(QStringLiteral("MACOS_MENU_BAR"),
                     verticalGradient(1, 22,
                                      {{0, QColor(0xFA, 0xFA, 0xFA)},
                                       {0.5, QColor(0xEC, 0xEC, 0xEC)},
                                       {0.95, QColor(0xD4, 0xD4, 0xD4)},
                                       {1, QColor(0xA8, 0xA8, 0xA8)}}));
    out.emplace_back(QStringLiteral("MACOS_MENU_SELECT"),
                     verticalGradient(1, 21,
                                      {{0, QColor(0x6E, 0x9A, 0xE8)},
                                       {0.5, QColor(0x39, 0x73, 0xC4)},
                                       {1, QColor(0x2A, 0x5C, 0xB0)}}));
    out.emplace_back(QStringLiteral("MENU_CHECKED"), menuChecked());
    out.emplace_back(QStringLiteral("MORE_SCROLLBUTTON"), moreScrollButtons());
    out.emplace_back(QStringLiteral("MAINICON"), mainIcon(48));
    out.emplace_back(QStringLiteral("MAINICON_32"), mainIcon(32));
    out.emplace_back(QStringLiteral("MAINICON_16"), mainIcon(16));
}

} // namespace art
