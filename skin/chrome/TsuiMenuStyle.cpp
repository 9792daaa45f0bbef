#include "skin/chrome/TsuiMenuStyle.h"

#include "skin/chrome/SkinMenuStyle.h"
#include "skin/chrome/TsuiMenuBase.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <qdrawutil.h>

using namespace vocafetch;

namespace {

SkinMenuItem itemFromOption(const QStyleOptionMenuItem &opt, bool withImages)
{
    SkinMenuItem item;
    if (opt.menuItemType == QStyleOptionMenuItem::Separator) {
        item.caption = QStringLiteral("-");
        return item;
    }
    item.caption = opt.text;
    const qsizetype tab = item.caption.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        item.shortcut = item.caption.mid(tab + 1);
        item.caption.truncate(tab);
    }
    item.enabled = opt.state & QStyle::State_Enabled;
    item.checked = opt.checkType != QStyleOptionMenuItem::NotCheckable && opt.checked;
    item.isDefault = opt.menuItemType == QStyleOptionMenuItem::DefaultItem;
    if (withImages)
        item.image = opt.icon;
    return item;
}

bool shortcutShown(const QAction *action)
{
    return action->isShortcutVisibleInContextMenu() && !action->shortcut().isEmpty();
}

} // namespace

TsuiMenuStyle::TsuiMenuStyle(const TsuiMenuBase *menu) : m_menu(menu) {}

int TsuiMenuStyle::itemWidthForQt(const QWidget *widget) const
{
    const auto *menu = qobject_cast<const QMenu *>(widget);
    if (!menu)
        return -1;
    const QFontMetrics metrics(menu->font());
    const SkinMenuLook look = m_menu->look();
    int widest = 0;
    int widestShortcut = 0;
    for (const QAction *action : menu->actions()) {
        if (!action->isVisible())
            continue;
        const SkinMenuItem item = m_menu->itemFor(action);
        widest = std::max(widest, MeasureSkinnedMenuItem(item, metrics, look).width());
        // Qt counts a shortcut typed after a tab in the text, or the action's own when shown.
        if (!action->isSeparator() &&
            (action->text().contains(QLatin1Char('\t')) || shortcutShown(action)))
            widestShortcut = std::max(widestShortcut, metrics.horizontalAdvance(item.shortcut));
    }
    return widest - widestShortcut;
}

QSize TsuiMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                      const QSize &size, const QWidget *widget) const
{
    if (type == CT_MenuItem) {
        if (const auto *opt = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
            const SkinMenuItem item = itemFromOption(*opt, m_menu->ImagesAssigned());
            QSize measured = MeasureSkinnedMenuItem(item, opt->fontMetrics, m_menu->look());
            const int width = itemWidthForQt(widget);
            if (width >= 0)
                measured.setWidth(width);
            return measured;
        }
    }
    if (type == CT_Menu)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void TsuiMenuStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (element == CE_MenuItem) {
        if (const auto *opt = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
            const SkinMenuItem item = itemFromOption(*opt, m_menu->ImagesAssigned());
            DrawSkinnedMenuItem(painter, opt->rect, item, opt->state & State_Selected,
                                m_menu->look());
            return;
        }
    }
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, m_menu->look().color);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TsuiMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                  QPainter *painter, const QWidget *widget) const
{
    if (element == PE_PanelMenu || element == PE_FrameMenu) {
        const QRect r = option->rect;
        if (element == PE_PanelMenu)
            painter->fillRect(r, m_menu->look().color);
        if (m_menu->FlatMenu()) {
            DrawFlatMenuBorder(painter, r, m_menu->flatBorderColor());
        } else {
            // The classic raised menu frame.
            const QPalette &pal = option->palette;
            qDrawWinPanel(painter, r, pal, false, nullptr);
        }
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int TsuiMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                               const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return PanelWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TsuiMenuStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                             QStyleHintReturn *returnData) const
{
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
