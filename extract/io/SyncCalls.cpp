#include "extract/io/SyncCalls.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace vocafetch {

namespace {

std::atomic<std::uint64_t> g_syncCalls{0};

template <typename Call> int counted(Call call) noexcept
{
    int result;
    do {
        g_syncCalls.fetch_add(1, std::memory_order_relaxed);
        result = call();
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

std::uint64_t syncCallCount() noexcept
{
    return g_syncCalls.load(std::memory_order_relaxed);
}

int countedFdatasync(int fd) noexcept
{
    return counted([fd] { return ::fdatasync(fd); });
}

int countedFsync(int fd) noexcept
{
    return counted([fd] { return ::fsync(fd); });
}

int countedSyncfs(int fd) noexcept
{
    return counted([fd] { return ::syncfs(fd); });
}

} // namespace vocafetch
