// An in-process phone library with scripted answers that records the calls made to it. Like a
// phone, it delivers a file only whole: a file whose bytes no longer match its listed size, or
// one it cannot open, fails.
#pragma once

#include "phone/PhoneLibrary.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

namespace vocafetch {

inline TPhoneFileEntry makePhoneEntry(const QByteArray &path, qint32 size)
{
    TPhoneFileEntry entry{};
    entry.Size = size;
    std::memcpy(entry.Path, path.constData(), std::min<std::size_t>(path.size(), 504));
    return entry;
}

class FakePhoneLibrary : public PhoneLibrary
{
public:
    QList<int> statuses; // one per poll; the last repeats (0 when empty)
    std::vector<TPhoneFileEntry> entries;
    std::optional<int> reportedCount;       // File_Count's answer instead of the number of entries
    QHash<QByteArray, QByteArray> contents; // bytes served per phone path
    QSet<QByteArray> unopenable;            // listed, but refused when opened (a pipe by now)
    std::function<void()> duringRead;       // runs inside each read, on the caller's thread

    int initCalls = 0, statusCalls = 0, countCalls = 0, listCalls = 0, closeCalls = 0;
    bool listGotNull = false;
    int listGotCount = -1;
    QList<QByteArray> created;
    QList<QPair<int, int>> reads; // (last index, count)

    void addFile(const QByteArray &path, const QByteArray &bytes)
    {
        addChangedFile(path, static_cast<qint32>(bytes.size()), bytes);
    }

    // A file listed at `listedSize` that holds `bytes` by the time it is read.
    void addChangedFile(const QByteArray &path, qint32 listedSize, const QByteArray &bytes)
    {
        entries.push_back(makePhoneEntry(path, listedSize));
        contents.insert(path, bytes);
    }

    // Calls the connection callback the way a library does from a thread of its own.
    void callBackFromOtherThread() { std::thread(m_callback).join(); }

    void p2kInit(ConnectCallback callback) override
    {
        ++initCalls;
        m_callback = std::move(callback);
    }
    int p2kGetStatus() override
    {
        const auto index = std::min<qsizetype>(statusCalls++, statuses.size() - 1);
        return index < 0 ? 0 : statuses[index];
    }
    int fileCount() override
    {
        ++countCalls;
        return reportedCount.value_or(static_cast<int>(entries.size()));
    }
    void fileList(TPhoneFileEntry *list, int count) override
    {
        ++listCalls;
        listGotNull = list == nullptr;
        listGotCount = count;
        std::copy_n(entries.begin(), std::min<std::size_t>(count, entries.size()), list);
    }
    int fileCreate(const char *phonePath, int) override
    {
        created.append(phonePath);
        m_open = contents.value(created.last());
        m_isOpen = contents.contains(created.last()) && !unopenable.contains(created.last());
        return m_isOpen ? 0 : -1;
    }
    int fileRead(void *buffer, int lastIndex, int count) override
    {
        reads.append({lastIndex, count});
        if (duringRead)
            duringRead();
        if (!m_isOpen)
            return -1;
        std::memcpy(buffer, m_open.constData(), std::min<std::size_t>(m_open.size(), count));
        return m_open.size() == count ? 0 : -1;
    }
    void fileClose() override { ++closeCalls; }

private:
    ConnectCallback m_callback;
    QByteArray m_open;
    bool m_isOpen = false;
};

} // namespace vocafetch
