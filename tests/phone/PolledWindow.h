// The window's phone side in miniature: a real timer drives the connection, a ready phone
// runs the download into `startDir`, and every status text is recorded.
#pragma once

#include "phone/PhoneConnection.h"
#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownload.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace vocafetch {

struct PolledWindow
{
    PolledWindow(PhoneLibrary &phone, const QString &startDir, int intervalMs)
        : library(phone), startDir(startDir)
    {
        timer.setInterval(intervalMs);
        QObject::connect(&connection, &PhoneConnection::statusTextChanged,
                         [this](const QString &text) { showStatus(text); });
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (connection.poll() == PhoneConnection::PollResult::Ready)
                download();
        });
    }

    void showStatus(const QString &text)
    {
        texts << text;
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
    }

    void download()
    {
        PhoneDownload download(library, startDir, copies,
                               [this](const QString &t) { showStatus(t); });
        download.run();
        result = download.result();
        ++downloads;
    }

    // Runs the event loop until the timer has stopped.
    bool waitUntilIdle()
    {
        const QDeadlineTimer deadline(20000);
        while (timer.isActive() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return !timer.isActive();
    }

    PhoneLibrary &library;
    QString startDir;
    QTimer timer;
    PhoneConnection connection{library, timer};
    PhoneCopyRegistry copies;
    PhoneDownloadResult result;
    QStringList texts;
    bool onUiThread = true;
    int ticks = 0;
    int downloads = 0;
};

} // namespace vocafetch
