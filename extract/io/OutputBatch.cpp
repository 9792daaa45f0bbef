#include "extract/io/OutputBatch.h"

#include "extract/io/DescriptorBudget.h"
#include "extract/io/IoErrors.h"
#include "extract/io/SyncCalls.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace vocafetch {

namespace {

constexpr int MaxPending = 4096;

// Half the work descriptors: the rest stay for the jobs' containers and folders.
int pendingLimitFromOpenFileLimit()
{
    const std::optional<qint64> work = workDescriptors();
    if (!work)
        return MaxPending;
    return int(std::clamp<qint64>(*work / 2, 1, MaxPending));
}

// The files waiting in every batch of the process, and the batches alive: batches of several
// containers saved at once share the one descriptor budget.
std::atomic<int> filesWaiting{0};
std::atomic<int> batchesAlive{0};

using FolderKey = std::pair<dev_t, ino_t>;

FolderKey keyOf(const OutputFolder &folder)
{
    return {folder.device(), folder.inode()};
}

} // namespace

OutputBatch::OutputBatch(Placement placement)
    : m_placement(placement), m_pendingLimit(pendingLimitFromOpenFileLimit())
{
    ++batchesAlive;
}

OutputBatch::~OutputBatch()
{
    filesWaiting -= int(m_pending.size());
    --batchesAlive;
}

void OutputBatch::add(OutputFile file)
{
    file.finishWriting();
    m_pending.push_back(std::move(file));
    const int waiting = ++filesWaiting;
    // Each batch flushes at its share of the limit, and any batch once the process holds the
    // limit: the descriptors held stay within it (and one file a batch) however many batches
    // run at once.
    const int share = std::max(1, m_pendingLimit / std::max(1, batchesAlive.load()));
    if (int(m_pending.size()) >= share || waiting >= m_pendingLimit)
        flush();
}

std::vector<OutputResult> OutputBatch::commit()
{
    flush();
    return std::exchange(m_results, {});
}

void OutputBatch::flush()
{
    if (m_pending.empty())
        return;
    std::vector<OutputResult> results = makeDurable();
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        OutputFile &file = m_pending[i];
        OutputResult &result = results[i];
        result.path = file.path();
        if (!result.message.isEmpty())
            continue;
        try {
            result.outcome = file.place(m_placement) == PlaceOutcome::Placed
                                 ? OutputOutcome::Placed
                                 : OutputOutcome::NameTaken;
        } catch (const ExtractError &error) {
            result.message = error.message();
            result.reason = error.reason();
        }
    }
    syncFolders(results);
    // The files not placed are discarded here: their temporaries go.
    std::vector<OutputFile> done = std::exchange(m_pending, {});
    filesWaiting -= int(done.size());
    done.clear();
    m_results.insert(m_results.end(), std::make_move_iterator(results.begin()),
                     std::make_move_iterator(results.end()));
}

// Before any name is given: the bytes of every waiting file reach the disk. Returns one result
// per waiting file, Failed with its message where its data is not durable.
std::vector<OutputResult> OutputBatch::makeDurable()
{
    std::vector<OutputResult> errors(m_pending.size());
    const auto failed = [&errors](std::size_t i, const ExtractError &error) {
        errors[i].message = error.message();
        errors[i].reason = error.reason();
    };
    if (m_pending.size() == 1) {
        try {
            m_pending.front().syncData();
        } catch (const ExtractError &error) {
            failed(0, error);
        }
        return errors;
    }
    std::set<dev_t> synced;
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        const OutputFolder &folder = m_pending[i].folder();
        if (!synced.insert(folder.device()).second)
            continue;
        if (const int error = countedSyncfs(folder.descriptor())) {
            for (std::size_t j = i; j < m_pending.size(); ++j)
                if (m_pending[j].folder().device() == folder.device())
                    failed(j, systemError("save", m_pending[j].path(), error));
        }
    }
    return errors;
}

// After the names: each folder that gained one, and the folders created on the way to it,
// synced once so the names survive a crash. A name whose folder cannot be synced is reported
// as failed, for it may vanish.
void OutputBatch::syncFolders(std::vector<OutputResult> &results) const
{
    std::map<FolderKey, int> synced; // folder -> errno of its one fsync
    auto sync = [&synced](const OutputFolder &folder) {
        const auto [entry, first] = synced.emplace(keyOf(folder), 0);
        if (first)
            entry->second = countedFsync(folder.descriptor());
        return entry->second;
    };
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (results[i].outcome != OutputOutcome::Placed)
            continue;
        const OutputFolder &folder = m_pending[i].folder();
        int error = sync(folder);
        for (const OutputFolder &parent : folder.createdIn())
            error = error ? error : sync(parent);
        if (error != 0) {
            const ExtractError failure = systemError("save", results[i].path, error);
            results[i].outcome = OutputOutcome::Failed;
            results[i].message = failure.message();
            results[i].reason = failure.reason();
        }
    }
}

} // namespace vocafetch
