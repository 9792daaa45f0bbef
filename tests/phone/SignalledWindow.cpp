// The window as the program starts it, for the termination-signal tests: it reads the phone
// (the stand-in library serving P2K_PHONE_ROOT) at once, prints the path of each copy and then
// "ready" when the read has ended, and runs until it is ended.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace vocafetch;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::prepareApplication(app, vocafetch::Language::Russian);
    FakeDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    TForm1 &window = *windows.Form1;
    Startup::closeOnTerminationSignals(window);
    window.show();

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window.Timer1->isActive() || window.isReadingPhone())
            return;
        watch.stop();
        for (const QString &path : std::as_const(window.DrfPathList))
            std::printf("%s\n", qPrintable(path));
        std::printf("ready\n");
        std::fflush(stdout);
    });
    window.Timer1->setInterval(10);
    window.suiButton1->click();
    watch.start(10);
    return app.exec();
}
