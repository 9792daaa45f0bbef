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
    return ExtractError(QStringLiteral("Cannot %1 \"%2\": %3")
                            .arg(QLatin1String(action), displayPath(path), reason));
}

ExtractError changedWhileRead(const QByteArray &path)
{
    return ExtractError(QStringLiteral("\"%1\" changed while it was read").arg(displayPath(path)));
}

} // namespace vocafetch
