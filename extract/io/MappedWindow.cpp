#include "extract/io/MappedWindow.h"

#include "extract/io/IoErrors.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vocafetch {

MappedWindow::MappedWindow(int fd, qint64 offset, qint64 length, const QByteArray &path)
    : m_size(length), m_offset(offset)
{
    if (length <= 0)
        return;
    static const qint64 page = ::sysconf(_SC_PAGESIZE);
    const qint64 start = offset - offset % page;
    m_mappingLength = length + (offset - start);
    m_mapping = ::mmap(nullptr, size_t(m_mappingLength), PROT_READ, MAP_SHARED, fd, off_t(start));
    if (m_mapping == MAP_FAILED) {
        const int error = errno;
        m_mapping = nullptr;
        throw systemError("map", path, error);
    }
    // Scans read a window front to back once: let the kernel read ahead and drop behind.
    ::madvise(m_mapping, size_t(m_mappingLength), MADV_SEQUENTIAL);
    m_data = static_cast<const char *>(m_mapping) + (offset - start);
}

MappedWindow::MappedWindow(MappedWindow &&other) noexcept
    : m_mapping(std::exchange(other.m_mapping, nullptr)),
      m_mappingLength(std::exchange(other.m_mappingLength, 0)),
      m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_offset(std::exchange(other.m_offset, 0))
{
}

MappedWindow &MappedWindow::operator=(MappedWindow &&other) noexcept
{
    if (this != &other) {
        unmap();
        m_mapping = std::exchange(other.m_mapping, nullptr);
        m_mappingLength = std::exchange(other.m_mappingLength, 0);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_offset = std::exchange(other.m_offset, 0);
    }
    return *this;
}

MappedWindow::~MappedWindow()
{
    unmap();
}

void MappedWindow::unmap() noexcept
{
    if (m_mapping)
        ::munmap(m_mapping, size_t(m_mappingLength));
    m_mapping = nullptr;
}

} // namespace vocafetch
