#include "app/ContainerDropTarget.h"

#include "app/MainWindow.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace vocafetch {

QStringList LocalPathsIn(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

ContainerDropTarget::ContainerDropTarget(TForm1 *form) : QObject(form), m_form(form)
{
    form->setAcceptDrops(true);
    form->installEventFilter(this);
}

bool ContainerDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (LocalPathsIn(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = LocalPathsIn(drop->mimeData());
        if (paths.isEmpty()) {
            drop->ignore();
        } else {
            drop->acceptProposedAction();
            m_form->ListContainers(paths);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace vocafetch
