#include "extract/io/OutputFile.h"

#include "extract/io/IoErrors.h"
#include "extract/io/OutputDevice.h"
#include "extract/io/SyncCalls.h"

#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace vocafetch {

namespace {

constexpr char TemporaryPrefix[] = ".vocafetch-";
constexpr char TemporarySuffix[] = ".tmp";
constexpr int TemporaryDigits = 16;

// A hidden name nobody else picks: 64 random bits.
QByteArray uniqueTemporaryName()
{
    return TemporaryPrefix +
           QByteArray::number(QRandomGenerator::system()->generate64(), 16)
               .rightJustified(TemporaryDigits, '0') +
           TemporarySuffix;
}

bool isTemporaryName(const QByteArray &name)
{
    const qsizetype prefix = qsizetype(sizeof TemporaryPrefix) - 1;
    const qsizetype suffix = qsizetype(sizeof TemporarySuffix) - 1;
    if (name.size() != prefix + TemporaryDigits + suffix || !name.startsWith(TemporaryPrefix) ||
        !name.endsWith(TemporarySuffix))
        return false;
    for (const char c : name.mid(prefix, TemporaryDigits))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// The lock a writer holds on its temporary for as long as the temporary has a name: one that
// can be taken belongs to nobody alive.
enum class Lock
{
    Taken,
    HeldByAnother,
    Unsupported // the file system has no locks: nothing can be told of the file
};

Lock lockTemporary(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return Lock::HeldByAnother;
        if (errno != EINTR)
            return Lock::Unsupported;
    }
    return Lock::Taken;
}

// Removes name when it is a temporary of a writer no longer alive. True when it was removed.
bool removeIfStale(int folder, const QByteArray &name)
{
    UniqueFd fd(::openat(folder, name.constData(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened;
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        lockTemporary(fd.get()) != Lock::Taken)
        return false;
    // Still the file that was locked: names are never reused, but be sure.
    struct stat named;
    if (::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return false;
    return ::unlinkat(folder, name.constData(), 0) == 0;
}

// Each folder is cleaned once per process, by the first file started in it.
void removeStaleTemporariesOnce(const OutputFolder &folder)
{
    static std::mutex mutex;
    static std::set<std::pair<dev_t, ino_t>> cleaned;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!cleaned.insert({folder.device(), folder.inode()}).second)
            return;
    }
    OutputFile::removeStaleTemporaries(folder);
}

bool isSingleName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

// The errors by which openat tells that the file system has no unnamed temporaries.
bool noUnnamedTemporaries(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

OutputFile::OutputFile(const OutputFolder &folder, const QByteArray &name, Temporary temporary)
    : m_folder(folder), m_name(name)
{
    if (!isSingleName(name))
        throw fileError("create", path(), QStringLiteral("not a file name"));
    removeStaleTemporariesOnce(folder);
    if (temporary == Temporary::Automatic) {
        // Read and write: tags are written into the finished file.
        m_fd.reset(::openat(folder.descriptor(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
        // Locked before it can ever get a name (a replacing placement links it under one);
        // nobody else can reach it yet, so the lock is taken unless there are none.
        if (m_fd.valid()) {
            lockTemporary(m_fd.get());
            return;
        }
        if (!noUnnamedTemporaries(errno))
            throw systemError("create", path(), errno);
    }
    createNamedTemporary();
}

void OutputFile::createNamedTemporary()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = uniqueTemporaryName();
        m_fd.reset(::openat(m_folder.descriptor(), name.constData(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        // Another run's clean-up may take the lock first, between the creation and the lock:
        // the file is then its to remove, and another name is tried.
        if (m_fd.valid() && lockTemporary(m_fd.get()) != Lock::HeldByAnother) {
            m_temporaryName = name;
            return;
        }
        if (!m_fd.valid() && errno != EEXIST)
            throw systemError("create", path(), errno);
    }
    throw fileError("create", path(), QStringLiteral("no free temporary name"));
}

int OutputFile::removeStaleTemporaries(const OutputFolder &folder)
{
    const int listed = ::openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return 0;
    DIR *dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return 0;
    }
    std::vector<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (isTemporaryName(name))
            names.push_back(name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const QByteArray &name : names)
        removed += removeIfStale(folder.descriptor(), name) ? 1 : 0;
    return removed;
}

OutputFile::OutputFile(OutputFile &&other) noexcept
    : m_folder(other.m_folder), m_name(std::move(other.m_name)), m_fd(std::move(other.m_fd)),
      m_temporaryName(std::exchange(other.m_temporaryName, QByteArray())),
      m_device(std::move(other.m_device)), m_failed(other.m_failed),
      m_failure(std::move(other.m_failure)), m_placed(other.m_placed)
{
    if (m_device)
        m_device->retarget(*this);
}

OutputFile &OutputFile::operator=(OutputFile &&other) noexcept
{
    if (this != &other) {
        discard();
        m_folder = other.m_folder;
        m_name = std::move(other.m_name);
        m_fd = std::move(other.m_fd);
        m_temporaryName = std::exchange(other.m_temporaryName, QByteArray());
        m_device = std::move(other.m_device);
        if (m_device)
            m_device->retarget(*this);
        m_failed = other.m_failed;
        m_failure = std::move(other.m_failure);
        m_placed = other.m_placed;
    }
    return *this;
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::write(const char *data, qint64 size)
{
    if (m_failed || !m_fd.valid())
        throw fileError("write", path(), QStringLiteral("the file is no longer open"));
    while (size > 0) {
        const ssize_t written = ::write(m_fd.get(), data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(systemError("write", path(), written < 0 ? errno : ENOSPC));
        data += written;
        size -= written;
    }
}

void OutputFile::writeAt(qint64 offset, const char *data, qint64 size)
{
    if (m_failed || !m_fd.valid())
        throw fileError("write", path(), QStringLiteral("the file is no longer open"));
    while (size > 0) {
        const ssize_t written = ::pwrite(m_fd.get(), data, size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(systemError("write", path(), written < 0 ? errno : ENOSPC));
        data += written;
        offset += written;
        size -= written;
    }
}

qint64 OutputFile::writtenSize() const
{
    struct stat info;
    if (!m_fd.valid() || fstat(m_fd.get(), &info) != 0)
        return 0;
    return qint64(info.st_size);
}

QIODevice &OutputFile::device()
{
    if (!m_device) {
        m_device = std::make_unique<OutputDevice>(*this);
        // The device goes on where write() left off.
        m_device->seek(writtenSize());
    }
    return *m_device;
}

void OutputFile::finishWriting()
{
    if (m_failure)
        throw *m_failure;
    if (m_failed || !m_fd.valid())
        throw fileError("write", path(), QStringLiteral("an earlier write failed"));
}

void OutputFile::syncData()
{
    finishWriting();
    if (const int error = countedFdatasync(m_fd.get()))
        fail(systemError("save", path(), error));
}

PlaceOutcome OutputFile::place(Placement placement)
{
    finishWriting();
    if (placement == Placement::ReplaceExisting) {
        placeReplacing();
    } else if (placeKeeping() == PlaceOutcome::NameTaken) {
        return PlaceOutcome::NameTaken;
    }
    m_placed = true;
    m_temporaryName.clear();
    closeDescriptor();
    return PlaceOutcome::Placed;
}

// Links the unnamed temporary as target: through /proc (no privilege needed), or by
// AT_EMPTY_PATH where /proc is missing. Returns 0 or the errno value.
int OutputFile::linkUnnamedAs(const QByteArray &target) const
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
    if (::linkat(AT_FDCWD, self.constData(), m_folder.descriptor(), target.constData(),
                 AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0 &&
        ::linkat(m_fd.get(), "", m_folder.descriptor(), target.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    return errno;
}

// link and renameat2(RENAME_NOREPLACE) fail with EEXIST on anything at the name, a link
// included, and never follow it: the name is only ever taken while it is free.
PlaceOutcome OutputFile::placeKeeping()
{
    const int dir = m_folder.descriptor();
    int error = 0;
    if (m_temporaryName.isEmpty()) {
        error = linkUnnamedAs(m_name);
    } else if (::renameat2(dir, m_temporaryName.constData(), dir, m_name.constData(),
                           RENAME_NOREPLACE) != 0) {
        error = errno;
        if (error == EINVAL || error == ENOSYS) {
            error = ::linkat(dir, m_temporaryName.constData(), dir, m_name.constData(), 0) == 0
                        ? 0
                        : errno;
            if (error == 0)
                ::unlinkat(dir, m_temporaryName.constData(), 0);
        }
    }
    if (error == EEXIST)
        return PlaceOutcome::NameTaken;
    if (error != 0)
        throw systemError("save", path(), error);
    return PlaceOutcome::Placed;
}

// renameat replaces the entry at the name, whatever it is, in one step: a link there is
// replaced itself, its target is never touched.
void OutputFile::placeReplacing()
{
    const int dir = m_folder.descriptor();
    if (m_temporaryName.isEmpty()) {
        for (int attempt = 0; attempt < 100 && m_temporaryName.isEmpty(); ++attempt) {
            const QByteArray name = uniqueTemporaryName();
            const int error = linkUnnamedAs(name);
            if (error == 0)
                m_temporaryName = name;
            else if (error != EEXIST)
                throw systemError("save", path(), error);
        }
        if (m_temporaryName.isEmpty())
            throw fileError("save", path(), QStringLiteral("no free temporary name"));
    }
    if (::renameat(dir, m_temporaryName.constData(), dir, m_name.constData()) != 0)
        throw systemError("save", path(), errno);
}

void OutputFile::fail(const ExtractError &error)
{
    m_failed = true;
    if (!m_failure)
        m_failure = error;
    throw error;
}

void OutputFile::discard() noexcept
{
    if (!m_temporaryName.isEmpty() && !m_placed)
        ::unlinkat(m_folder.descriptor(), m_temporaryName.constData(), 0);
    m_temporaryName.clear();
    closeDescriptor();
}

void OutputFile::closeDescriptor() noexcept
{
    m_device.reset();
    m_fd.reset();
}

QByteArray OutputFile::path() const
{
    return joinPath(m_folder.path(), m_name);
}

} // namespace vocafetch
