#include "extract/analysis/RecordingAnalysis.h"
#include "extract/analysis/WorkerThreads.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace vocafetch {

namespace {

// Container bytes after a part may pass for a few frames; more than this many frames going on
// past the part's end mean its DataLen stops inside the audio.
constexpr qint64 MaxFramesPastPartEnd = 8;

// Containers from this size on are analysed on several cores, at most this many.
constexpr qint64 ParallelAnalysisSize = 64 * 1024 * 1024;
constexpr unsigned MaxAnalysisThreads = 4;

// Walks the frames up to the part's end. True when they fill the part's data exactly and the
// audio does not plainly go on after it; walk then holds the frames up to the part's end.
// Otherwise walk ends at a stop of its own, from where a walk up to the limit can go on.
bool partHeaderHolds(const char *data, const RecordingAnalysis &recording,
                     const WspPartHeader &header, FrameWalk &walk)
{
    const qint64 end = header.dataEnd();
    if (end > recording.limit || end - recording.start < recording.walk.header.size)
        return false;
    continueAmrFrames(data, walk, end);
    if (walk.stop != WalkStop::Limit || walk.audioEnd != end)
        return false;
    FrameWalk after = walk;
    after.frames = 0;
    const qint64 window =
        (MaxFramesPastPartEnd + 1) * AmrMaxFrameSize * qint64(walk.header.channels);
    continueAmrFrames(data, after, std::min(recording.limit, end + window));
    return after.frames <= MaxFramesPastPartEnd;
}

} // namespace

QString endSourceName(EndSource source)
{
    switch (source) {
    case EndSource::PartHeader:
        return QStringLiteral("part header");
    case EndSource::Frames:
        return QStringLiteral("frames");
    case EndSource::None:
        break;
    }
    return QStringLiteral("none");
}

RecordingAnalysis analyseRecording(const char *data, qint64 start, qint64 limit, qint64 lowerBound)
{
    RecordingAnalysis recording;
    recording.start = start;
    recording.limit = std::max(start, limit);
    recording.audioEnd = recording.limit;
    recording.walk.audioEnd = start;
    if (start < 0 || limit <= start)
        return recording;
    // The header alone first: the frames are walked once, up to the part's end when there is
    // a part header, and on up to the limit when it does not add up.
    recording.walk.header = readAmrHeader(data, start, limit);
    if (!recording.recognised())
        return recording;
    recording.walk.audioEnd = start + recording.walk.header.size;

    const std::optional<WspPartHeader> partHeader = findPartHeader(data, start, lowerBound);
    if (partHeader) {
        recording.hasPartHeader = true;
        recording.partHeader = *partHeader;
        if (partHeaderHolds(data, recording, recording.partHeader, recording.walk)) {
            recording.endFrom = EndSource::PartHeader;
            recording.audioEnd = recording.walk.audioEnd;
            return recording;
        }
    }
    continueAmrFrames(data, recording.walk, limit);
    recording.endFrom = EndSource::Frames;
    recording.audioEnd = recording.walk.audioEnd;
    return recording;
}

namespace {

int automaticThreadCount(qint64 size)
{
    if (size < ParallelAnalysisSize)
        return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, MaxAnalysisThreads));
}

} // namespace

// Analyses recordings first ... last - 1 into out[0 ...]. Each recording's bounds come from
// the offsets alone, so any stretch of recordings can be analysed on its own.
void analyseRecordingsInto(const char *data, qint64 size, const QVector<qint64> &starts,
                           qsizetype first, qsizetype last, RecordingAnalysis *out)
{
    for (qsizetype i = first; i < last; ++i, ++out) {
        const qint64 start = starts[i];
        if (start < 0 || start >= size) {
            out->start = out->limit = out->audioEnd = std::clamp<qint64>(start, 0, size);
            continue;
        }
        qint64 limit = size;
        if (i + 1 < starts.size() && starts[i + 1] > start)
            limit = std::min<qint64>(starts[i + 1], size);
        const qint64 previousStart = i > 0 ? std::clamp<qint64>(starts[i - 1], 0, start) : 0;
        *out = analyseRecording(data, start, limit, previousStart);
    }
}

QVector<RecordingAnalysis> analyseRecordings(const char *data, qint64 size,
                                             const QVector<qint64> &starts, int threads)
{
    return analyseRecordingRange(data, size, starts, 0, starts.size(), threads);
}

QVector<RecordingAnalysis> analyseRecordingRange(const char *data, qint64 size,
                                                 const QVector<qint64> &starts, qsizetype first,
                                                 qsizetype last, int threads)
{
    first = std::clamp<qsizetype>(first, 0, starts.size());
    last = std::clamp<qsizetype>(last, first, starts.size());
    QVector<RecordingAnalysis> result(last - first);
    RecordingAnalysis *out = result.data();
    if (threads <= 0)
        threads = automaticThreadCount(size);
    threads = int(std::max<qsizetype>(1, std::min<qsizetype>(threads, last - first)));
    // The walk waits on each frame header before it can read the next, so walks on several
    // cores read the container faster than one. Stretches of about equal bytes.
    const qint64 low = first < last ? std::clamp<qint64>(starts[first], 0, size) : 0;
    const qint64 high = last < starts.size() ? std::clamp<qint64>(starts[last], low, size) : size;
    std::vector<qsizetype> bounds{first};
    for (int t = 1; t < threads; ++t) {
        const qint64 boundary = low + (high - low) / threads * t;
        bounds.push_back(
            std::max(bounds.back(), qsizetype(std::lower_bound(starts.begin() + bounds.back(),
                                                               starts.begin() + last, boundary) -
                                              starts.begin())));
    }
    bounds.push_back(last);
    runOnThreads(threads, [&](int t) {
        analyseRecordingsInto(data, size, starts, bounds[size_t(t)], bounds[size_t(t) + 1],
                              out + (bounds[size_t(t)] - first));
    });
    return result;
}

QVector<RecordingAnalysis> analyseRecordings(const QByteArray &container,
                                             const QVector<qint64> &starts, int threads)
{
    return analyseRecordings(container.constData(), container.size(), starts, threads);
}

void shiftOffsets(RecordingAnalysis &recording, qint64 base)
{
    recording.start += base;
    recording.limit += base;
    recording.audioEnd += base;
    recording.walk.audioEnd += base;
    if (recording.hasPartHeader) {
        recording.partHeader.offset += base;
        recording.partHeader.dataOffset += base;
    }
}

ByteSpan cleanRange(const RecordingAnalysis &recording)
{
    return {recording.start, recording.recognised() ? recording.audioEnd : recording.limit};
}

CleanCut cleanCut(const RecordingAnalysis &recording)
{
    const ByteSpan range = cleanRange(recording);
    if (!recording.recognised())
        return {QByteArray(), range};
    const qint64 framesBegin = std::min(range.end, range.begin + recording.walk.header.size);
    return {canonicalAmrHeader(recording.walk.header), {framesBegin, range.end}};
}

QByteArray cleanCutBytes(const char *data, const CleanCut &cut)
{
    QByteArray bytes = cut.header;
    bytes.append(data + cut.frames.begin, qsizetype(cut.frames.size()));
    return bytes;
}

} // namespace vocafetch
