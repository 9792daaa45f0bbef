// A stand-in for the phone-access library that serves a local folder as the phone's file
// system: the phone path "/a/mobile/mms/x.drf" is ROOT/a/mobile/mms/x.drf, where ROOT is read
// from P2K_PHONE_ROOT by each P2K_Init. Like a phone, it is not ready while the variable is
// unset or the folder is missing, and becomes ready P2K_PHONE_READY_DELAY_MS milliseconds
// (300 unless set) after P2K_Init, once it has called the connection callback from a thread
// of its own. Every call returns 0 on success and -1 on failure.
//
// Like a phone, it refuses what changed under a transfer: File_Create opens only a regular file
// and never waits (a pipe put in a listed file's place would otherwise block it for good), and
// File_Read delivers the open file whole or fails, when the file is no longer the size asked for
// (cut short or grown since the listing) or cannot be read.
#include "phone/p2kapi.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(_WIN32)
#define P2KAPI_EXPORT __declspec(dllexport)
#else
#define P2KAPI_EXPORT __attribute__((visibility("default")))
#endif

namespace vocafetch {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char *RootVariable = "P2K_PHONE_ROOT";
constexpr const char *DelayVariable = "P2K_PHONE_READY_DELAY_MS";
constexpr long DefaultDelayMs = 300;

struct ListedFile
{
    std::string phonePath;
    std::int32_t size;
};

long readyDelayMs()
{
    const char *text = std::getenv(DelayVariable);
    if (!text || !*text)
        return DefaultDelayMs;
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return (*end == '\0' && value >= 0) ? value : DefaultDelayMs;
}

// A phone path names a file below the root only when it is absolute and has no ".." part.
bool toLocalPath(const fs::path &root, const char *phonePath, fs::path &local)
{
    if (!phonePath || phonePath[0] != '/')
        return false;
    const fs::path relative = fs::path(phonePath + 1);
    for (const fs::path &part : relative) {
        if (part == "..")
            return false;
    }
    local = root / relative;
    return true;
}

void putLittleEndian(std::int32_t value, TPhoneFileEntry &entry)
{
    const auto bits = static_cast<std::uint32_t>(value);
    auto *bytes = reinterpret_cast<unsigned char *>(&entry.Size);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// Opens a regular file for reading, or gives -1. O_NONBLOCK keeps the open of a pipe or a
// device from waiting; the check runs on what was opened, so nothing can be swapped in between.
int openRegularFile(const fs::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads up to `count` bytes at `offset`, retrying interrupted and partial reads; gives the
// number read (fewer at the end of the file) or -1 on an error.
long long readAt(int fd, char *buffer, std::size_t count, off_t offset)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, buffer + done, count - done, offset + off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    return static_cast<long long>(done);
}

// Reads the whole file into `buffer`: true when it holds exactly `count` bytes now.
bool readWhole(int fd, char *buffer, int count)
{
    if (readAt(fd, buffer, std::size_t(count), 0) != count)
        return false;
    char beyond = 0;
    return readAt(fd, &beyond, 1, off_t(count)) == 0;
}

class FolderPhone
{
public:
    ~FolderPhone()
    {
        joinAnnouncer();
        closeOpenFile();
    }

    int init(P2KConnectCallback callback)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        joinAnnouncer();
        const char *root = std::getenv(RootVariable);
        m_rootSet = root && *root;
        m_root = m_rootSet ? fs::path(root) : fs::path();
        m_readyAt = Clock::now() + std::chrono::milliseconds(readyDelayMs());
        m_announced = callback == nullptr;
        if (callback) {
            m_announcer = std::thread([this, callback] {
                callback();
                m_announced = true;
            });
        }
        return 0;
    }

    int status()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return isReady() ? 1 : 0;
    }

