#include "skin/chrome/WindowRegion.h"

#include <QWidget>

#include <cmath>

namespace vocafetch {

namespace {

// Pixels cut from the outer side of row y of a corner (0 <= y < radius rows): a pixel stays
// when its centre lies inside the cornerSize x cornerSize ellipse touching the window's edges.
int cornerInset(int y, int cornerSize)
{
    const double r = cornerSize / 2.0;
    const double dy = (y + 0.5 - r) / r;
    if (dy * dy >= 1.0)
        return int(std::ceil(r));
    const double halfWidth = r * std::sqrt(1.0 - dy * dy);
    // First pixel x whose centre x + 0.5 lies at or right of r - halfWidth.
    return std::max(0, int(std::ceil(r - halfWidth - 0.5)));
}

} // namespace

QRegion WindowRegion(const QSize &size, int cornerSize)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return QRegion();
    // The corner ellipse never gets wider than the window or taller than twice its height
    // (the bottom squares then cover the rest).
    const int corner = std::min(cornerSize, w);
    if (corner < 2)
        return QRegion(0, 0, w, h);
    const int cornerRows = std::min(corner / 2, h);
    QRegion region;
    for (int y = 0; y < cornerRows; ++y) {
        const int inset = cornerInset(y, corner);
        if (w - 2 * inset > 0)
            region += QRect(inset, y, w - 2 * inset, 1);
    }
    if (h > cornerRows)
        region += QRect(0, cornerRows, w, h - cornerRows);
    return region;
}

void SetWindowRegion(QWidget *form, int cornerSize)
{
    if (!form)
        return;
    QWidget *window = form->window();
    window->setMask(WindowRegion(window->size(), cornerSize));
    window->update();
}

} // namespace vocafetch
