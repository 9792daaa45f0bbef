#pragma once

#include "extract/io/MappedWindow.h"
#include "extract/io/UniqueFd.h"

#include <QByteArray>

#include <sys/types.h>

#include <functional>

namespace vocafetch {

// A container opened for reading by its raw path bytes, a regular file or a block device (a
// memory card, a loop device): ranges read with pread, or mapped in windows of bounded size so
// that memory does not grow with its size.

class ContainerSource
{
public:
    static constexpr qint64 DefaultWindowSize = qint64(256) << 20;

    // What tells one state of a file from another: its identity, size and change times. Two
    // stamps that differ mean other bytes may be read than before.
    struct Stamp
    {
        dev_t device = 0;
        ino_t inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;

        bool operator==(const Stamp &other) const;
        bool operator!=(const Stamp &other) const { return !(*this == other); }
    };

    // Opens path (bytes as they came from argv or a folder listing, not necessarily UTF-8).
    // A pipe, character device, socket or folder is refused at once, without waiting for a
    // writer: ExtractError "Cannot open PATH. (Not a regular file or block device ...)".
    explicit ContainerSource(const QByteArray &path);
    // Reads a regular file or block device already open (standard input, a stream spooled into
    // an unnamed file); path is what messages call it. Refuses anything else as above.
    ContainerSource(const QByteArray &path, UniqueFd fd);

    const QByteArray &path() const noexcept { return m_path; }
    // The size when opened: a block device's from the device itself.
    qint64 size() const noexcept { return m_size; }
    int descriptor() const noexcept { return m_fd.get(); }
    bool isBlockDevice() const noexcept { return m_blockDevice; }
    // The file as it was when opened.
    const Stamp &stamp() const noexcept { return m_stamp; }

    // length bytes from offset; throws when the range lies outside the file as opened, and
    // ""PATH" changed while it was read" when the file has changed since it was opened.
    QByteArray read(qint64 offset, qint64 length) const;
    void readInto(qint64 offset, char *buffer, qint64 length) const;

    // A read-only mapping of [offset, offset + length), which must lie inside the file.
    MappedWindow map(qint64 offset, qint64 length) const;

    // Maps the file window by window, each windowSize long (the last may be shorter) and
    // starting overlap bytes before the previous one ended, so a pattern of up to overlap + 1
    // bytes lying across a window edge is whole in one window. Each window is unmapped once
    // visit returns, but the last one is handed to keepLast when that is given. visit runs inside
    // runMappedAccessGuarded, and the file is checked after each window: one changed meanwhile
    // gives ""PATH" changed while it was read".
    void forEachWindow(qint64 windowSize, qint64 overlap,
                       const std::function<void(const MappedWindow &)> &visit,
                       MappedWindow *keepLast = nullptr) const;

    // Throws ""PATH" changed while it was read" when the file is no longer as it was opened:
    // shorter, or written to, replaced or touched since (its change times moved); a block
    // device whose size changed.
    void checkUnchanged() const;

private:
    void openDescriptor();
    Stamp currentStamp() const;
    // Throws unless [offset, offset + length) lies inside the file as opened.
    void checkRange(const char *action, qint64 offset, qint64 length) const;

    QByteArray m_path;
    UniqueFd m_fd;
    qint64 m_size = 0;
    bool m_blockDevice = false;
    Stamp m_stamp;
};

} // namespace vocafetch
