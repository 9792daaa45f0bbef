// Helpers shared by the fuzz targets: failed checks abort (libFuzzer then keeps the input), a
// scratch folder for the process, file listings to prove where files were written, and a share
// of the inputs picked by their bytes for checks too slow to run on every one.
//
// The file helpers call the system directly: the Qt file classes stat and allocate more per
// call, which on small inputs costs more than the code under test.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace vocafetch {

namespace fuzz {

// One scratch folder for the whole run, removed at exit.
inline QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    return ::close(fd) == 0 && done == bytes.size();
}

// The file's bytes; empty when it cannot be read (a folder, a pipe with no writer). A read
// that comes back short of the buffer has reached the end of a regular file.
inline QByteArray readBytes(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    QByteArray bytes;
    char chunk[16384];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) {
        bytes.append(chunk, n);
        if (size_t(n) < sizeof chunk)
            break;
    }
    ::close(fd);
    return bytes;
}

namespace detail {

// The entry's type (DT_DIR, DT_REG, DT_LNK, ...), of the entry itself, never of a link's target.
inline unsigned char typeOf(int dirFd, const dirent64 *entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type;
    struct stat info;
    if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    return S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
}

// Calls visit(name, type) for each entry of a folder just opened but "." and "..". Reads the
// entries with getdents64 into a buffer on the stack: opendir allocates 32 KiB per folder.
template <typename Visit> void forEachEntry(int dirFd, Visit visit)
{
    alignas(8) char buffer[4096];
    for (long length; (length = ::syscall(SYS_getdents64, dirFd, buffer, sizeof buffer)) != 0;) {
        FUZZ_CHECK(length > 0);
        for (long at = 0; at < length;) {
            const auto *entry = reinterpret_cast<const dirent64 *>(buffer + at);
            at += entry->d_reclen;
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                visit(name, typeOf(dirFd, entry));
        }
    }
}

inline int openFolder(int atFd, const QByteArray &name)
{
    return ::openat(atFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

inline void listInto(int dirFd, const QString &prefix, QStringList &entries,
                     QHash<QString, unsigned char> *types)
{
    forEachEntry(dirFd, [&](const QByteArray &name, unsigned char type) {
        const QString path = prefix + QFile::decodeName(name);
        entries << path;
        if (types)
            types->insert(path, type);
        if (type != DT_DIR)
            return;
        const int sub = openFolder(dirFd, name);
        FUZZ_CHECK(sub >= 0);
        listInto(sub, path + u'/', entries, types);
        ::close(sub);
    });
}

inline void removeEntries(int dirFd)
{
    // Listed first, removed after: a folder changing while it is read may skip entries.
    QList<QPair<QByteArray, bool>> entries;
    forEachEntry(dirFd, [&](const QByteArray &name, unsigned char type) {
        entries.append({name, type == DT_DIR});
    });
    for (const auto &[name, folder] : entries) {
        if (folder) {
            const int sub = openFolder(dirFd, name);
            FUZZ_CHECK(sub >= 0);
            removeEntries(sub);
            ::close(sub);
        }
        FUZZ_CHECK(::unlinkat(dirFd, name.constData(), folder ? AT_REMOVEDIR : 0) == 0);
    }
}

} // namespace detail

// Every file, folder and link below dir (not following links), relative and sorted; with types,
// also each one's type (DT_REG, DT_DIR, DT_LNK, ...). Only real folders are entered, so a path
// listed lies below dir without passing through a link.
inline QStringList listTree(const QString &dir, QHash<QString, unsigned char> *types = nullptr)
{
    QStringList entries;
    const int fd = detail::openFolder(AT_FDCWD, QFile::encodeName(dir));
    FUZZ_CHECK(fd >= 0);
    detail::listInto(fd, QString(), entries, types);
    ::close(fd);
    entries.sort();
    return entries;
}

// Empties dir, keeping the folder itself.
inline void emptyFolder(const QString &dir)
{
    const int fd = detail::openFolder(AT_FDCWD, QFile::encodeName(dir));
    FUZZ_CHECK(fd >= 0);
    detail::removeEntries(fd);
    ::close(fd);
}

// Whether an input belongs to the share of one in `every` that gets the slow checks: picked by
// a hash of its bytes, so that an input always gets the same checks and a failure reproduces
// from the input alone.
inline bool inShare(const uint8_t *bytes, size_t size, unsigned every)
{
    uint32_t hash = 2166136261u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash % every == 0;
}

} // namespace fuzz

} // namespace vocafetch
