#include "extract/FileErrors.h"

#include <QDir>
#include <QFileInfo>

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
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

ExtractError cannotOpen(const QString &path, const QString &reason)
{
    return ExtractError(QStringLiteral("Cannot open %1.\r\n(%2.)").arg(path, systemText(reason)));
}

ExtractError cannotOpenFile(const QString &path, const QString &reason)
{
    return ExtractError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(path), systemText(reason)));
}

ExtractError tooLarge(const QString &path, qint64 size)
{
    return ExtractError(
        QStringLiteral(
            "Cannot open file \"%1\". The file is %2 bytes long; at most 2147483647 bytes can be "
            "loaded")
            .arg(fullPath(path))
            .arg(size));
}

ExtractError cannotCreateFile(const QString &path, const QString &reason)
{
    return ExtractError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(path), systemText(reason)));
}

qint64 openForLoading(QFile &file, const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw cannotOpen(path, QStringLiteral("Is a directory"));
    // Opening a pipe would wait for a writer, and a device can be endless: only files load.
    if (info.exists() && !info.isFile())
        throw cannotOpen(path, NotARegularFile);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(path, file.errorString());
    const qint64 size = file.size();
    if (size > 2147483647)
        throw tooLarge(path, size);
    return size;
}

} // namespace FileErrors
