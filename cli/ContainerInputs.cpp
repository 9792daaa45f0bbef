#include "cli/ContainerInputs.h"

#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/io/FolderEntries.h"

#include <QByteArrayList>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vocafetch {

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

using FolderId = QPair<quint64, quint64>;

FolderId idOf(const struct stat &info)
{
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

class FolderWalk
{
public:
    FolderWalk(const QByteArray &root, const WalkOptions &options, ContainerInputs &inputs)
        : m_root(root), m_realRoot(realPath(root)), m_options(options), m_inputs(inputs)
    {
        struct stat info;
        if (!options.excludedFolder.isEmpty() &&
            stat(options.excludedFolder.constData(), &info) == 0)
            m_excluded = idOf(info);
    }

    void run()
    {
        struct stat info;
        if (stat(m_root.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            return;
        // The output folder named to be walked is walked: only one inside is left out.
        if (m_excluded == idOf(info))
            m_excluded.reset();
        walk(m_root, QByteArray(), info);
    }

private:
    void skip(const QByteArray &path, const QString &reason, bool failure = false)
    {
        m_inputs.skipped.append({nameFromBytes(path), reason, failure});
    }
    // Something left out on purpose, told only when asked.
    void note(const QByteArray &path, const QString &reason)
    {
        if (m_options.verbose)
            skip(path, reason);
    }

    void walk(const QByteArray &folder, const QByteArray &relative, const struct stat &info)
    {
        if (m_excluded == idOf(info)) {
            note(folder, QStringLiteral("the output folder; not looked at"));
            return;
        }
        // A folder reached twice all the same (a bind mount) is walked once.
        if (m_seen.contains(idOf(info)))
            return;
        m_seen.insert(idOf(info));

        const std::optional<QByteArrayList> names = folderEntries(folder);
        if (!names) {
            skip(folder, QStringLiteral("cannot read the folder: %1").arg(systemError(errno)),
                 true);
            return;
        }
        for (const QByteArray &name : *names)
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
            // Its folder lies inside the tree and is walked under its own name.
            if (S_ISDIR(info.st_mode)) {
                note(path, QStringLiteral("a link to %1, which is looked at under its own name; "
                                          "not followed")
                               .arg(nameFromBytes(target)));
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
    const WalkOptions &m_options;
    ContainerInputs &m_inputs;
    std::optional<FolderId> m_excluded;
    QSet<FolderId> m_seen;
};

bool isFolder(const QByteArray &path)
{
    struct stat info;
    return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

ContainerInputs collectInputs(const QStringList &arguments, const WalkOptions &options)
{
    ContainerInputs inputs;
    bool standardInputNamed = false;
    for (const QString &argument : arguments) {
        QByteArray path = bytesFromName(argument);
        if (argument == QLatin1String("-")) {
            if (standardInputNamed) {
                inputs.skipped.append(
                    {argument, QStringLiteral("standard input is read once; named again"), true});
                continue;
            }
            standardInputNamed = true;
            ContainerInput input;
            input.path = argument;
            input.standardInput = true;
            inputs.containers.append(input);
        } else if (options.recursive && isFolder(path)) {
            while (path.size() > 1 && path.endsWith('/'))
                path.chop(1);
            FolderWalk(path, options, inputs).run();
        } else {
            inputs.containers.append({argument, QString()});
        }
    }
    return inputs;
}

qint64 fileSize(const QString &name)
{
    struct stat info;
    const QByteArray path = bytesFromName(name);
    if (stat(path.constData(), &info) != 0)
        return 0;
    if (S_ISREG(info.st_mode))
        return qint64(info.st_size);
    if (!S_ISBLK(info.st_mode))
        return 0;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const qint64 size = FileErrors::blockDeviceSize(fd);
    ::close(fd);
    return std::max<qint64>(size, 0);
}

} // namespace vocafetch
