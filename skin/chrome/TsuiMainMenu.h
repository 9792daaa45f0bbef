#pragma once
// The skinned main menu: a tree of menus whose top-level items the skinned form frame shows as
// buttons on its own menu bar, and whose drop-down menus are drawn by the skinned menu code.

#include "skin/chrome/TsuiMenuBase.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

class TsuiForm;

class TsuiMainMenu : public QObject, public TsuiMenuBase
{
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE setOwnerDraw)
    Q_PROPERTY(TsuiFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(SkinStyles::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE setMenuItemHeight)
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE setSeparatorHeight)
    Q_PROPERTY(int BarWidth READ BarWidth WRITE setBarWidth)
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE setFlatMenu)
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE setUseSystemFont)

public:
    // With a form as owner the menu shows itself on the form's skinned frame, if it has one.
    explicit TsuiMainMenu(QWidget *owner = nullptr);
    ~TsuiMainMenu() override;

    // Adds a top-level item with a drop-down menu.
    QMenu *addMenu(const QString &title);
    QMenu *addMenu(const QIcon &icon, const QString &title);
    // The top-level items in menu order; each one's menu() is its drop-down menu.
    QList<QAction *> items() const { return m_root.actions(); }

    // Hands every item to the skinned drawing and rebuilds the frame's menu bar; run once the
    // items are in place.
    void Loaded();

    // The frame that shows this menu (set by the frame).
    TsuiForm *form() const { return m_form; }
    void setForm(TsuiForm *form) { m_form = form; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void menuLookChanged() override;

private:
    QMenu m_root; // never shown: holds the top-level items
    QPointer<TsuiForm> m_form;
};
