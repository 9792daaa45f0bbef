#include "extract/io/OutputFolder.h"

#include "extract/io/IoErrors.h"

#include <QList>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace vocafetch {

namespace {

QString linkRefusal(const QByteArray &component)
{
    return QStringLiteral("\"%1\" is a symbolic link").arg(displayPath(component));
}

// Opens name inside parent as a folder, refusing a link there with a clear message.
UniqueFd openComponent(int parent, const QByteArray &name, const QByteArray &wholePath)
{
    UniqueFd fd(
        ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.valid())
        return fd;
    const int error = errno;
    struct stat info;
    if (::fstatat(parent, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(info.st_mode))
        throw fileError("create folder", wholePath, linkRefusal(name));
    throw systemError("create folder", wholePath, error);
}

} // namespace

OutputFolder::OutputFolder(const QByteArray &path, UniqueFd fd)
    : m_path(path), m_fd(std::make_shared<UniqueFd>(std::move(fd)))
{
    struct stat info;
    if (::fstat(m_fd->get(), &info) != 0)
        throw systemError("open folder", path, errno);
    m_device = info.st_dev;
    m_inode = info.st_ino;
}

OutputFolder OutputFolder::open(const QByteArray &path)
{
    UniqueFd fd(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        throw systemError("open folder", path, errno);
    return OutputFolder(path, std::move(fd));
}

OutputFolder OutputFolder::makePath(const QByteArray &relativePath) const
{
    const QByteArray wholePath = joinPath(m_path, relativePath);
    if (relativePath.startsWith('/'))
        throw fileError("create folder", wholePath, QStringLiteral("the path is not relative"));
    OutputFolder folder = *this;
    for (const QByteArray &name : relativePath.split('/')) {
        if (name.isEmpty() || name == "." || name == "..")
            throw fileError("create folder", wholePath,
                            QStringLiteral("\"%1\" is not a folder name").arg(displayPath(name)));
        bool created = false;
        if (::mkdirat(folder.descriptor(), name.constData(), 0777) == 0)
            created = true;
        else if (errno != EEXIST)
            throw systemError("create folder", joinPath(folder.path(), name), errno);
        OutputFolder child(joinPath(folder.path(), name),
                           openComponent(folder.descriptor(), name, wholePath));
        child.m_createdIn = folder.m_createdIn;
        if (created) {
            OutputFolder parent = folder;
            parent.m_createdIn.clear();
            child.m_createdIn.push_back(std::move(parent));
        }
        folder = std::move(child);
    }
    return folder;
}

} // namespace vocafetch
