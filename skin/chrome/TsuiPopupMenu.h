#pragma once
// A pop-up menu whose items are measured and drawn by the skinned menu code in the menu's
// style (image bar, selection box, check marks, shortcuts, flat border).

#include "skin/chrome/TsuiMenuBase.h"

#include <QMenu>

class TsuiPopupMenu : public QMenu, public TsuiMenuBase
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
    // The initial style is that of the owner form's skinned frame (DeepBlue without one).
    explicit TsuiPopupMenu(QWidget *owner = nullptr);

    // Shows the menu with its top-left corner at the screen point (x, y).
    void Popup(int x, int y);
};
