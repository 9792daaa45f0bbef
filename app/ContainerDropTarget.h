#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;

namespace vocafetch {

class TForm1;

// Of the given local paths, the recording containers (".drf", any letter case, not a folder),
// made absolute and in their order.
QStringList ContainerFilesAmong(const QStringList &paths);

// The containers among the local files a drag carries.
QStringList ContainerFilesIn(const QMimeData *mime);

// Lets the main window take ".drf" files dropped from a file manager: it lists them as the
// open command does. A drag that carries no container is refused, so the cursor shows that
// dropping does nothing.
class ContainerDropTarget : public QObject
{
    Q_OBJECT
public:
    explicit ContainerDropTarget(TForm1 *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TForm1 *m_form;
};

} // namespace vocafetch
