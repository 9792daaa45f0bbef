#include "app/AboutBox.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/MeasureLoad.h"
#include "app/StartOptions.h"
#include "app/Startup.h"
#include "extract/RawFileName.h"

#include <QApplication>

#include <cstdio>

#ifndef VOCAFETCH_VERSION
#define VOCAFETCH_VERSION "unknown"
#endif

using namespace vocafetch;

namespace {

// The arguments after the program's name. Their names keep every byte: Qt's own arguments()
// would replace those that are not UTF-8.
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << vocafetch::nameFromBytes(QByteArray(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // A refused command line is told before any window system is asked for.
    vocafetch::StartOptions options;
    try {
        options = vocafetch::parseStartOptions(argumentsOf(argc, argv));
    } catch (const vocafetch::StartOptionError &error) {
        std::fprintf(stderr, "vocafetch: %s\n", error.what());
        return 2;
    }
    // Answered on the terminal: no window, and no display is needed.
    if (options.help) {
        std::fputs(vocafetch::startHelpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vocafetch %s\n", VOCAFETCH_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    Startup::prepareApplication(app, Startup::chooseLanguage(options.language));
    QtDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    Startup::closeOnTerminationSignals(*windows.Form1);
    windows.Form1->show();
    // A file manager's "open with" hands the program files and folders to list. Read again now
    // that QApplication has taken its own options out of argv.
    const QStringList opened = vocafetch::parseStartOptions(argumentsOf(argc, argv)).files;
    if (!opened.isEmpty())
        windows.Form1->ListContainers(opened);
    vocafetch::measureLoadIfAsked(*windows.Form1);
    return app.exec();
}
