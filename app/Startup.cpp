#include "app/Startup.h"

#include "app/AboutBox.h"
#include "app/AppInfo.h"
#include "app/ImageList.h"
#include "app/Localization.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QLocale>
#include <QSocketNotifier>
#include <QtGlobal>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace vocafetch {

namespace Startup {

namespace {

// The self-pipe: a signal handler may only write a byte, which the event loop then reads.
int signalPipe[2] = {-1, -1};

void writeSignalToPipe(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void drainSignalPipe()
{
    unsigned char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
}

void handleUnlessIgnored(int signalNumber)
{
    struct sigaction previous = {};
    if (sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action = {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

vocafetch::Language chooseLanguage(std::optional<vocafetch::Language> named)
{
    return named ? *named : Localization::systemLanguage(QLocale::system().uiLanguages());
}

void prepareApplication(QApplication &app, vocafetch::Language language)
{
    // The name only: a display name would be appended to every other window's caption.
    app.setApplicationName(AppInfo::Title);
    app.setDesktopFileName(QStringLiteral("vocafetch"));
    Localization::installTranslations(app, language);
    Localization::registerStandInFonts();
    app.setWindowIcon(ImageList::containerIcons().icon(0));
}

Windows createWindows(Dialogs &dialogs)
{
    Windows windows;
    windows.Form1 = std::make_unique<TForm1>(dialogs);
    windows.Form2 = std::make_unique<TForm2>(windows.Form1.get());
    windows.Form1->setAboutBox(windows.Form2.get());
    return windows;
}

void closeOnTerminationSignals(QWidget &window)
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("vocafetch: termination signals will not close the window: %s",
                 qPrintable(qt_error_string(errno)));
        return;
    }
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        drainSignalPipe();
        window.close();
        QCoreApplication::quit();
    });
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        handleUnlessIgnored(signalNumber);
}

} // namespace Startup

} // namespace vocafetch
