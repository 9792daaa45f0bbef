#pragma once

#include <QIODevice>
#include <QString>

#include <sndfile.h>

namespace vocafetch {

// libsndfile's virtual I/O over a random-access QIODevice. The stream libsndfile sees begins at
// the device's position when the bridge is made, so bytes written before (a tag) stay in front.
// libsndfile's encoders ignore some short writes, so the bridge keeps the first failure itself.

class SndfileDevice
{
public:
    explicit SndfileDevice(QIODevice &device);
    SndfileDevice(const SndfileDevice &) = delete;
    SndfileDevice &operator=(const SndfileDevice &) = delete;

    // The callbacks to pass to sf_open_virtual with this object as user data.
    static SF_VIRTUAL_IO *callbacks();

    bool failed() const { return !m_failure.isEmpty(); }
    // The device's reason for the first write or seek that failed.
    const QString &failure() const { return m_failure; }

private:
    static sf_count_t length(void *self);
    static sf_count_t seek(sf_count_t offset, int whence, void *self);
    static sf_count_t read(void *buffer, sf_count_t count, void *self);
    static sf_count_t write(const void *buffer, sf_count_t count, void *self);
    static sf_count_t tell(void *self);

    void fail();

    QIODevice &m_device;
    qint64 m_base;
    QString m_failure;
};

} // namespace vocafetch
