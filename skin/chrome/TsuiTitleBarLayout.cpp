#include "skin/chrome/TsuiTitleBarLayout.h"

namespace vocafetch {

QVector<TitleSectionPlacement> LayoutTitleSections(const QVector<TitleSectionSpec> &sections,
                                                   int barWidth, int barHeight)
{
    QVector<TitleSectionPlacement> placed;
    int left = -1;
    int right = barWidth + 1;
    int client = -1;
    for (int i = 0; i < sections.size(); ++i) {
        const TitleSectionSpec &s = sections[i];
        switch (s.align) {
        case TsuiTitleBarAlign::suiLeft:
            placed.push_back({i, QRect(left + 1, 0, s.width, barHeight), s.stretch});
            left += s.width;
            break;
        case TsuiTitleBarAlign::suiRight:
            if (barWidth - left < s.width)
                break;
            placed.push_back({i, QRect(right - s.width - 1, 0, s.width, barHeight), s.stretch});
            right -= s.width;
            break;
        case TsuiTitleBarAlign::suiClient:
            client = i;
            break;
        }
    }
    if (client >= 0)
        placed.push_back(
            {client, QRect(QPoint(left + 1, 0), QPoint(right - 2, barHeight - 1)), true});
    return placed;
}

TitleButtonLayout LayoutTitleButtons(const QVector<TitleButtonSpec> &buttons, int barWidth,
                                     int leftOffset, int rightOffset, int interval,
                                     bool drawAppIcon)
{
    TitleButtonLayout layout;
    layout.rects.resize(buttons.size());
    int x = barWidth + rightOffset + 1;
    for (int i = 0; i < buttons.size(); ++i) {
        const TitleButtonSpec &b = buttons[i];
        if (!b.visible)
            continue;
        if (b.type == TsuiTitleBarBtnType::suiControlBox) {
            layout.controlBox = i;
            continue;
        }
        x -= b.size.width() + interval + 1;
        layout.rects[i] = QRect(QPoint(x, b.top), b.size);
    }
    int c = leftOffset;
    if (layout.controlBox >= 0) {
        const TitleButtonSpec &box = buttons[layout.controlBox];
        layout.rects[layout.controlBox] = QRect(QPoint(c, box.top), box.size);
        c += drawAppIcon ? 21 : box.size.width() + 5;
    }
    if (c == 0)
        c = 6;
    layout.captionLeft = c;
    layout.captionRight = x;
    return layout;
}

int TitleButtonAt(const TitleButtonLayout &layout, const QPoint &p)
{
    for (int i = 0; i < layout.rects.size(); ++i) {
        const QRect &r = layout.rects[i];
        if (r.isEmpty())
            continue;
        // Edges included on all four sides, as the bar's own point-in-rectangle test does.
        if (p.x() >= r.left() && p.x() <= r.right() + 1 && p.y() >= r.top() &&
            p.y() <= r.bottom() + 1)
            return i;
    }
    return -1;
}

QString FitTitleCaption(const QString &caption, int room,
                        const std::function<int(const QString &)> &width)
{
    if (width(caption) <= room)
        return caption;
    const QString dots = QStringLiteral("...");
    QString rest = caption;
    while (!rest.isEmpty() && width(rest + dots) > room)
        rest.chop(1);
    return rest + dots;
}

Qt::Edges FrameEdgesAt(const QPoint &p, const QSize &clientSize)
{
    const int x = p.x();
    const int y = p.y();
    const int cw = clientSize.width();
    const int ch = clientSize.height();
    const bool left = x < 5;
    const bool top = y < 5;
    const bool right = x > cw - 5;
    const bool bottom = y > ch - 5;
    if (left && top)
        return Qt::LeftEdge | Qt::TopEdge;
    if (right && top)
        return Qt::RightEdge | Qt::TopEdge;
    if (right && bottom)
        return Qt::RightEdge | Qt::BottomEdge;
    if (left && bottom)
        return Qt::LeftEdge | Qt::BottomEdge;
    if (left)
        return Qt::LeftEdge;
    if (top)
        return Qt::TopEdge;
    if (right)
        return Qt::RightEdge;
    if (bottom)
        return Qt::BottomEdge;
    return {};
}

Qt::Edges TitleBarEdgesAt(const QPoint &p, int formClientWidth)
{
    if (p.y() > 4)
        return {};
    if (p.x() <= 4)
        return Qt::TopEdge | Qt::LeftEdge;
    if (p.x() > formClientWidth - 5)
        return Qt::TopEdge | Qt::RightEdge;
    return Qt::TopEdge;
}

} // namespace vocafetch
