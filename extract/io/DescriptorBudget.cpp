#include "extract/io/DescriptorBudget.h"

#include <sys/resource.h>

#include <algorithm>
#include <mutex>

namespace vocafetch {

namespace {

// Kept free for everything else the process opens.
constexpr rlim_t ReservedDescriptors = 64;
constexpr rlim_t OpenFileCeiling = 65536;

void raiseOpenFileLimitOnce()
{
    static std::once_flag raised;
    std::call_once(raised, [] {
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
            return;
        const rlim_t wanted = std::min(limit.rlim_max, OpenFileCeiling);
        if (limit.rlim_cur < wanted) {
            limit.rlim_cur = wanted;
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
    });
}

} // namespace

std::optional<qint64> workDescriptors()
{
    raiseOpenFileLimitOnce();
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    // Under a very small limit, half of it.
    return qint64(limit.rlim_cur > 2 * ReservedDescriptors ? limit.rlim_cur - ReservedDescriptors
                                                           : limit.rlim_cur / 2);
}

} // namespace vocafetch
