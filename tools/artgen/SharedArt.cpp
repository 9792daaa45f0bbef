// Bitmaps that belong to no single style: form background patterns, the menu pieces of MacOS,
// the menu check mark, the shared scroll button strip and the program icon.
#include "ProgramIcon.h"
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
    out.emplace_back(QStringLiteral("MAINICON"), programIcon(48));
    out.emplace_back(QStringLiteral("MAINICON_32"), programIcon(32));
    out.emplace_back(QStringLiteral("MAINICON_16"), programIcon(16));
}

} // namespace art
