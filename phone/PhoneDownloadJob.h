// Runs one phone download on a thread of its own, so that the window stays responsive while
// the phone's files are copied. Its status texts and its end arrive on the thread that owns the
// job, through that thread's event loop, in the order the download gave them.
#pragma once

#include "phone/PhoneDownload.h"

#include <QObject>
#include <QThread>

#include <exception>
#include <memory>

namespace vocafetch {

class PhoneDownloadJob : public QObject
{
    Q_OBJECT

public:
    // The library and the registry are used on the job's thread until it has ended: they must
    // outlive the job, and nothing else may use them meanwhile.
    PhoneDownloadJob(PhoneLibrary &library, const QString &startDir, PhoneCopyRegistry &copies,
                     QObject *parent = nullptr);
    // Stops a download still running, as stop() does.
    ~PhoneDownloadJob() override;

    PhoneDownloadJob(const PhoneDownloadJob &) = delete;
    PhoneDownloadJob &operator=(const PhoneDownloadJob &) = delete;

    // Starts the download; a job runs once.
    void start();
    // From start() until finished() has been emitted or the job was stopped.
    bool isRunning() const { return m_running; }

    // Stops the download before its next file and waits until its thread has ended. The copy
    // being written is finished and recorded first; no later status text or finished() arrives.
    void stop();

    // After finished(): what was copied, and what stopped the download early (a
    // PhoneDownloadError), or null.
    const PhoneDownloadResult &result() const { return m_download.result(); }
    std::exception_ptr failure() const { return m_failure; }

signals:
    void statusTextChanged(const QString &text);
    void finished();

private:
    void work();
    void showStatus(const QString &text);
    void finish();

    PhoneDownload m_download;
    std::unique_ptr<QThread> m_thread;
    std::exception_ptr m_failure;
    bool m_running = false;
    bool m_stopped = false;
};

} // namespace vocafetch
