#include "extract/encode/SndfileDevice.h"

#include <cstdio>

namespace vocafetch {

namespace {

SndfileDevice &bridge(void *self)
{
    return *static_cast<SndfileDevice *>(self);
}

} // namespace

SndfileDevice::SndfileDevice(QIODevice &device) : m_device(device), m_base(device.pos()) {}

SF_VIRTUAL_IO *SndfileDevice::callbacks()
{
    static SF_VIRTUAL_IO io = {&SndfileDevice::length, &SndfileDevice::seek, &SndfileDevice::read,
                               &SndfileDevice::write, &SndfileDevice::tell};
    return &io;
}

void SndfileDevice::fail()
{
    if (m_failure.isEmpty()) {
        m_failure = m_device.errorString();
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("Unknown error");
    }
}

sf_count_t SndfileDevice::length(void *self)
{
    SndfileDevice &io = bridge(self);
    return io.m_device.size() - io.m_base;
}

sf_count_t SndfileDevice::seek(sf_count_t offset, int whence, void *self)
{
    SndfileDevice &io = bridge(self);
    qint64 target = offset;
    if (whence == SEEK_CUR)
        target += io.m_device.pos() - io.m_base;
    else if (whence == SEEK_END)
        target += io.m_device.size() - io.m_base;
    // Seeking a file device flushes its buffer, so a full disk may show here first.
    if (target < 0 || !io.m_device.seek(io.m_base + target)) {
        io.fail();
        return -1;
    }
    return target;
}

sf_count_t SndfileDevice::read(void *buffer, sf_count_t count, void *self)
{
    const qint64 got = bridge(self).m_device.read(static_cast<char *>(buffer), count);
    return got < 0 ? 0 : got;
}

sf_count_t SndfileDevice::write(const void *buffer, sf_count_t count, void *self)
{
    SndfileDevice &io = bridge(self);
    const qint64 wrote = io.m_device.write(static_cast<const char *>(buffer), count);
    if (wrote != count)
        io.fail();
    return wrote < 0 ? 0 : wrote;
}

sf_count_t SndfileDevice::tell(void *self)
{
    SndfileDevice &io = bridge(self);
    return io.m_device.pos() - io.m_base;
}

} // namespace vocafetch
