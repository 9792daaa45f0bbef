// Runs the event loop until a timer has stopped, without the fixed sleeps of QTest::qWaitFor.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

inline bool waitUntilStopped(const QTimer &timer, int timeoutMs = 20000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (timer.isActive() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return !timer.isActive();
}
