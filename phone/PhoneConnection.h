// Connects to the phone: starts the library's attempt, then polls its status on the window's
// timer (every 100 ms) at most 50 times and reports each step as a status text. The object
// lives on the user-interface thread; library callbacks from other threads are brought there.
#pragma once

#include "phone/PhoneLibrary.h"

#include <QObject>
#include <QString>

class QTimer;

namespace vocafetch {

class PhoneConnection : public QObject
{
    Q_OBJECT

public:
    enum class PollResult
    {
        Waiting,  // not ready yet; the timer keeps running
        Ready,    // the phone is ready and the timer is stopped: run the download now
        TimedOut, // the attempt gave up and the timer is stopped
    };

    static constexpr int MaxPolls = 50;

    // `timer` is the window's poll timer; it is started and stopped here, never deleted.
    PhoneConnection(PhoneLibrary &library, QTimer &timer, QObject *parent = nullptr);

    // Begins an attempt; a new request while one runs starts the library and the count afresh.
    void begin();
    // One poll step, to be run on each tick of the timer.
    PollResult poll();

    // Ticks handled since the current attempt began (ConnectTicks).
    int connectTicks() const { return ConnectTicks; }

signals:
    void statusTextChanged(const QString &text);

private:
    PhoneLibrary::ConnectCallback makeCallback();
    void stop();

    PhoneLibrary &m_library;
    QTimer &m_timer;
    int ConnectTicks = 0;
};

} // namespace vocafetch
