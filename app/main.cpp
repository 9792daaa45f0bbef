#include "app/AboutBox.h"
#include "app/ContainerDropTarget.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/MeasureLoad.h"
#include "app/Startup.h"
#include "extract/RawFileName.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    QtDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    windows.Form1->show();
    // The program reads no options; a file manager's "open with" hands it containers to list.
    // Their names keep every byte: Qt's own arguments() would replace those that are not UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << vocafetch::nameFromBytes(QByteArray(argv[i]));
    const QStringList opened = ContainerFilesAmong(arguments);
    if (!opened.isEmpty())
        windows.Form1->ListContainers(opened);
    vocafetch::measureLoadIfAsked(*windows.Form1);
    return app.exec();
}
