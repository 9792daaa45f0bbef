// An in-process phone library with scripted answers that records every call made to it.
#pragma once

#include "PhoneLibrary.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

inline TPhoneFileEntry makePhoneEntry(const QByteArray &path, qint32 size)
{
    TPhoneFileEntry entry{};
    entry.Size = size;
    std::memset(entry.Unused, 0xAB, sizeof(entry.Unused));
    std::memcpy(entry.Path, path.constData(),
                std::min<std::size_t>(path.size(), sizeof(entry.Path)));
    return entry;
}

class FakePhoneLibrary : public PhoneLibrary
{
public:
    // Each status poll answers the next value; the last one repeats (0 when none is given).
    QList<int> statuses;
    std::vector<TPhoneFileEntry> entries;
    // What File_Count reports instead of the number of entries.
    std::optional<int> reportedCount;
    // Bytes served per phone path; a file listed without contents reads as nothing.
    QHash<QByteArray, QByteArray> contents;

    int initCalls = 0;
    int statusCalls = 0;
    int countCalls = 0;
    int listCalls = 0;
    bool listGotNull = false;
    int listGotCount = -1;
    QList<QByteArray> created;
    QList<int> createdModes;
    QList<QPair<int, int>> reads; // (last index, count)
    int closeCalls = 0;

    void addFile(const QByteArray &path, const QByteArray &bytes)
    {
        entries.push_back(makePhoneEntry(path, static_cast<qint32>(bytes.size())));
        contents.insert(path, bytes);
    }

    // Calls the connection callback the way a library does from a thread of its own.
    void callBackFromOtherThread()
    {
        std::thread thread(m_callback);
        thread.join();
    }

    void p2kInit(ConnectCallback callback) override
    {
        ++initCalls;
        m_callback = std::move(callback);
    }

    int p2kGetStatus() override
    {
        const int index = std::min<int>(statusCalls++, static_cast<int>(statuses.size()) - 1);
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
        for (int i = 0; i < count && i < static_cast<int>(entries.size()); ++i)
            list[i] = entries[static_cast<std::size_t>(i)];
    }

    void fileCreate(const char *phonePath, int mode) override
    {
        created.append(QByteArray(phonePath));
        createdModes.append(mode);
        m_open = contents.value(created.last());
    }

    void fileRead(void *buffer, int lastIndex, int count) override
    {
        reads.append({lastIndex, count});
        std::memcpy(buffer, m_open.constData(), std::min<std::size_t>(m_open.size(), count));
    }

    void fileClose() override { ++closeCalls; }

private:
    ConnectCallback m_callback;
    QByteArray m_open;
};
