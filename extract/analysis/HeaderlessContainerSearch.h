#pragma once

#include "extract/analysis/HeaderlessRuns.h"

#include <QByteArray>

#include <functional>

namespace vocafetch {

// The headerless search over a whole container whose bytes are reached a window at a time and
// whose signed recordings are analysed a stretch at a time, so that memory stays bounded by
// the window and the stretch whatever the container holds; pieces of the regions are searched
// on several cores at once and joined into what one search finds. A run that lies across a window's
// edge is found whole: the search goes on in a window that begins where it had to stop, larger
// when the run is longer than a window.

struct HeaderlessContainer
{
    qint64 size = 0;
    // The bytes asked of bytes() at once, and the most: a window grows, doubling, while a run
    // from its start goes on past its end (its last window ends the run at its end).
    qint64 window = qint64(4) << 20;
    qint64 largestWindow = qint64(256) << 20;
    // A region is searched in pieces this long at most, on threads (0: one per core, up to
    // four, when there is much to search); what they find is joined into what one search finds.
    qint64 piece = qint64(16) << 20;
    int threads = 0;
    // The container's bytes [begin, begin + length): in memory the container is in, or read
    // into buffer; valid until the next call with that buffer. Called from several threads at
    // once, each with a buffer of its own.
    std::function<const char *(qint64 begin, qint64 length, QByteArray &buffer)> bytes;
    // How many signed recordings it has, and the analyses of recordings first ... last - 1.
    qsizetype signedCount = 0;
    std::function<QVector<RecordingAnalysis>(qsizetype first, qsizetype last)> analyses;
    // Runs each pass of the search over bytes() (when given): a guard for mapped bytes.
    std::function<void(const std::function<void()> &pass)> guarded;
};

// The headerless runs where no signed recording's audio lies (uncoveredRegions), ascending,
// with container offsets: the same runs findHeaderlessRecordings finds in the whole container
// (for a run longer than the largest window, its part in that window: frames that chain on past
// the largest window are judged on that window's bytes, as if the container ended there).
QVector<RecordingAnalysis> findContainerHeaderless(const HeaderlessContainer &container,
                                                   const HeaderlessLimits &limits = {});

} // namespace vocafetch
