#include "TsuiPopupMenu.h"

#include "StyleResolve.h"
#include "TsuiFileTheme.h"

TsuiPopupMenu::TsuiPopupMenu(QWidget *owner)
    : QMenu(owner), TsuiMenuBase(this, OwnerFormStyle(owner))
{
    AttachItemHandlers(this);
}

void TsuiPopupMenu::Popup(int x, int y)
{
    AttachItemHandlers(this);
    popup(QPoint(x, y));
}
