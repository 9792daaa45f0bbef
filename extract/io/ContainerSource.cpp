#include "extract/io/ContainerSource.h"

#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/io/IoErrors.h"
#include "extract/io/MappedAccessGuard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vocafetch {

namespace {

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + qint64(time.tv_nsec);
}

} // namespace

bool ContainerSource::Stamp::operator==(const Stamp &other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}

ContainerSource::ContainerSource(const QByteArray &path) : m_path(path)
{
    // One way of opening containers for the whole program, with its messages.
    m_fd = UniqueFd(FileErrors::openContainer(nameFromBytes(path), false).fd);
    openDescriptor();
}

ContainerSource::ContainerSource(const QByteArray &path, UniqueFd fd)
    : m_path(path), m_fd(std::move(fd))
{
    QString refusal;
    if (!FileErrors::containerFileType(m_fd.get(), false, refusal))
        throw FileErrors::cannotOpen(nameFromBytes(path), refusal);
    openDescriptor();
}

void ContainerSource::openDescriptor()
{
    struct stat info;
    m_blockDevice = ::fstat(m_fd.get(), &info) == 0 && S_ISBLK(info.st_mode);
    m_stamp = currentStamp();
    m_size = m_stamp.size;
}

ContainerSource::Stamp ContainerSource::currentStamp() const
{
    struct stat info;
    if (::fstat(m_fd.get(), &info) != 0)
        throw systemError("open", m_path, errno);
    Stamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = qint64(info.st_size);
    if (S_ISBLK(info.st_mode)) {
        // A device's node keeps no size, and its times do not follow writes to the device.
        stamp.size = FileErrors::blockDeviceSize(m_fd.get());
        if (stamp.size < 0)
            throw systemError("open", m_path, errno);
        return stamp;
    }
    stamp.modifiedNs = nanoseconds(info.st_mtim);
    stamp.changedNs = nanoseconds(info.st_ctim);
    return stamp;
}

QByteArray ContainerSource::read(qint64 offset, qint64 length) const
{
    if (length < 0 || length > qint64(0x7fffffff) - 64)
        throw fileError("read", m_path,
                        QStringLiteral("%1 bytes do not fit in one read").arg(length));
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    readInto(offset, bytes.data(), length);
    return bytes;
}

void ContainerSource::readInto(qint64 offset, char *buffer, qint64 length) const
{
    checkRange("read", offset, length);
    while (length > 0) {
        const ssize_t got = ::pread(m_fd.get(), buffer, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw systemError("read", m_path, errno);
        if (got == 0)
            throw changedWhileRead(m_path);
        buffer += got;
        offset += got;
        length -= got;
    }
    // Bytes read after a change would not belong with those read before it.
    checkUnchanged();
}

MappedWindow ContainerSource::map(qint64 offset, qint64 length) const
{
    checkRange("map", offset, length);
    return MappedWindow(m_fd.get(), offset, length, m_path);
}

void ContainerSource::forEachWindow(qint64 windowSize, qint64 overlap,
                                    const std::function<void(const MappedWindow &)> &visit,
                                    MappedWindow *keepLast) const
{
    if (windowSize <= 0 || overlap < 0 || overlap >= windowSize)
        throw fileError("map", m_path,
                        QStringLiteral("a window of %1 bytes cannot overlap the last by %2")
                            .arg(windowSize)
                            .arg(overlap));
    for (qint64 start = 0; start < m_size; start += windowSize - overlap) {
        MappedWindow window = map(start, qMin(windowSize, m_size - start));
        runMappedAccessGuarded(m_path, [&] { visit(window); });
        checkUnchanged();
        if (start + window.size() == m_size) {
            if (keepLast)
                *keepLast = std::move(window);
            break;
        }
    }
}

void ContainerSource::checkRange(const char *action, qint64 offset, qint64 length) const
{
    if (offset < 0 || length < 0 || offset > m_size || length > m_size - offset)
        throw fileError(action, m_path,
                        QStringLiteral("bytes %1 to %2 lie outside its %3 bytes")
                            .arg(offset)
                            .arg(offset + length)
                            .arg(m_size));
}

void ContainerSource::checkUnchanged() const
{
    if (currentStamp() != m_stamp)
        throw changedWhileRead(m_path);
}

} // namespace vocafetch
