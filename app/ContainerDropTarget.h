#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;

namespace vocafetch {

class TForm1;

// The local files and folders a drag carries, in its order.
QStringList LocalPathsIn(const QMimeData *mime);

// Lets the main window take files and folders dropped from a file manager: it lists them as
// the open command does, whatever their names (a folder as the files below it). A drag that
// carries no local file (text, a web address) is refused, so the cursor shows that dropping
// does nothing.
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
