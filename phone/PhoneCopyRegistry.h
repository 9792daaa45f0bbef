// Remembers every file and folder that phone downloads created, so that a later read replaces
// its own earlier copies and closing the window removes exactly those and nothing the user had.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>

namespace vocafetch {

class PhoneCopyRegistry
{
public:
    // Records `path` as the copy of the phone file `phonePath`, as it lies on disk now; a path
    // recorded before is brought up to date.
    void recordFile(const QString &path, const QByteArray &phonePath);
    void recordFolder(const QString &path);

    // The first recorded copy of `phonePath` that is still on disk as a download left it;
    // empty when there is none (never copied, deleted, or changed or replaced since).
    QString copyOf(const QByteArray &phonePath) const;

    QStringList files() const;
    QStringList folders() const { return m_folders; }

    // Deletes the recorded files that are still as a download left them, then the recorded
    // folders that are empty, deepest first, and forgets them all. Whatever cannot be deleted
    // is left silently.
    void removeAll();

private:
    struct Copy
    {
        QString path;
        QByteArray phonePath;
        qint64 size = 0;
        QDateTime modified;
    };

    static Copy stamp(const QString &path, const QByteArray &phonePath);
    static bool isUnchanged(const Copy &copy);

    QList<Copy> m_files;
    QStringList m_folders;
};

} // namespace vocafetch
