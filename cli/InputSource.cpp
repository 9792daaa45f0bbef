#include "cli/InputSource.h"

#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/io/IoErrors.h"
#include "extract/io/OutputFolder.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocafetch {

using vocafetch::UniqueFd;

namespace {

constexpr qint64 ReadSize = qint64(1) << 20;

// Standard input is mapped when it is a regular file read from its start, or a block device.
bool mappable(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return false;
    return S_ISBLK(info.st_mode) || (S_ISREG(info.st_mode) && ::lseek(fd, 0, SEEK_CUR) == 0);
}

// Waits until the stream has bytes or has ended: a pipe nobody has opened for writing yet
// neither reads nor ends until someone does.
void waitForBytes(int fd, const QByteArray &path)
{
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, -1) < 0) {
        if (errno != EINTR)
            throw vocafetch::systemError("read", path, errno);
    }
}

void writeAll(int fd, const char *data, qint64 length, const std::function<void(int)> &failed)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, size_t(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            failed(written < 0 ? errno : ENOSPC);
        data += written;
        length -= written;
    }
}

// An unnamed file in folder; where the file system has none, a hidden one created and removed
// at once.
UniqueFd unnamedFile(int folder, const std::function<void(int)> &failed)
{
    UniqueFd fd(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd.valid())
        return fd;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        failed(errno);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Named as the output files' temporaries, so that a run killed before the name went
        // leaves nothing the next run does not remove.
        const QByteArray name = ".vocafetch-" +
                                QByteArray::number(QRandomGenerator::system()->generate64(), 16)
                                    .rightJustified(16, '0') +
                                ".tmp";
        fd.reset(::openat(folder, name.constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.valid()) {
            ::unlinkat(folder, name.constData(), 0);
            return fd;
        }
        if (errno != EEXIST)
            failed(errno);
    }
    failed(EEXIST);
    return fd;
}

} // namespace

UniqueFd duplicate(int fd)
{
    return UniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
}

InputSource openInput(const ContainerInput &input)
{
    InputSource source;
    const QByteArray path = vocafetch::bytesFromName(input.path);
    if (input.standardInput) {
        UniqueFd fd = duplicate(STDIN_FILENO);
        if (!fd.valid())
            throw FileErrors::cannotOpen(input.path, QString::fromLocal8Bit(std::strerror(errno)));
        if (mappable(fd.get()))
            source.mapped = std::make_unique<vocafetch::ContainerSource>(path, std::move(fd));
        else
            source.stream = std::move(fd);
        return source;
    }
    const FileErrors::OpenedContainer opened = FileErrors::openContainer(input.path, true);
    UniqueFd fd(opened.fd);
    if (opened.type == FileErrors::ContainerFileType::Stream)
        source.stream = std::move(fd);
    else
        source.mapped = std::make_unique<vocafetch::ContainerSource>(path, std::move(fd));
    return source;
}

void readStream(int fd, const QString &path,
                const std::function<void(const char *data, qint64 length)> &take)
{
    const QByteArray pathBytes = vocafetch::bytesFromName(path);
    QByteArray buffer(qsizetype(ReadSize), Qt::Uninitialized);
    for (;;) {
        waitForBytes(fd, pathBytes);
        const ssize_t got = ::read(fd, buffer.data(), size_t(buffer.size()));
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0)
            throw vocafetch::systemError("read", pathBytes, errno);
        if (got == 0)
            return;
        take(buffer.constData(), got);
    }
}

UniqueFd spoolStream(int fd, const QString &path, const QByteArray &folder,
                     const std::function<void(qint64 length)> &advance)
{
    const auto failed = [&](int error) {
        throw ExtractError(QStringLiteral("Cannot keep \"%1\" in \"%2\": %3")
                               .arg(vocafetch::displayName(path), vocafetch::displayPath(folder),
                                    QString::fromLocal8Bit(std::strerror(error))),
                           vocafetch::ErrorKind::CannotCreate, vocafetch::displayName(path),
                           QString::fromLocal8Bit(std::strerror(error)));
    };
    const vocafetch::OutputFolder kept = vocafetch::OutputFolder::open(folder);
    UniqueFd spool = unnamedFile(kept.descriptor(), failed);
    readStream(fd, path, [&](const char *data, qint64 length) {
        writeAll(spool.get(), data, length, failed);
        if (advance)
            advance(length);
    });
    return spool;
}

} // namespace vocafetch
