#include "app/ImageList.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace vocafetch {

// The pictures are drawn here rather than shipped as files: small, crisp at 16 x 16, and
// every one of them is the program's own.
namespace {

using Drawing = std::function<void(QPainter &)>;

QPixmap draw(const Drawing &drawing)
{
    QImage image(ImageList::IconSize, ImageList::IconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

const QColor Outline(40, 40, 60);

// A sheet of paper with a folded top-right corner.
void paperSheet(QPainter &p, const QColor &fill)
{
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(Outline, 1));
    p.setBrush(fill);
    p.drawPath(sheet);
    p.setBrush(QColor(210, 210, 220));
    p.drawPolygon(QPolygonF({{10.5, 0.5}, {10.5, 3.5}, {13.5, 3.5}}));
}

// A short sound wave across the middle of a 16 x 16 cell.
void soundWave(QPainter &p, const QColor &colour, qreal left, qreal top)
{
    p.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap));
    const qreal heights[] = {2, 5, 3, 6, 2, 4};
    for (int i = 0; i < 6; ++i) {
        const qreal x = left + i * 1.5;
        p.drawLine(QPointF(x, top - heights[i] / 2), QPointF(x, top + heights[i] / 2));
    }
}

void container(QPainter &p)
{
    paperSheet(p, QColor(250, 250, 245));
    p.fillRect(QRectF(3, 11, 10, 4), QColor(0, 44, 200));
    soundWave(p, QColor(0, 90, 170), 4, 6.5);
}

void phoneBody(QPainter &p, const QRectF &body)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(70, 80, 100));
    p.drawRoundedRect(body, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 220, 250));
    p.drawRect(QRectF(body.left() + 1.5, body.top() + 2, body.width() - 3, body.height() * 0.4));
    p.setBrush(QColor(220, 220, 220));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(body.left() + 2 + col * 2.5, body.bottom() - 5 + row * 2, 1.5, 1));
}

void phoneContainer(QPainter &p)
{
    paperSheet(p, QColor(250, 250, 245));
    soundWave(p, QColor(0, 90, 170), 4, 5);
    phoneBody(p, QRectF(8.5, 7.5, 6, 8));
}

void recording(QPainter &p)
{
    // A speaker with sound rings.
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(90, 110, 140));
    p.drawPolygon(
        QPolygonF({{1.5, 5.5}, {4.5, 5.5}, {8.5, 1.5}, {8.5, 14.5}, {4.5, 10.5}, {1.5, 10.5}}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 120, 60), 1.3));
    p.drawArc(QRectF(6, 4.5, 6, 7), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6, 2, 9, 12), -60 * 16, 120 * 16);
}

void floppy(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(40, 90, 190));
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - 2, r.top());
    body.lineTo(r.right(), r.top() + 2);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(
        QRectF(r.left() + r.width() * 0.25, r.top() + 0.5, r.width() * 0.5, r.height() * 0.32));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(
        QRectF(r.left() + 2, r.top() + r.height() * 0.55, r.width() - 4, r.height() * 0.45 - 0.5));
}

void save(QPainter &p)
{
    floppy(p, QRectF(1.5, 1.5, 13, 13));
}

void saveAll(QPainter &p)
{
    floppy(p, QRectF(0.5, 0.5, 10, 10));
    floppy(p, QRectF(5.5, 5.5, 10, 10));
}

void help(QPainter &p)
{
    p.setPen(QPen(QColor(10, 50, 140), 1));
    p.setBrush(QColor(50, 110, 220));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font;
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

void exitDoor(QPainter &p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(160, 100, 50));
    p.drawRect(QRectF(1.5, 0.5, 8, 15));
    p.setBrush(QColor(250, 220, 80));
    p.drawEllipse(QRectF(7, 7.5, 1.5, 1.5));
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 8), QPointF(15, 8));
    p.drawLine(QPointF(12.5, 5.5), QPointF(15, 8));
    p.drawLine(QPointF(12.5, 10.5), QPointF(15, 8));
}

void openFolder(QPainter &p)
{
    p.setPen(QPen(QColor(130, 90, 10), 1));
    p.setBrush(QColor(230, 180, 60));
    p.drawPolygon(
        QPolygonF({{0.5, 2.5}, {5.5, 2.5}, {7, 4.5}, {13.5, 4.5}, {13.5, 14.5}, {0.5, 14.5}}));
    p.setBrush(QColor(255, 215, 100));
    p.drawPolygon(QPolygonF({{2.5, 7.5}, {15.5, 7.5}, {13.5, 14.5}, {0.5, 14.5}}));
}

void phone(QPainter &p)
{
    phoneBody(p, QRectF(4.5, 0.5, 7, 15));
}

void play(QPainter &p)
{
    p.setPen(QPen(QColor(0, 100, 40), 1));
    p.setBrush(QColor(40, 170, 70));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{6, 4}, {12, 8}, {6, 12}}));
}

} // namespace

ImageList::ImageList(QVector<QPixmap> pictures) : m_pictures(std::move(pictures)) {}

ImageList ImageList::containerIcons()
{
    return ImageList({draw(container), draw(phoneContainer)});
}

ImageList ImageList::commandIcons()
{
    return ImageList({draw(recording), draw(save), draw(saveAll), draw(help), draw(exitDoor),
                      draw(openFolder), draw(phone), draw(play)});
}

} // namespace vocafetch
