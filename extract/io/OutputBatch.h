#pragma once

#include "extract/io/OutputFile.h"

#include <QString>

#include <vector>

namespace vocafetch {

// The files of one run, written but not yet named, made durable together: one flush for the
// lot, then the names, then one sync per folder. A file appears whole or not at all.

enum class OutputOutcome
{
    Placed,
    NameTaken,
    Failed
};

struct OutputResult
{
    QByteArray path; // folder path + "/" + name
    OutputOutcome outcome = OutputOutcome::Failed;
    QString message; // why, when Failed
    QString reason;  // the system's words alone, when Failed
};

class OutputBatch
{
public:
    explicit OutputBatch(Placement placement = Placement::KeepExisting);
    // Discards every file added and not yet committed.
    ~OutputBatch();
    OutputBatch(const OutputBatch &) = delete;
    OutputBatch &operator=(const OutputBatch &) = delete;

    // Takes a written file. Throws (and discards the file) when one of its writes failed.
    // Commits on its own once its share of pendingLimit() files wait (the limit split between
    // the batches alive in the process), or once the process's batches hold pendingLimit()
    // together, so descriptors never run out however many containers are saved at once.
    void add(OutputFile file);
    // Makes the waiting files durable (one fdatasync for a single file, otherwise one syncfs
    // per file system), places each, fsyncs each folder placed into once, and returns one
    // result per file added since the last commit, in the order added.
    std::vector<OutputResult> commit();

    // How many files may wait in all the batches of the process: derived from the open-file
    // limit, which the first batch of the process raises to its hard limit.
    int pendingLimit() const noexcept { return m_pendingLimit; }
    int pendingCount() const noexcept { return int(m_pending.size()); }

private:
    void flush();
    std::vector<OutputResult> makeDurable();
    void syncFolders(std::vector<OutputResult> &results) const;

    Placement m_placement;
    int m_pendingLimit;
    std::vector<OutputFile> m_pending;
    std::vector<OutputResult> m_results;
};

} // namespace vocafetch
