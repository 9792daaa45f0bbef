#include "skin/chrome/ChromeAccessibility.h"

#include "skin/chrome/TsuiFormMenuBar.h"
#include "skin/chrome/TsuiTitleBar.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWindow>

#include <map>

namespace vocafetch {

namespace {

// A caption as read aloud: without the "&" that marks its access letter ("&&" is one "&").
QString withoutAccessMarks(const QString &caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

// A title of the menu bar: a menu item that drops its menu down.
class MenuBarButtonAccessible : public QAccessibleWidget
{
public:
    explicit MenuBarButtonAccessible(TsuiMenuBarButton *button)
        : QAccessibleWidget(button, QAccessible::MenuItem)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return withoutAccessMarks(button()->text());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = button()->item() && button()->item()->menu();
        s.expanded = button()->menuOpen();
        s.collapsed = s.hasPopup && !s.expanded;
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &action) override
    {
        if ((action == showMenuAction() || action == pressAction()) && button()->isEnabled())
            button()->openMenu();
    }

private:
    TsuiMenuBarButton *button() const { return static_cast<TsuiMenuBarButton *>(widget()); }
};

// One painted button of a title bar, known by its place in the bar's collection.
class TitleBarButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TitleBarButtonAccessible(TsuiTitleBar *bar, int index) : m_bar(bar), m_index(index) {}

    bool isValid() const override { return m_bar && m_index < m_bar->Buttons().count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_bar.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_bar->ButtonAccessibleName(m_index);
        if (t == QAccessible::Description)
            return m_bar->ButtonAccessibleDescription(m_index);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_bar->buttonLayout().rects.value(m_index);
        return r.isEmpty() ? QRect() : QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override
    {
        const bool opensMenu = isValid() && m_bar->Buttons().item(m_index)->ButtonType() ==
                                                TsuiTitleBarBtnType::suiControlBox;
        return opensMenu ? QAccessible::ButtonMenu : QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid() || !m_bar->isVisible() ||
            m_bar->buttonLayout().rects.value(m_index).isEmpty()) {
            s.invisible = true;
            return s;
        }
        s.hasPopup = role() == QAccessible::ButtonMenu;
        s.pressed = m_bar->Pressed() && m_bar->HotButton() == m_index;
        s.hotTracked = m_bar->HotButton() == m_index;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override
    {
        return role() == QAccessible::ButtonMenu ? QStringList{showMenuAction(), pressAction()}
                                                 : QStringList{pressAction()};
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &action) override
    {
        if (isValid() && actionNames().contains(action))
            m_bar->PressButton(m_index);
    }

private:
    QPointer<TsuiTitleBar> m_bar;
    int m_index;
};

// The title bar: its caption, and its buttons as children.
class TitleBarAccessible : public QAccessibleWidget
{
public:
    explicit TitleBarAccessible(TsuiTitleBar *bar) : QAccessibleWidget(bar, QAccessible::TitleBar)
    {
    }
    ~TitleBarAccessible() override
    {
        for (const auto &[index, id] : m_buttons)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return bar()->Caption();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return bar()->Buttons().count(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto found = m_buttons.find(index);
        if (found == m_buttons.end()) {
            auto *button = new TitleBarButtonAccessible(bar(), index);
            found =
                m_buttons.emplace(index, QAccessible::registerAccessibleInterface(button)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (const auto &[index, id] : m_buttons)
            if (QAccessible::accessibleInterface(id) == child)
                return index;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int index = TitleButtonAt(bar()->buttonLayout(), bar()->mapFromGlobal(QPoint(x, y)));
        return index < 0 ? nullptr : child(index);
    }

private:
    TsuiTitleBar *bar() const { return static_cast<TsuiTitleBar *>(widget()); }

    mutable std::map<int, QAccessible::Id> m_buttons;
};

QAccessibleInterface *chromeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("TsuiTitleBar"))
        return new TitleBarAccessible(static_cast<TsuiTitleBar *>(object));
    if (className == QLatin1String("TsuiFormMenuBar"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::MenuBar);
    if (className == QLatin1String("TsuiMenuBarButton"))
        return new MenuBarButtonAccessible(static_cast<TsuiMenuBarButton *>(object));
    return nullptr;
}

} // namespace

void installChromeAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(chromeAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace vocafetch
