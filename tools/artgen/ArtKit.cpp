#include "ArtKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

namespace art {

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage flatten(const QImage &img, const QImage &background)
{
    QImage out = background.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    p.end();
    return out;
}

QImage flatten(const QImage &img, const QColor &background)
{
    QImage bg(img.size(), QImage::Format_RGB32);
    bg.fill(background);
    return flatten(img, bg);
}

QImage flattenMasked(const QImage &img, const QColor &fringe, int threshold)
{
    QImage over = flatten(img, fringe);
    const QImage src = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        QRgb *d = reinterpret_cast<QRgb *>(over.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            if (qAlpha(s[x]) < threshold)
                d[x] = Magenta;
        }
    }
    return over;
}

QImage hstrip(const std::vector<QImage> &frames)
{
    int w = 0;
    int h = 0;
    for (const QImage &f : frames) {
        w += f.width();
        h = std::max(h, f.height());
    }
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Magenta);
    QPainter p(&out);
    int x = 0;
    for (const QImage &f : frames) {
        p.drawImage(x, 0, f);
        x += f.width();
    }
    return out;
}

static QLinearGradient gradient(const QRectF &r, const Stops &stops)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto &[pos, color] : stops)
        g.setColorAt(pos, color);
    return g;
}

QImage verticalGradient(int w, int h, const Stops &stops)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    fillVertical(p, QRectF(0, 0, w, h), stops);
    return img;
}

void fillVertical(QPainter &p, const QRectF &r, const Stops &stops)
{
    p.fillRect(r, gradient(r, stops));
}

QPainterPath roundedRect(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QColor shade(const QColor &c, int percent)
{
    return percent >= 0 ? c.lighter(100 + percent) : c.darker(100 - percent);
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

static void strokeLines(QPainter &p, const QColor &color, qreal width,
                        std::initializer_list<QLineF> lines)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QLineF &l : lines)
        p.drawLine(l);
}

static void fillPolygon(QPainter &p, const QColor &color, const QPolygonF &poly)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(poly);
}

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &r, const QColor &color, qreal weight)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    const qreal u = s / 21.0; // glyph sizes are given for a 21-pixel button
    const qreal w = std::max(1.0, 2.0 * u * weight);
    switch (glyph) {
    case Glyph::Close: {
        const qreal d = 4.5 * u;
        strokeLines(p, color, w * 1.15,
                    {QLineF(c.x() - d, c.y() - d, c.x() + d, c.y() + d),
                     QLineF(c.x() + d, c.y() - d, c.x() - d, c.y() + d)});
        break;
    }
    case Glyph::Minimize: {
        // Rectangular glyphs are drawn on whole pixels so they stay crisp at 17 to 21 pixels.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int t = std::max(2, int(2 * u * weight + 0.5));
        const int x = int(c.x() - 5 * u + 0.5);
        const int y = int(c.y() + 3 * u + 0.5);
        p.fillRect(QRect(x, y, std::max(5, int(7 * u + 0.5)), t), color);
        break;
    }
    case Glyph::Maximize: {
        p.setRenderHint(QPainter::Antialiasing, false);
        const int side = std::max(7, int(10 * u + 0.5));
        const int x = int(c.x() - side / 2.0 + 0.5);
        const int y = int(c.y() - side / 2.0 + 0.5);
        const int t = std::max(2, int(2 * u * weight + 0.5));
        p.fillRect(QRect(x, y, side, t), color);
        p.fillRect(QRect(x, y, 1, side), color);
        p.fillRect(QRect(x + side - 1, y, 1, side), color);
        p.fillRect(QRect(x, y + side - 1, side, 1), color);
        break;
    }
    case Glyph::Restore: {
        p.setRenderHint(QPainter::Antialiasing, false);
        const int side = std::max(6, int(7.5 * u + 0.5));
        const int t = std::max(2, int(2 * u * weight + 0.5));
        const int off = std::max(2, int(3 * u + 0.5));
        const int fx = int(c.x() - (side + off) / 2.0 + 0.5);
        const int fy = int(c.y() - (side + off) / 2.0 + off + 0.5);
        const QRect front(fx, fy, side, side);
        const QRect back = front.translated(off, -off);
        auto window = [&](const QRect &box) {
            p.fillRect(QRect(box.left(), box.top(), box.width(), t), color);
            p.fillRect(QRect(box.left(), box.top(), 1, box.height()), color);
            p.fillRect(QRect(box.right(), box.top(), 1, box.height()), color);
            p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), color);
        };
        QPainterPath all;
        all.addRect(r.adjusted(-2, -2, 2, 2));
        QPainterPath hole;
        hole.addRect(QRectF(front));
        p.setClipPath(all.subtracted(hole));
        window(back);
        p.setClipping(false);
        window(front);
        break;
    }
    case Glyph::Help: {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(int(15 * u + 0.5));
        font.setBold(true);
        p.setFont(font);
        p.setPen(color);
        p.drawText(r.translated(0, 0.5 * u), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Glyph::WindowMenu: {
        // A small window with a title stripe and a drop arrow below: "this window's menu".
        const QRectF win(c.x() - 5.5 * u, c.y() - 5.5 * u, 11 * u, 8 * u);
        p.setPen(QPen(color, w * 0.55));
        p.setBrush(Qt::NoBrush);
        p.drawRect(win);
        p.fillRect(QRectF(win.left(), win.top(), win.width(), 2.5 * u), color);
        fillPolygon(
            p, color,
            QPolygonF({QPointF(c.x() - 3.5 * u, c.y() + 3.5 * u),
                       QPointF(c.x() + 3.5 * u, c.y() + 3.5 * u), QPointF(c.x(), c.y() + 7 * u)}));
        break;
    }
    case Glyph::ArrowUp:
    case Glyph::ArrowDown:
    case Glyph::ArrowLeft:
    case Glyph::ArrowRight: {
        const qreal a = 3.6 * u * weight;
        QPolygonF poly;
        if (glyph == Glyph::ArrowUp)
            poly = {QPointF(c.x() - a * 1.3, c.y() + a * 0.6),
                    QPointF(c.x() + a * 1.3, c.y() + a * 0.6), QPointF(c.x(), c.y() - a * 0.8)};
        else if (glyph == Glyph::ArrowDown)
            poly = {QPointF(c.x() - a * 1.3, c.y() - a * 0.6),
                    QPointF(c.x() + a * 1.3, c.y() - a * 0.6), QPointF(c.x(), c.y() + a * 0.8)};
        else if (glyph == Glyph::ArrowLeft)
            poly = {QPointF(c.x() + a * 0.6, c.y() - a * 1.3),
                    QPointF(c.x() + a * 0.6, c.y() + a * 1.3), QPointF(c.x() - a * 0.8, c.y())};
        else
            poly = {QPointF(c.x() - a * 0.6, c.y() - a * 1.3),
                    QPointF(c.x() - a * 0.6, c.y() + a * 1.3), QPointF(c.x() + a * 0.8, c.y())};
        fillPolygon(p, color, poly);
        break;
    }
    case Glyph::Check: {
        QPainterPath tick;
        tick.moveTo(r.left() + 0.2 * s, r.top() + 0.52 * s);
        tick.lineTo(r.left() + 0.42 * s, r.top() + 0.74 * s);
        tick.lineTo(r.left() + 0.8 * s, r.top() + 0.28 * s);
        p.setPen(QPen(color, std::max(1.5, 0.16 * s * weight), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    }
    p.restore();
}

} // namespace art
