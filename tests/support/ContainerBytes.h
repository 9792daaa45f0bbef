#pragma once

#include "support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <initializer_list>

namespace vocafetch {

// A container of the given size filled with '.', with "#!AMR" at each start offset and the
// content-type marker 06 1F 22 "audio/amr" at each marker offset.
inline QByteArray containerBytes(int size, std::initializer_list<int> starts,
                                 std::initializer_list<int> markers = {})
{
    QByteArray bytes(size, '.');
    for (int start : starts)
        bytes.replace(start, 5, "#!AMR");
    for (int marker : markers)
        bytes.replace(marker, 12,
                      QByteArray("\x06\x1f\x22"
                                 "audio/amr"));
    return bytes;
}

inline QString writeFile(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace vocafetch
