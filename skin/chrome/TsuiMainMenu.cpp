#include "skin/chrome/TsuiMainMenu.h"

#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

#include <QEvent>

using namespace vocafetch;

TsuiMainMenu::TsuiMainMenu(QWidget *owner)
    : QObject(owner), TsuiMenuBase(this, OwnerFormStyle(owner))
{
    m_root.installEventFilter(this);
}

TsuiMainMenu::~TsuiMainMenu()
{
    m_root.removeEventFilter(this);
    emit aboutToBeDestroyed();
}

QMenu *TsuiMainMenu::addMenu(const QString &title)
{
    return m_root.addMenu(title);
}

QMenu *TsuiMainMenu::addMenu(const QIcon &icon, const QString &title)
{
    return m_root.addMenu(icon, title);
}

void TsuiMainMenu::Loaded()
{
    for (QAction *item : items()) {
        if (item->menu())
            AttachItemHandlers(item->menu());
    }
    emit itemsReplaced();
}

bool TsuiMainMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_root) {
        switch (event->type()) {
        case QEvent::ActionAdded:
        case QEvent::ActionRemoved:
            emit itemsReplaced();
            break;
        case QEvent::ActionChanged:
            emit itemsChanged();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TsuiMainMenu::menuLookChanged()
{
    emit lookChanged();
}
