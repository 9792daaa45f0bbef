#include "phone/PhoneConnection.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace vocafetch {

PhoneConnection::PhoneConnection(PhoneLibrary &library, QTimer &timer, QObject *parent)
    : QObject(parent), m_library(library), m_timer(timer)
{
}

void PhoneConnection::begin()
{
    emit statusTextChanged(tr("Соединение с телефоном..."));
    m_library.p2kInit(makeCallback());
    ConnectTicks = 0;
    m_timer.start();
}

PhoneConnection::PollResult PhoneConnection::poll()
{
    if (ConnectTicks == MaxPolls) {
        stop();
        emit statusTextChanged(tr("Невозможно установить соединение с телефоном"));
        return PollResult::TimedOut;
    }
    if (m_library.p2kGetStatus() == PhoneLibrary::ReadyStatus) {
        emit statusTextChanged(tr("Соединение с телефоном установленно"));
        stop();
        return PollResult::Ready;
    }
    ++ConnectTicks;
    return PollResult::Waiting;
}

void PhoneConnection::stop()
{
    m_timer.stop();
    ConnectTicks = 0;
}

PhoneLibrary::ConnectCallback PhoneConnection::makeCallback()
{
    // The library may call from a thread of its own and after this object is gone: the call
    // is always queued to the application object's (user-interface) thread, and only there
    // is the guard looked at, so no status text ever changes off that thread.
    QPointer<PhoneConnection> guard(this);
    return [guard] {
        QCoreApplication *application = QCoreApplication::instance();
        if (!application)
            return;
        QMetaObject::invokeMethod(
            application,
            [guard] {
                if (guard)
                    emit guard->statusTextChanged(PhoneConnection::tr("Соединение с телефоном..."));
            },
            Qt::QueuedConnection);
    };
}

} // namespace vocafetch
