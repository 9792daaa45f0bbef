#pragma once

#include <QByteArrayList>

#include <optional>

namespace vocafetch {

// The names in a folder except "." and "..", sorted by their bytes, so that walks list files in
// the same order on every machine. Nothing, with errno set, when the folder cannot be read.
std::optional<QByteArrayList> folderEntries(const QByteArray &folder);

} // namespace vocafetch
