#include "cli/ContainerInputs.h"

#include "extract/RawFileName.h"

#include <QByteArrayList>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

using vocafetch::bytesFromName;
using vocafetch::nameFromBytes;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The real path of a file, or an empty array when it cannot be resolved.
QByteArray realPath(const QByteArray &path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.constData(), nullptr),
                                                         &std::free);
    return resolved ? QByteArray(resolved.get()) : QByteArray();
}

bool isInside(const QByteArray &path, const QByteArray &folder)
{
    return path == folder || path.startsWith(folder.endsWith('/') ? folder : folder + '/');
}

class FolderWalk
{
public:
    FolderWalk(const QByteArray &root, ContainerInputs &inputs)
        : m_root(root), m_realRoot(realPath(root)), m_inputs(inputs)
    {
    }

    void run()
    {
        struct stat info;
        if (stat(m_root.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            return;
        walk(m_root, QByteArray(), info);
    }

private:
    void skip(const QByteArray &path, const QString &reason, bool failure = false)
    {
        m_inputs.skipped.append({nameFromBytes(path), reason, failure});
    }

    void walk(const QByteArray &folder, const QByteArray &relative, const struct stat &info)
    {
        // A link back into the tree must not walk a folder twice (or forever).
        const QPair<quint64, quint64> id(info.st_dev, info.st_ino);
        if (m_seen.contains(id))
            return;
        m_seen.insert(id);

        DIR *dir = opendir(folder.constData());
        if (!dir) {
            skip(folder, QStringLiteral("cannot read the folder: %1").arg(systemError(errno)),
                 true);
            return;
        }
        QByteArrayList names;
        while (const dirent *entry = readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        for (const QByteArray &name : names)
            visit(folder + '/' + name, relative.isEmpty() ? name : relative + '/' + name, relative);
    }

    void visit(const QByteArray &path, const QByteArray &relative, const QByteArray &parent)
    {
        struct stat info;
        if (lstat(path.constData(), &info) != 0) {
            skip(path, systemError(errno), true);
            return;
        }
        if (S_ISLNK(info.st_mode)) {
            const QByteArray target = realPath(path);
            if (target.isEmpty() || m_realRoot.isEmpty() || !isInside(target, m_realRoot)) {
                skip(path, QStringLiteral("a link leading out of %1; not followed")
                               .arg(nameFromBytes(m_root)));
                return;
            }
            if (stat(path.constData(), &info) != 0) {
                skip(path, systemError(errno), true);
                return;
            }
        }
        if (S_ISDIR(info.st_mode))
            walk(path, relative, info);
        else if (S_ISREG(info.st_mode))
            m_inputs.containers.append({nameFromBytes(path), nameFromBytes(parent), true});
        else
            skip(path, QStringLiteral("not a regular file"));
    }

    QByteArray m_root;
    QByteArray m_realRoot;
    ContainerInputs &m_inputs;
    QSet<QPair<quint64, quint64>> m_seen;
};

bool isFolder(const QByteArray &path)
{
    struct stat info;
    return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

ContainerInputs collectInputs(const QStringList &arguments, bool recursive)
{
    ContainerInputs inputs;
    for (const QString &argument : arguments) {
        QByteArray path = bytesFromName(argument);
        if (recursive && isFolder(path)) {
            while (path.size() > 1 && path.endsWith('/'))
                path.chop(1);
            FolderWalk(path, inputs).run();
        } else {
            inputs.containers.append({argument, QString()});
        }
    }
    return inputs;
}

qint64 fileSize(const QString &name)
{
    struct stat info;
    if (stat(bytesFromName(name).constData(), &info) != 0)
        return 0;
    return S_ISREG(info.st_mode) ? qint64(info.st_size) : 0;
}
