// Remembers every file and folder that phone downloads created, so that closing the window
// removes exactly those and nothing the user had before.
#pragma once

#include <QStringList>

class PhoneCopyRegistry
{
public:
    void recordFile(const QString &path);
    void recordFolder(const QString &path);

    QStringList files() const { return m_files; }
    QStringList folders() const { return m_folders; }

    // Deletes the recorded files that still exist, then the recorded folders that are empty,
    // deepest first, and forgets them all. Whatever cannot be deleted is left silently.
    void removeAll();

private:
    QStringList m_files;
    QStringList m_folders;
};
