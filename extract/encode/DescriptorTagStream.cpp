#include "extract/encode/DescriptorTagStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vocafetch {

namespace {

// Bytes moved at a time when a tag grows or shrinks in front of the audio.
constexpr qint64 ShiftBuffer = qint64(1) << 20;

} // namespace

void DescriptorTagStream::fail(int error)
{
    if (m_error == 0)
        m_error = error != 0 ? error : EIO;
}

qint64 DescriptorTagStream::readAt(qint64 offset, char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_fd, data + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            fail(errno);
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool DescriptorTagStream::writeAt(qint64 offset, const char *data, qint64 size)
{
    if (failed())
        return false;
    qint64 done = 0;
    while (done < size) {
        const ssize_t wrote =
            ::pwrite(m_fd, data + done, size_t(size - done), off_t(offset + done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            fail(wrote < 0 ? errno : ENOSPC);
            return false;
        }
        done += wrote;
    }
    return true;
}

TagLib::ByteVector DescriptorTagStream::readBlock(unsigned long length)
{
    TagLib::ByteVector block(static_cast<unsigned int>(length), '\0');
    const qint64 got = readAt(m_position, block.data(), qint64(length));
    block.resize(static_cast<unsigned int>(got));
    m_position += long(got);
    return block;
}

void DescriptorTagStream::writeBlock(const TagLib::ByteVector &data)
{
    if (writeAt(m_position, data.data(), data.size()))
        m_position += long(data.size());
}

void DescriptorTagStream::shiftTail(qint64 from, qint64 delta)
{
    const qint64 end = length();
    if (delta == 0 || from >= end || failed())
        return;
    QByteArray buffer(int(std::min(ShiftBuffer, end - from)), Qt::Uninitialized);
    if (delta > 0) {
        // Growing: from the end backwards, so nothing is overwritten before it is moved.
        for (qint64 at = end; at > from && !failed();) {
            const qint64 size = std::min<qint64>(buffer.size(), at - from);
            at -= size;
            if (readAt(at, buffer.data(), size) == size)
                writeAt(at + delta, buffer.constData(), size);
            else
                fail(EIO);
        }
        return;
    }
    for (qint64 at = from; at < end && !failed();) {
        const qint64 size = std::min<qint64>(buffer.size(), end - at);
        if (readAt(at, buffer.data(), size) == size)
            writeAt(at + delta, buffer.constData(), size);
        else
            fail(EIO);
        at += size;
    }
    truncate(long(end + delta));
}

void DescriptorTagStream::insert(const TagLib::ByteVector &data, unsigned long start,
                                 unsigned long replace)
{
    const qint64 delta = qint64(data.size()) - qint64(replace);
    shiftTail(qint64(start + replace), delta);
    if (writeAt(qint64(start), data.data(), data.size()))
        m_position = long(start + data.size());
}

void DescriptorTagStream::removeBlock(unsigned long start, unsigned long length)
{
    shiftTail(qint64(start + length), -qint64(length));
}

void DescriptorTagStream::seek(long offset, Position p)
{
    if (p == Current)
        offset += m_position;
    else if (p == End)
        offset += length();
    m_position = std::max(0L, offset);
}

long DescriptorTagStream::length()
{
    struct stat info = {};
    if (::fstat(m_fd, &info) != 0) {
        fail(errno);
        return 0;
    }
    return long(info.st_size);
}

void DescriptorTagStream::truncate(long length)
{
    if (!failed() && ::ftruncate(m_fd, off_t(length)) != 0)
        fail(errno);
}

} // namespace vocafetch
