#include "extract/io/FolderEntries.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>

namespace vocafetch {

std::optional<QByteArrayList> folderEntries(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return std::nullopt;
    QByteArrayList names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        errno = readError;
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vocafetch
