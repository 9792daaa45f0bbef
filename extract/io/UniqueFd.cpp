#include "extract/io/UniqueFd.h"

#include <unistd.h>

namespace vocafetch {

UniqueFd &UniqueFd::operator=(UniqueFd &&other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int UniqueFd::release() noexcept
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::reset(int fd) noexcept
{
    // close() is not retried on EINTR: on Linux the descriptor is gone either way.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

} // namespace vocafetch
