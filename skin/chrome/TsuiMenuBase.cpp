#include "skin/chrome/TsuiMenuBase.h"

#include "skin/chrome/TsuiMenuStyle.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <utility>

using namespace vocafetch;

TsuiMenuBase::TsuiMenuBase(QObject *self, TsuiUIStyle style)
    : m_self(self), m_style(style), m_menuStyle(std::make_unique<TsuiMenuStyle>(this))
{
    m_look.checkMark = LoadSkinResource(QStringLiteral("MENU_CHECKED"));
    applyStyle();
}

TsuiMenuBase::~TsuiMenuBase()
{
    // The menus may outlive this object for a moment; they must not keep a dangling style.
    for (const QPointer<QMenu> &menu : qAsConst(m_attached)) {
        if (menu && menu->style() == m_menuStyle.get())
            menu->setStyle(nullptr);
    }
}

void TsuiMenuBase::setUIStyle(TsuiUIStyle style)
{
    m_style = style;
    applyStyle();
}

void TsuiMenuBase::setFileTheme(TsuiFileTheme *theme)
{
    FollowFileTheme(
        m_self, m_theme, theme, [this]() { setUIStyle(TsuiUIStyle::DeepBlue); },
        [this]() { applyStyle(); });
    applyStyle();
}

void TsuiMenuBase::applyStyle()
{
    m_look.style = m_style;
    m_look.barWidth = 26;
    const bool mac = m_style == TsuiUIStyle::MacOS;
    m_look.itemHeight = mac ? 20 : 21;
    m_look.separatorHeight = mac ? 12 : 5;
    setSeparatorColor(mac ? 0 : 8684164);
    const TsuiFileTheme *theme = m_theme.data();
    const std::pair<MenuColor, int> styleColors[] = {
        {MenuColor::Bar, StyleEntry::MenuBarColor},
        {MenuColor::Background, StyleEntry::MenuBackgroundColor},
        {MenuColor::Font, StyleEntry::MenuFontColor},
        {MenuColor::SelectedBorder, StyleEntry::MenuSelectedBorderColor},
        {MenuColor::Selected, StyleEntry::MenuSelectedBackgroundColor},
        {MenuColor::SelectedFont, StyleEntry::MenuSelectedFontColor}};
    for (const auto &[which, entry] : styleColors)
        setMenuColor(which, ResolvedColor(m_style, theme, entry));
    if (mac) {
        m_look.macBarImage = LoadSkinResource(QStringLiteral("MACOS_MENU_BAR"));
        m_look.macSelectImage = LoadSkinResource(QStringLiteral("MACOS_MENU_SELECT"));
    } else {
        m_look.macBarImage = QImage();
        m_look.macSelectImage = QImage();
    }
    refreshMenus();
}

void TsuiMenuBase::setMenuItemHeight(int height)
{
    if (m_style != TsuiUIStyle::MacOS) {
        m_look.itemHeight = height;
        refreshMenus();
    }
}

void TsuiMenuBase::setSeparatorHeight(int height)
{
    if (m_style != TsuiUIStyle::MacOS) {
        m_look.separatorHeight = height;
        refreshMenus();
    }
}

void TsuiMenuBase::setMenuColor(MenuColor which, quint32 c)
{
    // In the order of MenuColor.
    static constexpr QColor SkinMenuLook::*lookColors[MenuColorCount] = {
        &SkinMenuLook::barColor,       &SkinMenuLook::color,
        &SkinMenuLook::separatorColor, &SkinMenuLook::selectedBorderColor,
        &SkinMenuLook::selectedColor,  &SkinMenuLook::selectedFontColor,
        &SkinMenuLook::fontColor};
    m_colors[std::size_t(which)] = c;
    m_look.*lookColors[std::size_t(which)] = BgrToQColor(c);
}

void TsuiMenuBase::setFontName(const QString &name)
{
    m_fontName = name;
    refreshMenus();
}

void TsuiMenuBase::setFontSize(int points)
{
    m_fontSize = points;
    refreshMenus();
}

void TsuiMenuBase::setUseSystemFont(bool use)
{
    m_useSystemFont = use;
    refreshMenus();
}

QFont TsuiMenuBase::menuFont() const
{
    QFont font;
    if (m_useSystemFont && ApplySystemMenuFont(&font))
        return font;
    font.setFamily(m_fontName);
    if (m_fontSize > 0)
        font.setPointSize(m_fontSize);
    return font;
}

SkinMenuLook TsuiMenuBase::look() const
{
    SkinMenuLook look = m_look;
    look.font = menuFont();
    return look;
}

QColor TsuiMenuBase::flatBorderColor() const
{
    return BgrToQColor(ResolvedColor(m_style, m_theme.data(), StyleEntry::FormBackgroundColor));
}

SkinMenuItem TsuiMenuBase::itemFor(const QAction *action) const
{
    SkinMenuItem item;
    if (!action)
        return item;
    item.caption = action->isSeparator() ? QStringLiteral("-") : action->text();
    const qsizetype tab = item.caption.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        item.shortcut = item.caption.mid(tab + 1);
        item.caption.truncate(tab);
    } else if (!action->shortcut().isEmpty()) {
        item.shortcut = action->shortcut().toString(QKeySequence::NativeText);
    }
    item.enabled = action->isEnabled();
    item.checked = action->isCheckable() && action->isChecked();
    if (const QMenu *menu = qobject_cast<const QMenu *>(action->parent()))
        item.isDefault = menu->defaultAction() == action;
    if (m_imagesAssigned)
        item.image = action->icon();
    return item;
}

void TsuiMenuBase::AttachItemHandlers(QMenu *menu)
{
    if (!menu)
        return;
    if (!m_attached.contains(menu))
        m_attached.push_back(menu);
    menu->setStyle(m_menuStyle.get());
    menu->setFont(menuFont());
    for (QAction *action : menu->actions()) {
        action->setShortcutVisibleInContextMenu(true);
        if (action->menu())
            AttachItemHandlers(action->menu());
    }
}

void TsuiMenuBase::refreshMenus()
{
    const QFont font = menuFont();
    for (const QPointer<QMenu> &menu : qAsConst(m_attached)) {
        if (!menu)
            continue;
        menu->setFont(font);
        // New item sizes: let Qt lay the menu out again.
        QEvent styleChange(QEvent::StyleChange);
        QCoreApplication::sendEvent(menu, &styleChange);
        menu->update();
    }
    menuLookChanged();
}
