#include "ProgramIcon.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <QXmlStreamWriter>

#include <vector>

namespace art {

namespace {

// The icon's shapes at one size, so the bitmap and the SVG draw the same picture: a rounded
// blue tile with a shine, a white waveform and, from 32 pixels up, an orange arrow out of it.
struct IconShapes
{
    qreal size = 0;
    QRectF tile;
    qreal tileRadius = 0;
    QRectF shine;
    qreal shineRadius = 0;
    std::vector<QRectF> bars;
    qreal barRadius = 0;
    QPolygonF arrow; // empty below 32 pixels
};

const QColor TileTop(0x4C, 0x9A, 0xFF);
const QColor TileBottom(0x0A, 0x3C, 0xC0);
const QColor TileOutline(0x06, 0x24, 0x80);
const QColor Shine(255, 255, 255, 60);
const QColor ArrowFill(0xFF, 0xA2, 0x1E);
const QColor ArrowOutline(0x8A, 0x3A, 0x00);
constexpr int SvgSize = 256;

IconShapes iconShapes(int size)
{
    IconShapes shapes;
    const qreal s = size;
    shapes.size = s;
    shapes.tile = QRectF(0.5, 0.5, s - 1, s - 1);
    shapes.tileRadius = s * 0.2;
    shapes.shine = QRectF(1.5, 1.5, s - 3, s * 0.45);
    shapes.shineRadius = s * 0.18;

    const qreal heights[] = {0.25, 0.5, 0.8, 0.55, 0.35};
    const int bars = 5;
    const qreal barW = s * 0.1;
    const qreal gap = s * 0.06;
    const qreal total = bars * barW + (bars - 1) * gap;
    // Small icons centre the waveform; larger ones move it left to make room for the arrow.
    const qreal x0 = size >= 32 ? s * 0.12 : (s - total) / 2;
    for (int i = 0; i < bars; ++i) {
        const qreal h = heights[i] * s * 0.62;
        shapes.bars.emplace_back(x0 + i * (barW + gap), (s - h) / 2, barW, h);
    }
    shapes.barRadius = barW / 2;

    if (size >= 32) {
        const qreal ax = s * 0.8;
        const qreal ay = s * 0.6;
        shapes.arrow = QPolygonF({QPointF(ax - s * 0.06, ay - s * 0.22),
                                  QPointF(ax + s * 0.06, ay - s * 0.22), QPointF(ax + s * 0.06, ay),
                                  QPointF(ax + s * 0.14, ay), QPointF(ax, ay + s * 0.16),
                                  QPointF(ax - s * 0.14, ay), QPointF(ax - s * 0.06, ay)});
    }
    return shapes;
}

QString number(qreal value)
{
    return QString::number(value, 'g', 6);
}

QString colour(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

void writeRect(QXmlStreamWriter &xml, const QRectF &r, qreal radius)
{
    xml.writeAttribute(QStringLiteral("x"), number(r.x()));
    xml.writeAttribute(QStringLiteral("y"), number(r.y()));
    xml.writeAttribute(QStringLiteral("width"), number(r.width()));
    xml.writeAttribute(QStringLiteral("height"), number(r.height()));
    xml.writeAttribute(QStringLiteral("rx"), number(radius));
    xml.writeAttribute(QStringLiteral("ry"), number(radius));
}

void writeGradient(QXmlStreamWriter &xml, qreal size)
{
    xml.writeStartElement(QStringLiteral("defs"));
    xml.writeStartElement(QStringLiteral("linearGradient"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("tile"));
    xml.writeAttribute(QStringLiteral("gradientUnits"), QStringLiteral("userSpaceOnUse"));
    xml.writeAttribute(QStringLiteral("x1"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("y1"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("x2"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("y2"), number(size));
    for (const auto &[offset, c] : {std::pair{0, TileTop}, std::pair{1, TileBottom}}) {
        xml.writeEmptyElement(QStringLiteral("stop"));
        xml.writeAttribute(QStringLiteral("offset"), QString::number(offset));
        xml.writeAttribute(QStringLiteral("stop-color"), colour(c));
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

QImage programIcon(int size)
{
    const IconShapes shapes = iconShapes(size);
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, shapes.size);
    gradient.setColorAt(0, TileTop);
    gradient.setColorAt(1, TileBottom);
    p.setPen(QPen(TileOutline, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(shapes.tile, shapes.tileRadius, shapes.tileRadius);
    p.setPen(Qt::NoPen);
    p.setBrush(Shine);
    p.drawRoundedRect(shapes.shine, shapes.shineRadius, shapes.shineRadius);
    p.setBrush(Qt::white);
    for (const QRectF &bar : shapes.bars)
        p.drawRoundedRect(bar, shapes.barRadius, shapes.barRadius);
    if (!shapes.arrow.isEmpty()) {
        p.setPen(QPen(ArrowOutline, 1));
        p.setBrush(ArrowFill);
        p.drawPolygon(shapes.arrow);
    }
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

QByteArray programIconSvg()
{
    const IconShapes shapes = iconShapes(SvgSize);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&buffer);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeComment(QStringLiteral(" The Vocafetch icon. Written by vocafetch-artgen; do not edit "
                                    "by hand. SPDX-License-Identifier: GPL-3.0-or-later "));
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    const QString side = QString::number(SvgSize);
    xml.writeAttribute(QStringLiteral("width"), side);
    xml.writeAttribute(QStringLiteral("height"), side);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %1").arg(side));
    writeGradient(xml, shapes.size);

    xml.writeEmptyElement(QStringLiteral("rect"));
    writeRect(xml, shapes.tile, shapes.tileRadius);
    xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("url(#tile)"));
    xml.writeAttribute(QStringLiteral("stroke"), colour(TileOutline));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));

    xml.writeEmptyElement(QStringLiteral("rect"));
    writeRect(xml, shapes.shine, shapes.shineRadius);
    xml.writeAttribute(QStringLiteral("fill"), colour(Shine));
    xml.writeAttribute(QStringLiteral("fill-opacity"), number(Shine.alphaF()));

    for (const QRectF &bar : shapes.bars) {
        xml.writeEmptyElement(QStringLiteral("rect"));
        writeRect(xml, bar, shapes.barRadius);
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("#ffffff"));
    }

    QStringList points;
    for (const QPointF &point : shapes.arrow)
        points << number(point.x()) + QLatin1Char(',') + number(point.y());
    xml.writeEmptyElement(QStringLiteral("polygon"));
    xml.writeAttribute(QStringLiteral("points"), points.join(QLatin1Char(' ')));
    xml.writeAttribute(QStringLiteral("fill"), colour(ArrowFill));
    xml.writeAttribute(QStringLiteral("stroke"), colour(ArrowOutline));
    xml.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("1"));
    // A pen joins its lines bevelled unless told otherwise.
    xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("bevel"));

    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace art
