#include "app/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMetaObject>

#include <atomic>
#include <exception>
#include <thread>

namespace vocafetch {

namespace {

// While work runs: Escape asks it to stop, and no other key or mouse input reaches a window.
class CancelOnEscape : public QObject
{
public:
    explicit CancelOnEscape(std::atomic<bool> &cancel) : m_cancel(cancel) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                m_cancel = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::atomic<bool> &m_cancel;
};

void runOnThread(const std::function<void()> &work, QEventLoop::ProcessEventsFlags flags)
{
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&]() {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The loop also ends early when the application quits: the work is then waited for.
    if (!done)
        loop.exec(flags);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

void runOffWindowThread(const std::function<void()> &work)
{
    runOnThread(work, QEventLoop::ExcludeUserInputEvents);
}

void runCancellableOffWindowThread(const std::function<void()> &work, std::atomic<bool> &cancel)
{
    CancelOnEscape filter(cancel);
    QCoreApplication::instance()->installEventFilter(&filter);
    try {
        runOnThread(work, QEventLoop::AllEvents);
    } catch (...) {
        QCoreApplication::instance()->removeEventFilter(&filter);
        throw;
    }
    QCoreApplication::instance()->removeEventFilter(&filter);
}

} // namespace vocafetch
