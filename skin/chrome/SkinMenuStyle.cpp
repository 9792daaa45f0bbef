#include "skin/chrome/SkinMenuStyle.h"

#include "skin/style/StyleLookup.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace vocafetch {

namespace {

constexpr int ImageSize = 16;

void fillBarAndBackground(QPainter *p, const QRect &rect, const SkinMenuLook &look)
{
    if (look.barWidth > 0)
        p->fillRect(QRect(rect.left(), rect.top(), look.barWidth, rect.height()), look.barColor);
    p->fillRect(
        QRect(rect.left() + look.barWidth, rect.top(), rect.width() - look.barWidth, rect.height()),
        look.color);
}

// A background bitmap of the MacOS look: the bitmap cut (or padded) to rows rows, stretched over
// the item.
void drawMacBackground(QPainter *p, const QRect &rect, const QImage &image, int rows)
{
    if (image.isNull())
        return;
    p->drawImage(rect, image.copy(0, 0, image.width(), rows));
}

// One-pixel frame on the pixels of r.
void frameRect(QPainter *p, const QRect &r, const QColor &color)
{
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    p->fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

QImage checkMarkImage(const SkinMenuLook &look)
{
    if (!look.checkMark.isNull())
        return MakeColorTransparent(look.checkMark, qRgb(255, 255, 255));
    // No check-mark bitmap available: a plain tick of the same size.
    QImage mark(ImageSize, ImageSize, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    QPainter p(&mark);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(4, 8, 7, 11);
    p.drawLine(7, 11, 12, 4);
    return mark;
}

QPixmap itemPixmap(const QIcon &icon, bool enabled)
{
    return icon.pixmap(QSize(ImageSize, ImageSize), 1.0, enabled ? QIcon::Normal : QIcon::Disabled);
}

void drawSeparator(QPainter *p, const QRect &rect, const SkinMenuLook &look)
{
    if (look.style == TsuiUIStyle::MacOS) {
        drawMacBackground(p, rect, look.macBarImage, 12);
        return;
    }
    fillBarAndBackground(p, rect, look);
    const int x0 = rect.left() + look.barWidth + 4;
    const int x1 = rect.right() + 1 - 2; // exclusive end
    if (x1 > x0)
        p->fillRect(QRect(x0, rect.top() + 2, x1 - x0, 1), look.separatorColor);
}

void drawBackground(QPainter *p, const QRect &rect, bool selectedEnabled, const SkinMenuLook &look)
{
    if (look.style == TsuiUIStyle::MacOS) {
        drawMacBackground(p, rect, selectedEnabled ? look.macSelectImage : look.macBarImage, 20);
        return;
    }
    if (selectedEnabled) {
        p->fillRect(rect, look.selectedColor);
        frameRect(p, rect, look.selectedBorderColor);
    } else {
        fillBarAndBackground(p, rect, look);
    }
}

} // namespace

bool IsSkinMenuSeparator(const SkinMenuItem &item)
{
    return item.caption == QLatin1String("-");
}

QSize MeasureSkinnedMenuItem(const SkinMenuItem &item, const QFontMetrics &metrics,
                             const SkinMenuLook &look)
{
    const int height = IsSkinMenuSeparator(item) ? look.separatorHeight : look.itemHeight;
    const int width = metrics.horizontalAdvance(item.caption) +
                      metrics.horizontalAdvance(item.shortcut) + look.barWidth + 40;
    return QSize(width, height);
}

void DrawSkinnedMenuItem(QPainter *painter, const QRect &rect, const SkinMenuItem &item,
                         bool selected, const SkinMenuLook &look)
{
    painter->save();
    if (IsSkinMenuSeparator(item)) {
        drawSeparator(painter, rect, look);
        painter->restore();
        return;
    }
    drawBackground(painter, rect, selected && item.enabled, look);

    QFont font = look.font;
    if (item.isDefault)
        font.setBold(true);
    painter->setFont(font);
    painter->setBackgroundMode(Qt::TransparentMode);
    QColor text = look.fontColor;
    if (!item.enabled)
        text = SkinMenuDisabledTextColor();
    else if (selected)
        text = look.selectedFontColor;
    painter->setPen(text);

    const int l = rect.left();
    const int t = rect.top();
    const QRect captionRect(QPoint(l + look.barWidth + 4, t + 4), rect.bottomRight());
    painter->drawText(captionRect,
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                      item.caption);
    if (!item.shortcut.isEmpty()) {
        const QFontMetrics metrics(font);
        const int x = rect.right() + 1 - metrics.horizontalAdvance(item.shortcut) - 16;
        painter->drawText(QPoint(x, t + 4 + metrics.ascent()), item.shortcut);
    }

    const bool hasImage = !item.image.isNull();
    if (item.checked && hasImage) {
        frameRect(painter, QRect(l + 2, t + 1, 19, 19), Qt::black);
        painter->fillRect(QRect(l + 3, t + 2, 17, 17), look.selectedColor);
    } else if (item.checked) {
        QImage mark = checkMarkImage(look);
        if (!item.enabled)
            painter->drawPixmap(l + 4, t + 3, itemPixmap(QIcon(QPixmap::fromImage(mark)), false));
        else
            painter->drawImage(l + 4, t + 3, mark);
    }
    if (hasImage)
        painter->drawPixmap(l + 4, t + 3, itemPixmap(item.image, item.enabled));
    painter->restore();
}

void DrawFlatMenuBorder(QPainter *painter, const QRect &windowRect, const QColor &lineColor)
{
    const int wl = windowRect.left();
    const int wt = windowRect.top();
    const int wr = windowRect.right() + 1; // exclusive
    const int wb = windowRect.bottom() + 1;
    painter->save();
    frameRect(painter, QRect(QPoint(wl, wt + 1), QPoint(wr - 2, wb - 2)), Qt::black);
    frameRect(painter, QRect(QPoint(wl + 1, wt + 2), QPoint(wr - 3, wb - 3)), Qt::white);
    // Bottom row, right column and top row; the top row stops short of the left column.
    painter->fillRect(QRect(QPoint(wl, wb - 1), QPoint(wr - 2, wb - 1)), lineColor);
    painter->fillRect(QRect(QPoint(wr - 1, wt), QPoint(wr - 1, wb - 1)), lineColor);
    painter->fillRect(QRect(QPoint(wl + 1, wt), QPoint(wr - 1, wt)), lineColor);
    painter->restore();
}

QFont StandInMenuFont()
{
    // Tahoma at 8 points is 11 pixels high at 96 dots per inch, like the caption's font.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

bool ApplySystemMenuFont(QFont *font)
{
    if (!font || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    // A platform that names a menu font registers it for QMenu; the others answer the general
    // font, and menus in it would stand out beside the title and the buttons.
    const QFont platformMenuFont = QApplication::font("QMenu");
    *font = platformMenuFont == QApplication::font() ? StandInMenuFont() : platformMenuFont;
    return true;
}

} // namespace vocafetch
