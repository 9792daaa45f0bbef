#include "skin/chrome/TsuiFormMenuBar.h"

#include "skin/chrome/ChromeAccessibility.h"
#include "skin/chrome/SkinMenuStyle.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>

using namespace vocafetch;

namespace {

// Room beside the caption of a menu-bar button.
constexpr int CaptionPadding = 7;

void frameRect(QPainter *p, const QRect &r, const QColor &color)
{
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    p->fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

constexpr int CaptionFlags =
    Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

void vocafetch::DrawMenuBarButton(QPainter *painter, const QRect &rect, const QString &caption,
                                  bool hot, bool pressed, bool enabled,
                                  const MenuBarButtonLook &look)
{
    painter->save();
    painter->setFont(look.font);
    if (!enabled || (!hot && !pressed)) {
        painter->setPen(enabled ? look.fontColor : SkinMenuDisabledTextColor());
        painter->drawText(rect, CaptionFlags, caption);
        painter->restore();
        return;
    }
    if (look.style == TsuiUIStyle::MacOS) {
        if (!look.macSelectImage.isNull())
            painter->drawImage(rect, look.macSelectImage);
        painter->setPen(look.selectedFontColor);
        painter->drawText(rect.adjusted(0, 0, 0, 2), CaptionFlags, caption);
        painter->restore();
        return;
    }
    QRect r = rect;
    if (pressed)
        r.setRight(r.right() - 2);
    painter->fillRect(r, look.selectedColor);
    frameRect(painter, r, look.selectedBorderColor);
    if (pressed)
        r.setLeft(r.left() + 2);
    r.setTop(r.top() + 2);
    painter->setPen(look.selectedFontColor);
    painter->drawText(r, CaptionFlags, caption);
    painter->restore();
}

TsuiMenuBarButton::TsuiMenuBarButton(QAction *item, QWidget *bar)
    : QAbstractButton(bar), m_item(item)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    installChromeAccessibility();
    // The menu's items keep their shortcuts while the bar shows it.
    addAction(item);
    connect(this, &QAbstractButton::pressed, this, &TsuiMenuBarButton::openMenu);
    refresh();
}

void TsuiMenuBarButton::refresh()
{
    if (!m_item)
        return;
    setText(m_item->text());
    setEnabled(m_item->isEnabled());
    update();
}

QSize TsuiMenuBarButton::sizeHint() const
{
    const auto *bar = qobject_cast<const TsuiFormMenuBar *>(parentWidget());
    const QFontMetrics metrics(bar ? bar->look().font : font());
    const QString shown = QString(text()).remove(QLatin1Char('&'));
    return QSize(metrics.horizontalAdvance(shown) + 2 * CaptionPadding, height());
}

bool TsuiMenuBarButton::menuOpen() const
{
    return m_openMenu && m_openMenu->isVisible();
}

void TsuiMenuBarButton::openMenu()
{
    QMenu *menu = m_item ? m_item->menu() : nullptr;
    if (!menu || menuOpen())
        return;
    m_openMenu = menu;
    menu->installEventFilter(this);
    connect(
        menu, &QMenu::aboutToHide, this,
        [this, menu]() {
            menu->removeEventFilter(this);
            setDown(false);
            // The open menu had the mouse: no leave reached the button meanwhile.
            m_hot = rect().contains(mapFromGlobal(QCursor::pos()));
            update();
        },
        Qt::SingleShotConnection);
    menu->popup(mapToGlobal(QPoint(0, height())));
    setDown(true);
    update();
}

bool TsuiMenuBarButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_openMenu)
        return QAbstractButton::eventFilter(watched, event);
    auto *bar = qobject_cast<TsuiFormMenuBar *>(parentWidget());
    if (event->type() == QEvent::MouseButtonPress) {
        // A press on this button closes the menu and must not open it again.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (rect().contains(mapFromGlobal(global)))
            m_openMenu->setAttribute(Qt::WA_NoMouseReplay);
    } else if (event->type() == QEvent::KeyPress && bar) {
        // Left and right move along the bar, as in a menu bar (right opens a submenu first).
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QAction *active = m_openMenu->activeAction();
        const bool intoSubmenu = key == Qt::Key_Right && active && active->menu();
        if ((key == Qt::Key_Left || key == Qt::Key_Right) && !intoSubmenu) {
            if (TsuiMenuBarButton *next = bar->neighbour(this, key == Qt::Key_Right ? 1 : -1)) {
                m_openMenu->hide();
                QTimer::singleShot(0, next, &TsuiMenuBarButton::openMenu);
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseMove && bar) {
        // Sliding along the bar with a menu open opens the menu of the button under the mouse.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        TsuiMenuBarButton *other = bar->buttonAt(mouse->globalPosition().toPoint());
        if (other && other != this && other->isEnabled()) {
            m_openMenu->hide();
            QTimer::singleShot(0, other, &TsuiMenuBarButton::openMenu);
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

bool TsuiMenuBarButton::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        m_hot = event->type() == QEvent::Enter;
        update();
    }
    return QAbstractButton::event(event);
}

void TsuiMenuBarButton::paintEvent(QPaintEvent *)
{
    const auto *bar = qobject_cast<const TsuiFormMenuBar *>(parentWidget());
    MenuBarButtonLook look = bar ? bar->look() : MenuBarButtonLook();
    QPainter p(this);
    const bool pressed = isDown() || menuOpen();
    const bool hot = m_hot;
    DrawMenuBarButton(&p, rect(), text(), hot, pressed, isEnabled(), look);
}

TsuiFormMenuBar::TsuiFormMenuBar(QWidget *frame) : QWidget(frame)
{
    setObjectName(QStringLiteral("MenuBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    installChromeAccessibility();
    // F10 reaches the menus from the keyboard, as in the platform's own menu bars.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setContext(Qt::WindowShortcut);
    connect(menuKey, &QShortcut::activated, this, &TsuiFormMenuBar::openFirstMenu);
}

void TsuiFormMenuBar::openFirstMenu()
{
    for (TsuiMenuBarButton *button : qAsConst(m_buttons)) {
        QMenu *menu = button->item() ? button->item()->menu() : nullptr;
        if (!button->isVisible() || !button->isEnabled() || !menu)
            continue;
        button->openMenu();
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled() && action->isVisible()) {
                menu->setActiveAction(action);
                break;
            }
        }
        return;
    }
}

void TsuiFormMenuBar::rebuild(const QList<QAction *> &items)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (QAction *item : items) {
        auto *button = new TsuiMenuBarButton(item, this);
        button->setObjectName(item->objectName());
        button->show();
        m_buttons.push_back(button);
    }
    layoutButtons();
}

void TsuiFormMenuBar::refresh()
{
    for (TsuiMenuBarButton *button : qAsConst(m_buttons))
        button->refresh();
    layoutButtons();
}

TsuiMenuBarButton *TsuiFormMenuBar::buttonAt(const QPoint &globalPos) const
{
    for (TsuiMenuBarButton *button : m_buttons) {
        if (button->isVisible() && button->rect().contains(button->mapFromGlobal(globalPos)))
            return button;
    }
    return nullptr;
}

TsuiMenuBarButton *TsuiFormMenuBar::neighbour(const TsuiMenuBarButton *button, int step) const
{
    const int count = int(m_buttons.size());
    const int from = int(m_buttons.indexOf(const_cast<TsuiMenuBarButton *>(button)));
    if (from < 0 || count < 2)
        return nullptr;
    for (int i = 1; i < count; ++i) {
        TsuiMenuBarButton *candidate = m_buttons[((from + step * i) % count + count) % count];
        if (candidate->isEnabled() && candidate->item() && candidate->item()->menu())
            return candidate;
    }
    return nullptr;
}

void TsuiFormMenuBar::layoutButtons()
{
    int x = 0;
    for (TsuiMenuBarButton *button : qAsConst(m_buttons)) {
        button->setGeometry(x, 0, button->sizeHint().width(), height());
        x += button->width();
    }
}

void TsuiFormMenuBar::setLook(const MenuBarButtonLook &look)
{
    m_look = look;
    layoutButtons();
    update();
    for (TsuiMenuBarButton *button : qAsConst(m_buttons))
        button->update();
}

void TsuiFormMenuBar::setBarColor(const QColor &color)
{
    m_barColor = color;
    update();
}

void TsuiFormMenuBar::setBarHeight(int height)
{
    setFixedHeight(std::max(0, height));
    layoutButtons();
}

void TsuiFormMenuBar::setBackgroundImage(const QImage &image)
{
    m_background = image;
    update();
}

void TsuiFormMenuBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull())
        p.drawImage(rect(), m_background);
    else
        p.fillRect(rect(), m_barColor);
}
