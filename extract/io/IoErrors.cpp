#include "extract/io/IoErrors.h"

#include <QFile>

#include <cstring>

namespace vocafetch {

QString displayPath(const QByteArray &path)
{
    return QString::fromUtf8(path);
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

ExtractError systemError(const char *action, const QByteArray &path, int errorNumber)
{
    return fileError(action, path, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

ExtractError fileError(const char *action, const QByteArray &path, const QString &reason)
{
    // Reading a container is opening it; everything else the file layer does is output.
    const QLatin1String verb(action);
    const bool reading = verb == QLatin1String("open") || verb == QLatin1String("read") ||
                         verb == QLatin1String("map");
    return ExtractError(QStringLiteral("Cannot %1 \"%2\": %3").arg(verb, displayPath(path), reason),
                        reading ? ErrorKind::CannotOpen : ErrorKind::CannotCreate,
                        displayPath(path), reason);
}

ExtractError changedWhileRead(const QByteArray &path)
{
    return ExtractError(QStringLiteral("\"%1\" changed while it was read").arg(displayPath(path)),
                        ErrorKind::ContainerChanged, displayPath(path));
}

} // namespace vocafetch
