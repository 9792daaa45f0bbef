#include "extract/FileErrors.h"

#include "extract/RawFileName.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileErrors {

const QString NotARegularFile =
    QStringLiteral("Not a regular file (a pipe, device or socket cannot be loaded)");

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
