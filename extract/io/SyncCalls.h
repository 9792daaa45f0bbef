#pragma once

#include <cstdint>

namespace vocafetch {

// The calls that force data to disk, made in one place so that they can be counted: a run's
// figure shows whether its saves were flushed in one go or file by file.

// How many fdatasync, fsync and syncfs calls this process has made through the functions below.
std::uint64_t syncCallCount() noexcept;

// The system calls, retried on EINTR and counted; they return 0 or an errno value.
int countedFdatasync(int fd) noexcept;
int countedFsync(int fd) noexcept;
int countedSyncfs(int fd) noexcept;

} // namespace vocafetch