    int count()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_listing.clear();
        if (!isReady())
            return 0;
        // Linked folders are followed (a memory card linked into the tree), each real folder
        // once, so a link back up the tree cannot loop.
        std::error_code error;
        std::set<fs::path> visited{fs::canonical(m_root, error)};
        const auto options = fs::directory_options::skip_permission_denied |
                             fs::directory_options::follow_directory_symlink;
        fs::recursive_directory_iterator it(m_root, options, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            if (it->is_directory(ignored)) {
                if (!visited.insert(fs::canonical(it->path(), ignored)).second || ignored)
                    it.disable_recursion_pending();
                continue;
            }
            addToListing(*it);
        }
        std::sort(m_listing.begin(), m_listing.end(), [](const ListedFile &a, const ListedFile &b) {
            return a.phonePath < b.phonePath;
        });
        return static_cast<int>(std::min<std::size_t>(m_listing.size(), INT_MAX));
    }

    int list(TPhoneFileEntry *entries, int count)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!entries || count <= 0)
            return count == 0 ? 0 : -1;
        std::memset(entries, 0, sizeof(TPhoneFileEntry) * static_cast<std::size_t>(count));
        const std::size_t filled = std::min<std::size_t>(m_listing.size(), count);
        for (std::size_t i = 0; i < filled; ++i) {
            putLittleEndian(m_listing[i].size, entries[i]);
            std::memcpy(entries[i].Path, m_listing[i].phonePath.data(),
                        m_listing[i].phonePath.size());
        }
        return 0;
    }

    int create(const char *phonePath)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        closeOpenFile();
        fs::path local;
        if (!m_rootSet || !toLocalPath(m_root, phonePath, local))
            return -1;
        m_open = openRegularFile(local);
        return m_open < 0 ? -1 : 0;
    }

    int read(void *buffer, int count)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_open < 0 || !buffer || count < 0)
            return -1;
        return readWhole(m_open, static_cast<char *>(buffer), count) ? 0 : -1;
    }

    int close()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        closeOpenFile();
        return 0;
    }

private:
    bool isReady() const
    {
        std::error_code error;
        return m_rootSet && m_announced && Clock::now() >= m_readyAt &&
               fs::is_directory(m_root, error);
    }

    void addToListing(const fs::directory_entry &entry)
    {
        std::error_code error;
        if (!entry.is_regular_file(error))
            return;
        const std::uintmax_t size = entry.file_size(error);
        const std::string phonePath =
            "/" + entry.path().lexically_relative(m_root).generic_string();
        // Files an entry cannot describe are left out.
        if (error || size > INT32_MAX || phonePath.size() > sizeof(TPhoneFileEntry::Path))
            return;
        m_listing.push_back({phonePath, static_cast<std::int32_t>(size)});
    }

    void joinAnnouncer()
    {
        if (m_announcer.joinable())
            m_announcer.join();
    }

    void closeOpenFile()
    {
        if (m_open >= 0)
            ::close(m_open);
        m_open = -1;
    }

    std::mutex m_mutex;
    bool m_rootSet = false;
    fs::path m_root;
    Clock::time_point m_readyAt;
    std::atomic<bool> m_announced{false};
    std::thread m_announcer;
    std::vector<ListedFile> m_listing;
    int m_open = -1; // the descriptor of the open phone file
};

FolderPhone &phone()
{
    static FolderPhone instance;
    return instance;
}

} // namespace

extern "C" {

P2KAPI_EXPORT int P2KAPI_CALL P2K_Init(P2KConnectCallback callback)
{
    return phone().init(callback);
}

P2KAPI_EXPORT int P2KAPI_CALL P2K_GetStatus(void)
{
    return phone().status();
}

P2KAPI_EXPORT int P2KAPI_CALL File_Count(void)
{
    return phone().count();
}

P2KAPI_EXPORT int P2KAPI_CALL File_List(TPhoneFileEntry *entries, int count)
{
    return phone().list(entries, count);
}

P2KAPI_EXPORT int P2KAPI_CALL File_Create(const char *path, int /*mode*/)
{
    return phone().create(path);
}

P2KAPI_EXPORT int P2KAPI_CALL File_Read(void *buffer, int /*lastIndex*/, int count)
{
    return phone().read(buffer, count);
}

P2KAPI_EXPORT int P2KAPI_CALL File_Close(void)
{
    return phone().close();
}
}

} // namespace vocafetch
