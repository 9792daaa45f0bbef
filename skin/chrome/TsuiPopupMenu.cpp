#include "skin/chrome/TsuiPopupMenu.h"

#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

using namespace vocafetch;

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
