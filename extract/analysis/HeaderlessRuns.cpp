#include "extract/analysis/HeaderlessRuns.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vocafetch {

namespace {

constexpr int SignatureLength = 5; // "#!AMR"
// Frame headers checked in a row, with table look-ups only, before payloads are looked at: in
// random bytes one offset in ten thousand gets past them.
constexpr int QuickChainFrames = 4;
constexpr int FrameTypes = 16;

bool isSpeechType(bool wideBand, int type)
{
    return type <= (wideBand ? 8 : 7);
}

bool isNoDataType(bool wideBand, int type)
{
    return type == 15 || (wideBand && type == 14);
}

// Whether count frame headers follow each other from pos on, within end.
bool chainsFrames(const char *data, qint64 pos, qint64 end, const FrameSizeTable &sizes,
                  int count)
{
    for (int i = 0; i < count; ++i) {
        const int size = pos < end ? sizes[quint8(data[pos])] : 0;
        if (size == 0 || end - pos < size)
            return false;
        pos += size;
    }
    return true;
}

// A payload no encoder gives: one byte over and over, or a copy of the last payload of the same
// frame type (the frames of a table or a pattern repeat; speech never does).
bool isDeadPayload(const char *payload, int length, const char *previous)
{
    if (length <= 0)
        return false;
    if (previous != nullptr && std::memcmp(payload, previous, size_t(length)) == 0)
        return true;
    return std::all_of(payload + 1, payload + length,
                       [first = payload[0]](char byte) { return byte == first; });
}

// A run so far: where its last counted frame ends, its frames and its live speech frames.
struct RunTally
{
    qint64 end = 0;
    qint64 frames = 0;
    qint64 speech = 0;
};

struct Run
{
    RunTally tally;
    WalkStop stop = WalkStop::Limit;
};

// Follows the frames from pos on as long as limits take them for one recording's, reading
// nothing at or past end.
Run followRun(const char *data, qint64 pos, qint64 end, bool wideBand,
              const HeaderlessLimits &limits)
{
    const FrameSizeTable &sizes = frameSizeTable(wideBand);
    const char *previous[FrameTypes] = {};
    RunTally tally{pos, 0, 0};
    RunTally beforeBad = tally;  // the run up to the last bad frame
    RunTally beforeSilence = tally; // the run up to the current NO_DATA streak
    qint64 sinceBad = limits.minFramesBetweenBadFrames;
    int noData = 0;
    while (pos < end) {
        const quint8 byte = quint8(data[pos]);
        if (byte == 0 && startsZeroRun(data, pos, end))
            return {tally, WalkStop::ZeroRun};
        const int size = sizes[byte];
        if (size == 0)
            return {tally, WalkStop::InvalidHeader};
        if (end - pos < size)
            return {tally, WalkStop::CrossesLimit};
        const int type = byte >> 3;
        const char *payload = data + pos + 1;
        const bool bad = (byte & 0x04) == 0 || isForeignSid(wideBand, type) ||
                         isDeadPayload(payload, size - 1, previous[type]);
        previous[type] = payload;
        if (bad) {
            if (tally.frames == 0 || sinceBad < limits.minFramesBetweenBadFrames)
                return {tally.frames == 0 ? tally : beforeBad, WalkStop::NotSpeech};
            beforeBad = tally;
            sinceBad = 0;
        } else {
            ++sinceBad;
        }
        if (isNoDataType(wideBand, type)) {
            if (noData++ == 0)
                beforeSilence = tally;
            if (noData > limits.maxNoDataStreak)
                return {beforeSilence, WalkStop::NotSpeech};
        } else {
            noData = 0;
        }
        pos += size;
        tally.end = pos;
        ++tally.frames;
        tally.speech += !bad && isSpeechType(wideBand, type) ? 1 : 0;
    }
    return {tally, WalkStop::Limit};
}

bool isSpeech(const RunTally &tally, const HeaderlessLimits &limits)
{
    return tally.frames >= limits.minFrames && tally.speech >= limits.minSpeechFrames;
}

RecordingAnalysis headerlessRecording(const char *data, qint64 begin, qint64 limit,
                                      bool wideBand, const Run &run)
{
    RecordingAnalysis recording;
    recording.start = begin;
    recording.limit = limit;
    recording.headerless = true;
    recording.endFrom = EndSource::Frames;
    recording.walk = walkHeaderlessFrames(data, begin, run.tally.end,
                                          wideBand ? AmrFormat::WideBand : AmrFormat::NarrowBand);
    recording.walk.stop = run.stop;
    recording.audioEnd = recording.walk.audioEnd;
    return recording;
}

// The speech run starting at pos, narrow band tried first.
std::optional<RecordingAnalysis> speechRunAt(const char *data, qint64 pos, qint64 end,
                                             const HeaderlessLimits &limits)
{
    for (const bool wideBand : {false, true}) {
        if (!chainsFrames(data, pos, end, frameSizeTable(wideBand), QuickChainFrames))
            continue;
        const Run run = followRun(data, pos, end, wideBand, limits);
        if (isSpeech(run.tally, limits))
            return headerlessRecording(data, pos, end, wideBand, run);
    }
    return std::nullopt;
}

} // namespace

QVector<RecordingAnalysis> findHeaderlessRuns(const char *data, qint64 begin, qint64 end,
                                              const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> runs;
    qint64 pos = std::max<qint64>(begin, 0);
    while (pos < end) {
        // Seven bytes in eight have a padding bit set and head no frame of either band.
        if ((quint8(data[pos]) & 0x83) != 0) {
            ++pos;
            continue;
        }
        std::optional<RecordingAnalysis> run = speechRunAt(data, pos, end, limits);
        if (!run) {
            ++pos;
            continue;
        }
        pos = run->audioEnd;
        runs.append(std::move(*run));
    }
    return runs;
}

QVector<ByteSpan> uncoveredRegions(qint64 size, const QVector<RecordingAnalysis> &recordings)
{
    QVector<ByteSpan> regions;
    auto add = [&](qint64 begin, qint64 end) {
        begin = std::clamp<qint64>(begin, 0, size);
        end = std::clamp<qint64>(end, 0, size);
        if (end > begin)
            regions.append({begin, end});
    };
    add(0, recordings.isEmpty() ? size : recordings.first().start);
    for (const RecordingAnalysis &recording : recordings) {
        const qint64 covered = recording.recognised()
                                   ? recording.audioEnd
                                   : std::min(recording.start + SignatureLength, recording.limit);
        add(covered, recording.limit);
    }
    return regions;
}

QVector<RecordingAnalysis> findHeaderlessRecordings(const char *data, qint64 size,
                                                    const QVector<RecordingAnalysis> &recordings,
                                                    const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> found;
    for (const ByteSpan &region : uncoveredRegions(size, recordings))
        found.append(findHeaderlessRuns(data, region.begin, region.end, limits));
    return found;
}

} // namespace vocafetch
