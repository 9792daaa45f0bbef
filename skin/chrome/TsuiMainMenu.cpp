#include "skin/chrome/TsuiMainMenu.h"

#include "skin/chrome/TsuiForm.h"
#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

#include <QEvent>

using namespace vocafetch;

namespace {

TsuiForm *firstFrameOf(QWidget *owner)
{
    if (!owner || !owner->isWindow())
        return nullptr;
    for (QObject *child : owner->children()) {
        if (auto *frame = qobject_cast<TsuiForm *>(child))
            return frame;
    }
    return nullptr;
}

} // namespace

TsuiMainMenu::TsuiMainMenu(QWidget *owner)
    : QObject(owner), TsuiMenuBase(this, OwnerFormStyle(owner))
{
    m_root.installEventFilter(this);
    if (TsuiForm *frame = firstFrameOf(owner))
        frame->setMenu(this);
}

TsuiMainMenu::~TsuiMainMenu()
{
    m_root.removeEventFilter(this);
    if (m_form)
        m_form->setMenu(nullptr);
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
    if (m_form)
        m_form->RebuildMenuBar();
}

bool TsuiMainMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_root && m_form) {
        switch (event->type()) {
        case QEvent::ActionAdded:
        case QEvent::ActionRemoved:
            m_form->RebuildMenuBar();
            break;
        case QEvent::ActionChanged:
            m_form->RefreshMenuBar();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TsuiMainMenu::menuLookChanged()
{
    if (m_form)
        m_form->ApplyMenuBarFont();
}
