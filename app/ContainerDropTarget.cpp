#include "app/ContainerDropTarget.h"

#include "app/MainWindow.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace vocafetch {

QStringList ContainerFilesAmong(const QStringList &paths)
{
    QStringList containers;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.suffix().compare(QLatin1String("drf"), Qt::CaseInsensitive) == 0 && !info.isDir())
            containers << info.absoluteFilePath();
    }
    return containers;
}

QStringList ContainerFilesIn(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return ContainerFilesAmong(paths);
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
        if (ContainerFilesIn(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList containers = ContainerFilesIn(drop->mimeData());
        if (containers.isEmpty()) {
            drop->ignore();
        } else {
            drop->acceptProposedAction();
            m_form->ListContainers(containers);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace vocafetch
