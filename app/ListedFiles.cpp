#include "app/ListedFiles.h"

#include "extract/RawFileName.h"
#include "extract/io/FolderEntries.h"

#include <QByteArrayList>
#include <QDir>
#include <QSet>

#include <sys/stat.h>

namespace vocafetch {

namespace {

using FolderId = QPair<quint64, quint64>;

FolderId idOf(const struct stat &info)
{
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

class FolderWalk
{
public:
    explicit FolderWalk(QStringList &files) : m_files(files) {}

    // Walks folder unless it was walked already.
    void walk(const QByteArray &folder, const struct stat &info)
    {
        if (m_walked.contains(idOf(info)))
            return;
        m_walked.insert(idOf(info));
        const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
        for (const QByteArray &name : folderEntries(folder).value_or(QByteArrayList()))
            visit(prefix + name);
    }

private:
    void visit(const QByteArray &path)
    {
        // stat follows a link: a link counts as what it leads to; a broken one is left out.
        struct stat info;
        if (stat(path.constData(), &info) != 0)
            return;
        if (S_ISDIR(info.st_mode))
            walk(path, info);
        else if (S_ISREG(info.st_mode))
            m_files << nameFromBytes(path);
    }

    QStringList &m_files;
    QSet<FolderId> m_walked;
};

} // namespace

QStringList filesToList(const QStringList &paths)
{
    QStringList files;
    FolderWalk walk(files);
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        const QString absolute = QDir::current().absoluteFilePath(path);
        const QByteArray bytes = bytesFromName(absolute);
        struct stat info;
        if (stat(bytes.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            walk.walk(bytes, info);
        else
            files << absolute;
    }
    return files;
}

} // namespace vocafetch
