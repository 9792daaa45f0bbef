#include "AboutBox.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    QtDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    windows.Form1->show();
    return app.exec();
}
