#include "phone/PhoneCopyRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void PhoneCopyRegistry::recordFile(const QString &path)
{
    if (!m_files.contains(path))
        m_files.append(path);
}

void PhoneCopyRegistry::recordFolder(const QString &path)
{
    if (!m_folders.contains(path))
        m_folders.append(path);
}

void PhoneCopyRegistry::removeAll()
{
    for (const QString &path : std::as_const(m_files)) {
        const QFileInfo info(path);
        if (info.isFile() || info.isSymLink())
            QFile::remove(path);
    }
    // Folders are recorded parent first, so the reverse order empties children first;
    // rmdir leaves any folder that still holds something.
    for (auto folder = m_folders.crbegin(); folder != m_folders.crend(); ++folder)
        QDir().rmdir(*folder);
    m_files.clear();
    m_folders.clear();
}
