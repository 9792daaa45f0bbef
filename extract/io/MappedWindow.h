#pragma once

#include <QByteArray>

namespace vocafetch {

// A read-only mapping of one range of a file, unmapped when destroyed; movable, not copyable.
class MappedWindow
{
public:
    MappedWindow() = default;
    // Maps [offset, offset + length) of fd; the mapping itself starts at the page below offset.
    // Throws ExtractError naming path when the system refuses.
    MappedWindow(int fd, qint64 offset, qint64 length, const QByteArray &path);
    MappedWindow(MappedWindow &&other) noexcept;
    MappedWindow &operator=(MappedWindow &&other) noexcept;
    MappedWindow(const MappedWindow &) = delete;
    MappedWindow &operator=(const MappedWindow &) = delete;
    ~MappedWindow();

    // The bytes of the range; reading them may raise SIGBUS if the file shrinks meanwhile, so
    // read them inside runMappedAccessGuarded.
    const char *data() const noexcept { return m_data; }
    qint64 size() const noexcept { return m_size; }
    // Where the range starts in the file.
    qint64 offset() const noexcept { return m_offset; }

private:
    void unmap() noexcept;

    void *m_mapping = nullptr;
    qint64 m_mappingLength = 0;
    const char *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_offset = 0;
};

} // namespace vocafetch
