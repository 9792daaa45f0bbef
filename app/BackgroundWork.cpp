#include "app/BackgroundWork.h"

#include <QEventLoop>
#include <QMetaObject>

#include <atomic>
#include <exception>
#include <thread>

namespace vocafetch {

void runOffWindowThread(const std::function<void()> &work)
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
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace vocafetch
