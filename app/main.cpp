#include "app/AboutBox.h"
#include "app/ContainerDropTarget.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    QtDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    windows.Form1->show();
    // The program reads no options; a file manager's "open with" hands it containers to list.
    const QStringList opened = ContainerFilesAmong(app.arguments().mid(1));
    if (!opened.isEmpty())
        windows.Form1->ListContainers(opened);
    return app.exec();
}
