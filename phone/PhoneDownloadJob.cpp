#include "phone/PhoneDownloadJob.h"

#include <QMetaObject>

namespace vocafetch {

PhoneDownloadJob::PhoneDownloadJob(PhoneLibrary &library, const QString &startDir,
                                   PhoneCopyRegistry &copies, QObject *parent)
    : QObject(parent),
      m_download(library, startDir, copies, [this](const QString &text) { showStatus(text); })
{
}

PhoneDownloadJob::~PhoneDownloadJob()
{
    stop();
}

void PhoneDownloadJob::start()
{
    Q_ASSERT(!m_thread);
    m_thread.reset(QThread::create([this] { work(); }));
    m_running = true;
    m_thread->start();
}

void PhoneDownloadJob::stop()
{
    m_download.cancel();
    if (m_thread)
        m_thread->wait();
    m_running = false;
    m_stopped = true;
}

void PhoneDownloadJob::work()
{
    try {
        m_download.run();
    } catch (...) {
        m_failure = std::current_exception();
    }
    // Posted after every status text, so the end is seen after them.
    QMetaObject::invokeMethod(
        this, [this] { finish(); }, Qt::QueuedConnection);
}

void PhoneDownloadJob::showStatus(const QString &text)
{
    // Called on the download's thread; shown on the job's. A call still queued when the job is
    // destroyed is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (!m_stopped)
                emit statusTextChanged(text);
        },
        Qt::QueuedConnection);
}

void PhoneDownloadJob::finish()
{
    if (m_stopped)
        return;
    m_thread->wait();
    m_running = false;
    emit finished();
}

} // namespace vocafetch
