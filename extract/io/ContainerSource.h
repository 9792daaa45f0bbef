#pragma once

#include "extract/io/MappedWindow.h"
#include "extract/io/UniqueFd.h"

#include <QByteArray>

#include <functional>

// A container file opened for reading by its raw path bytes: ranges read with pread, or mapped
// in windows of bounded size so that memory does not grow with the file.
namespace vocafetch {

class ContainerSource
{
public:
    static constexpr qint64 DefaultWindowSize = qint64(256) << 20;

    // Opens path (bytes as they came from argv or a folder listing, not necessarily UTF-8).
    // A pipe, device, socket or folder is refused at once, without waiting for a writer:
    // ExtractError "Cannot open "PATH": not a regular file (...)".
    explicit ContainerSource(const QByteArray &path);

    const QByteArray &path() const noexcept { return m_path; }
    // The size when opened.
    qint64 size() const noexcept { return m_size; }
    int descriptor() const noexcept { return m_fd.get(); }

    // length bytes from offset; throws when the range lies outside the file as opened, and
    // ""PATH" changed while it was read" when the file has shrunk since.
    QByteArray read(qint64 offset, qint64 length) const;
    void readInto(qint64 offset, char *buffer, qint64 length) const;

    // A read-only mapping of [offset, offset + length), which must lie inside the file.
    MappedWindow map(qint64 offset, qint64 length) const;

    // Maps the file window by window, each windowSize long (the last may be shorter) and
    // starting overlap bytes before the previous one ended, so a pattern of up to overlap + 1
    // bytes lying across a window edge is whole in one window. Each window is unmapped once
    // visit returns. visit runs inside runMappedAccessGuarded, and the size is checked after
    // each window: a file truncated meanwhile gives ""PATH" changed while it was read".
    void forEachWindow(qint64 windowSize, qint64 overlap,
                       const std::function<void(const MappedWindow &)> &visit) const;

    // Throws ""PATH" changed while it was read" when the file is now shorter than when opened.
    void checkUnchanged() const;

private:
    // Throws unless [offset, offset + length) lies inside the file as opened.
    void checkRange(const char *action, qint64 offset, qint64 length) const;

    QByteArray m_path;
    UniqueFd m_fd;
    qint64 m_size = 0;
};

} // namespace vocafetch
