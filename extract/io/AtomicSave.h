#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

namespace vocafetch {

// Writes a file through write(), replacing path atomically: a temporary file in the same folder
// renamed into place only when write() returned and every byte reached the disk. When write()
// throws an ExtractError or the disk refuses a byte, no partial file is left, an existing file
// stays intact, and "Cannot create file "PATH". REASON" is thrown.
void saveAtomically(const QString &path, const std::function<void(QIODevice &)> &write);

} // namespace vocafetch
