#include "phone/PhoneCopyRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vocafetch {

PhoneCopyRegistry::Copy PhoneCopyRegistry::stamp(const QString &path, const QByteArray &phonePath)
{
    const QFileInfo info(path);
    return {path, phonePath, info.size(), info.lastModified()};
}

// Size and modification time tell a copy from a file the user put at its path since: only an
// untouched copy may be replaced or deleted.
bool PhoneCopyRegistry::isUnchanged(const Copy &copy)
{
    const QFileInfo info(copy.path);
    return info.isFile() && !info.isSymLink() && info.size() == copy.size &&
           info.lastModified() == copy.modified;
}

void PhoneCopyRegistry::recordFile(const QString &path, const QByteArray &phonePath)
{
    const auto known = std::find_if(m_files.begin(), m_files.end(),
                                    [&](const Copy &copy) { return copy.path == path; });
    if (known != m_files.end())
        *known = stamp(path, phonePath);
    else
        m_files.append(stamp(path, phonePath));
}

void PhoneCopyRegistry::recordFolder(const QString &path)
{
    if (!m_folders.contains(path))
        m_folders.append(path);
}

QString PhoneCopyRegistry::copyOf(const QByteArray &phonePath) const
{
    for (const Copy &copy : m_files) {
        if (copy.phonePath == phonePath && isUnchanged(copy))
            return copy.path;
    }
    return QString();
}

QStringList PhoneCopyRegistry::files() const
{
    QStringList paths;
    for (const Copy &copy : m_files)
        paths << copy.path;
    return paths;
}

void PhoneCopyRegistry::removeAll()
{
    for (const Copy &copy : std::as_const(m_files)) {
        if (isUnchanged(copy))
            QFile::remove(copy.path);
    }
    // Folders are recorded parent first, so the reverse order empties children first;
    // rmdir leaves any folder that still holds something.
    for (auto folder = m_folders.crbegin(); folder != m_folders.crend(); ++folder)
        QDir().rmdir(*folder);
    m_files.clear();
    m_folders.clear();
}

} // namespace vocafetch
