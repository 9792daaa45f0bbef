#pragma once
// The window menu of a skinned title bar: minimise, maximise/restore and close.

#include "skin/chrome/TsuiPopupMenu.h"

class TsuiTitleBar;

class TsuiTitleBarPopupMenu : public TsuiPopupMenu
{
    Q_OBJECT
public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar *bar);

    // Enables each item when the bar has a button of its kind, then shows the menu at the
    // screen point (x, y).
    void Popup(int x, int y);

    QAction *minimizeItem() const { return m_minimize; }
    QAction *maximizeItem() const { return m_maximize; }
    QAction *closeItem() const { return m_close; }

private:
    void updateItems();
    void minimize();
    void maximizeOrRestore();
    void closeForm();

    TsuiTitleBar *m_bar;
    QAction *m_minimize;
    QAction *m_maximize;
    QAction *m_close;
};
