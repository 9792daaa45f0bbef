#include "extract/FileErrors.h"

#include "extract/RawFileName.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocafetch {

namespace FileErrors {

const QString NotARegularFile =
    QStringLiteral("Not a regular file (a pipe, device or socket cannot be loaded)");

const QString NotMappableFile =
    QStringLiteral("Not a regular file or block device (a pipe, character device or socket "
                   "cannot be mapped)");
const QString NotReadableFile = QStringLiteral(
    "Not a regular file, block device or pipe (a character device or socket is not read)");

namespace {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString systemText(QString text)
{
    while (!text.isEmpty()) {
        const QChar last = text.back();
        if (!(last.isSpace() || last.category() == QChar::Other_Control ||
              last == QLatin1Char('.')))
            break;
        text.chop(1);
    }
    return text;
}

QString fullPath(const QString &path)
{
    return vocafetch::displayName(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

ExtractError cannotOpen(const QString &path, const QString &reason)
{
    return ExtractError(QStringLiteral("Cannot open %1. (%2.)")
                            .arg(vocafetch::displayName(path), systemText(reason)),
                        vocafetch::ErrorKind::NotReadable, vocafetch::displayName(path),
                        systemText(reason));
}

ExtractError cannotOpenFile(const QString &path, const QString &reason)
{
    return ExtractError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(path), systemText(reason)),
        vocafetch::ErrorKind::CannotOpen, fullPath(path), systemText(reason));
}

ExtractError tooLarge(const QString &path, qint64 size)
{
    return ExtractError(
        QStringLiteral(
            "Cannot open file \"%1\". The file is %2 bytes long; at most 2147483647 bytes can be "
            "loaded. vocafetch-cli handles larger images.")
            .arg(fullPath(path))
            .arg(size),
        vocafetch::ErrorKind::TooLarge, fullPath(path));
}

ExtractError cannotCreateFile(const QString &path, const QString &reason)
{
    return ExtractError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(path), systemText(reason)),
        vocafetch::ErrorKind::CannotCreate, fullPath(path), systemText(reason));
}

int openRegularFile(const QString &path)
{
    // Without O_NONBLOCK the open itself would wait for a pipe's writer; the checks run on what
    // was opened, so nothing can be swapped in between.
    const int fd = ::open(vocafetch::bytesFromName(path).constData(),
                          O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info;
    QString refusal;
    if (fstat(fd, &info) != 0)
        refusal = QString::fromLocal8Bit(std::strerror(errno));
    else if (S_ISDIR(info.st_mode))
        refusal = QStringLiteral("Is a directory");
    else if (!S_ISREG(info.st_mode))
        refusal = NotARegularFile;
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        refusal = QString::fromLocal8Bit(std::strerror(errno));
    if (!refusal.isEmpty()) {
        ::close(fd);
        throw cannotOpen(path, refusal);
    }
    return fd;
}

std::optional<ContainerFileType> containerFileType(int fd, bool streams, QString &refusal)
{
    struct stat info;
    if (fstat(fd, &info) != 0) {
        refusal = errnoText(errno);
        return std::nullopt;
    }
    if (S_ISREG(info.st_mode))
        return ContainerFileType::Regular;
    if (S_ISBLK(info.st_mode))
        return ContainerFileType::BlockDevice;
    if (S_ISDIR(info.st_mode))
        refusal = QStringLiteral("Is a directory");
    else if (streams && S_ISFIFO(info.st_mode))
        return ContainerFileType::Stream;
    else
        refusal = streams ? NotReadableFile : NotMappableFile;
    return std::nullopt;
}

qint64 blockDeviceSize(int fd)
{
    quint64 size = 0;
    if (::ioctl(fd, BLKGETSIZE64, &size) != 0)
        return -1;
    return qint64(size);
}

OpenedContainer openContainer(const QString &path, bool streams)
{
    // Opened without waiting for a pipe's writer; the type is told by what was opened, so
    // nothing can be swapped in between.
    const int fd = ::open(vocafetch::bytesFromName(path).constData(),
                          O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen(path, errnoText(errno));
    QString refusal;
    const std::optional<ContainerFileType> type = containerFileType(fd, streams, refusal);
    if (type && *type != ContainerFileType::Stream &&
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        refusal = errnoText(errno);
    if (!type || !refusal.isEmpty()) {
        ::close(fd);
        throw cannotOpen(path, refusal);
    }
    return {fd, *type};
}

qint64 openForLoading(QFile &file, const QString &path)
{
    const int fd = openRegularFile(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw cannotOpen(path, file.errorString());
    }
    const qint64 size = file.size();
    if (size > 2147483647)
        throw tooLarge(path, size);
    return size;
}

} // namespace FileErrors

} // namespace vocafetch
