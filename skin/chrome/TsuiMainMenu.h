#pragma once
// The skinned main menu: a tree of menus whose top-level items the skinned form frame it is
// attached to (TsuiForm::setMenu) shows as buttons on its own menu bar, and whose drop-down
// menus are drawn by the skinned menu code. The menu knows no frame: it reports its changes.

#include "skin/chrome/TsuiMenuBase.h"

#include <QMenu>
#include <QObject>

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
    // Takes the style of owner's frame; the window then attaches the menu to that frame.
    explicit TsuiMainMenu(QWidget *owner = nullptr);
    ~TsuiMainMenu() override;

    // Adds a top-level item with a drop-down menu.
    QMenu *addMenu(const QString &title);
    QMenu *addMenu(const QIcon &icon, const QString &title);
    // The top-level items in menu order; each one's menu() is its drop-down menu.
    QList<QAction *> items() const { return m_root.actions(); }

    // Hands every item to the skinned drawing and reports the items replaced; run once the
    // items are in place.
    void Loaded();

signals:
    // Top-level items were added, removed or loaded.
    void itemsReplaced();
    // A top-level item's caption or enabled state changed.
    void itemsChanged();
    // The font the menu bar shows changed.
    void lookChanged();
    // The menu is going: its items are still there.
    void aboutToBeDestroyed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void menuLookChanged() override;

private:
    QMenu m_root; // never shown: holds the top-level items
};
