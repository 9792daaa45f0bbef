#include "extract/analysis/HeaderlessRuns.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vocafetch {

namespace {

constexpr int SignatureLength = 5; // "#!AMR"
// Frame headers checked in a row, with table look-ups only, before payloads are looked at: in
// random bytes one offset in ten thousand gets past them.
constexpr int QuickChainFrames = 4;
constexpr int FrameTypes = 16;
// Leading frames at most taken for container bytes before a run.
constexpr int MaxStrayFrames = 3;

// No frame header of either band has a padding bit set.
constexpr quint8 PaddingBits = 0x83;

bool isSpeechType(bool wideBand, int type)
{
    return type <= (wideBand ? 8 : 7);
}

bool isNoDataType(bool wideBand, int type)
{
    return type == 15 || (wideBand && type == 14);
}

// Whether count frame headers follow each other from pos on, within end.
bool chainsFrames(const char *data, qint64 pos, qint64 end, const FrameSizeTable &sizes, int count)
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

// The payload bytes of a run's last live speech frames: how many repeat the byte at the same
// place in the last frame of their type, and how many are zero. Encoded speech has few of
// either (under a tenth in any 25 frames); tables and program code have many.
class PayloadWindow
{
public:
    static constexpr int Frames = 25;

    void add(const char *payload, int length, const char *previous, const RunTally &before)
    {
        Entry entry{0, 0, length, before};
        for (int i = 0; i < length; ++i) {
            entry.zero += payload[i] == 0 ? 1 : 0;
            entry.same += previous != nullptr && payload[i] == previous[i] ? 1 : 0;
        }
        if (m_count == Frames)
            subtract(m_entries[size_t(m_next)]);
        else
            ++m_count;
        m_entries[size_t(m_next)] = entry;
        m_next = (m_next + 1) % Frames;
        m_same += entry.same;
        m_zero += entry.zero;
        m_length += entry.length;
    }

    bool looksLikeSpeech(const HeaderlessLimits &limits) const
    {
        return m_count < Frames || (m_same <= limits.maxRepeatedByteShare * m_length &&
                                    m_zero <= limits.maxZeroByteShare * m_length);
    }

    // The run before the window's oldest frame.
    const RunTally &beforeOldest() const
    {
        return m_entries[size_t(m_count < Frames ? 0 : m_next)].before;
    }

private:
    struct Entry
    {
        int same;
        int zero;
        int length;
        RunTally before;
    };

    void subtract(const Entry &entry)
    {
        m_same -= entry.same;
        m_zero -= entry.zero;
        m_length -= entry.length;
    }

    std::array<Entry, Frames> m_entries; // entry i is set before it is read
    int m_next = 0;
    int m_count = 0;
    int m_same = 0;
    int m_zero = 0;
    int m_length = 0;
};

// Follows the frames from a start on as long as limits take them for one recording's, reading
// nothing at or past end.
class RunFollower
{
public:
    RunFollower(const char *data, qint64 end, bool wideBand, const HeaderlessLimits &limits)
        : m_data(data), m_end(end), m_wideBand(wideBand), m_limits(limits),
          m_sizes(frameSizeTable(wideBand))
    {
    }

    Run follow(qint64 pos)
    {
        m_tally = m_beforeBad = m_beforeSilence = {pos, 0, 0};
        while (pos < m_end) {
            const std::optional<Run> stopped = take(pos);
            if (stopped)
                return *stopped;
            pos = m_tally.end;
        }
        return {m_tally, WalkStop::Limit};
    }

private:
    // Adds the frame at pos to the run, or says where and why the run ends before it.
    std::optional<Run> take(qint64 pos)
    {
        const quint8 byte = quint8(m_data[pos]);
        if (byte == 0 && startsZeroRun(m_data, pos, m_end))
            return Run{m_tally, WalkStop::ZeroRun};
        const int size = m_sizes[byte];
        if (size == 0)
            return Run{m_tally, WalkStop::InvalidHeader};
        if (m_end - pos < size)
            return Run{m_tally, WalkStop::CrossesLimit};
        const int type = byte >> 3;
        const char *payload = m_data + pos + 1;
        const char *previous = m_previous[type];
        m_previous[type] = payload;
        const bool bad = (byte & 0x04) == 0 || isForeignSid(m_wideBand, type) ||
                         isDeadPayload(payload, size - 1, previous);
        if (bad && !allowBadFrame())
            return Run{m_tally.frames == 0 ? m_tally : m_beforeBad, WalkStop::NotSpeech};
        m_sinceBad = bad ? 0 : m_sinceBad + 1;
        if (!allowSilence(type))
            return Run{m_beforeSilence, WalkStop::NotSpeech};
        const bool speech = !bad && isSpeechType(m_wideBand, type);
        if (speech) {
            m_window.add(payload, size - 1, previous, m_tally);
            if (!m_window.looksLikeSpeech(m_limits))
                return Run{m_window.beforeOldest(), WalkStop::NotSpeech};
        }
        m_tally.end = pos + size;
        ++m_tally.frames;
        m_tally.speech += speech ? 1 : 0;
        return std::nullopt;
    }

    // A run neither starts with a bad frame nor has two close together.
    bool allowBadFrame()
    {
        if (m_tally.frames == 0 || m_sinceBad < m_limits.minFramesBetweenBadFrames)
            return false;
        m_beforeBad = m_tally;
        return true;
    }

    // A NO_DATA streak longer than a pause has is no recording's.
    bool allowSilence(int type)
    {
        if (!isNoDataType(m_wideBand, type)) {
            m_noData = 0;
            return true;
        }
        if (m_noData++ == 0)
            m_beforeSilence = m_tally;
        return m_noData <= m_limits.maxNoDataStreak;
    }

    const char *m_data;
    qint64 m_end;
    bool m_wideBand;
    const HeaderlessLimits &m_limits;
    const FrameSizeTable &m_sizes;
    const char *m_previous[FrameTypes] = {};
    RunTally m_tally;
    RunTally m_beforeBad;     // the run up to its last bad frame
    RunTally m_beforeSilence; // the run up to the current NO_DATA streak
    qint64 m_sinceBad = std::numeric_limits<int>::max();
    int m_noData = 0;
    PayloadWindow m_window;
};

bool isSpeech(const RunTally &tally, const HeaderlessLimits &limits)
{
    return tally.frames >= limits.minFrames && tally.speech >= limits.minSpeechFrames;
}

RecordingAnalysis headerlessRecording(const char *data, qint64 begin, qint64 limit, bool wideBand,
                                      const Run &run)
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

// Past the container bytes that happen to chain into a run's first real frame: a speech frame
// of another type than the frame after it (a talk spurt keeps one mode). Walks at most
// MaxStrayFrames frames of the run [pos, runEnd).
qint64 afterStrayFrames(const char *data, qint64 pos, qint64 runEnd, bool wideBand)
{
    const FrameSizeTable &sizes = frameSizeTable(wideBand);
    for (int stray = 0; stray < MaxStrayFrames; ++stray) {
        const quint8 byte = quint8(data[pos]);
        const qint64 next = pos + sizes[byte];
        if (next >= runEnd || !isSpeechType(wideBand, byte >> 3) ||
            ((quint8(data[next]) ^ byte) & 0x78) == 0)
            break;
        pos = next;
    }
    return pos;
}

// The speech run starting at pos, narrow band tried first.
std::optional<RecordingAnalysis> speechRunAt(const char *data, qint64 pos, qint64 end,
                                             const HeaderlessLimits &limits)
{
    for (const bool wideBand : {false, true}) {
        if (!chainsFrames(data, pos, end, frameSizeTable(wideBand), QuickChainFrames))
            continue;
        const Run run = RunFollower(data, end, wideBand, limits).follow(pos);
        if (!isSpeech(run.tally, limits))
            continue;
        const qint64 begin = afterStrayFrames(data, pos, run.tally.end, wideBand);
        RecordingAnalysis recording = headerlessRecording(data, begin, end, wideBand, run);
        const qint64 strays = run.tally.frames - recording.frames();
        if (recording.frames() >= limits.minFrames &&
            run.tally.speech - strays >= limits.minSpeechFrames)
            return recording;
    }
    return std::nullopt;
}

// Whether two frame headers follow each other at pos: four offsets in five of those that could
// head a frame fail this, with two table look-ups.
inline bool twoFrames(const char *data, qint64 pos, qint64 end, const FrameSizeTable &sizes)
{
    const int first = sizes[quint8(data[pos])];
    if (first == 0 || end - pos <= first)
        return false;
    const qint64 next = pos + first;
    const int second = sizes[quint8(data[next])];
    return second != 0 && end - next >= second;
}

// The first offset from pos on whose byte has no padding bit set, or end. Seven bytes in eight
// of random data do, so they are skipped sixteen at a time where the processor allows.
inline qint64 nextCandidate(const char *data, qint64 pos, qint64 end)
{
#ifdef __SSE2__
    const __m128i padding = _mm_set1_epi8(char(PaddingBits));
    const __m128i zero = _mm_setzero_si128();
    while (end - pos >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(bytes, padding), zero));
        if (mask != 0)
            return pos + __builtin_ctz(unsigned(mask));
        pos += 16;
    }
#endif
    while (pos < end && (quint8(data[pos]) & PaddingBits) != 0)
        ++pos;
    return pos;
}

// The run, if any, that the search takes at pos: the offset's frame header and the next one
// look right in one band, then speechRunAt.
std::optional<RecordingAnalysis> runAt(const char *data, qint64 pos, qint64 end,
                                       const HeaderlessLimits &limits)
{
    if (twoFrames(data, pos, end, frameSizeTable(false)) ||
        twoFrames(data, pos, end, frameSizeTable(true)))
        return speechRunAt(data, pos, end, limits);
    return std::nullopt;
}

// Where probes may stand apart. A run the search takes at q chains at least minFrames frames
// from q, minSpeechFrames of them speech frames, over L bytes; its frame starts are at most
// the band's largest frame W apart. A window of W offsets from a probe p in [q, q + L - K W]
// then holds a frame start from which K frames of the run chain. Probes S apart put one in
// that range when S - 1 <= L - K W; a probe whose window holds no such chain shows that no
// run starts in the S offsets up to it.
constexpr int ProbeChainFrames = QuickChainFrames;

struct BandProbe
{
    const FrameSizeTable *sizes;
    int window; // the band's largest frame
    int stride; // the spacing its shortest run allows
};

// A band's largest frame and its smallest speech frame, from its frame-size table.
struct BandFrames
{
    int largest = 0;
    int smallestSpeech = std::numeric_limits<int>::max();
};

BandFrames bandFramesOf(bool wideBand)
{
    BandFrames frames;
    const FrameSizeTable &sizes = frameSizeTable(wideBand);
    for (int byte = 0; byte < 256; ++byte) {
        const int size = sizes[size_t(byte)];
        frames.largest = std::max(frames.largest, size);
        if (size > 0 && isSpeechType(wideBand, byte >> 3))
            frames.smallestSpeech = std::min(frames.smallestSpeech, size);
    }
    return frames;
}

BandProbe bandProbe(bool wideBand, const HeaderlessLimits &limits)
{
    // The search runs once for each stretch between recordings: the tables are read once.
    static const BandFrames bands[] = {bandFramesOf(false), bandFramesOf(true)};
    const BandFrames &frames = bands[wideBand ? 1 : 0];
    const qint64 speechFrames = std::max(limits.minSpeechFrames, 0);
    const qint64 otherFrames = std::max<qint64>(limits.minFrames - speechFrames, 0);
    const qint64 shortestRun = speechFrames * frames.smallestSpeech + otherFrames;
    const qint64 stride = shortestRun - qint64(ProbeChainFrames) * frames.largest + 1;
    return {&frameSizeTable(wideBand), frames.largest, int(std::clamp<qint64>(stride, 1, 1 << 20))};
}

// Whether the probe at p finds, in either band, a frame start in its window from which
// ProbeChainFrames frames chain. One pass over the longer window serves both bands.
bool probeHits(const char *data, qint64 p, qint64 end, const std::array<BandProbe, 2> &bands)
{
    const qint64 windowEnd = std::min(end, p + std::max(bands[0].window, bands[1].window));
    for (qint64 pos = nextCandidate(data, p, windowEnd); pos < windowEnd;
         pos = nextCandidate(data, pos + 1, windowEnd)) {
        for (const BandProbe &band : bands) {
            if (pos - p < band.window &&
                chainsFrames(data, pos, end, *band.sizes, ProbeChainFrames))
                return true;
        }
    }
    return false;
}

// Tries every offset of [pos, last] until a run starts; the run, or nothing.
std::optional<RecordingAnalysis> firstRunFrom(const char *data, qint64 pos, qint64 last, qint64 end,
                                              const HeaderlessLimits &limits)
{
    const qint64 stop = std::min(last + 1, end);
    for (pos = nextCandidate(data, pos, stop); pos < stop;
         pos = nextCandidate(data, pos + 1, stop)) {
        if (std::optional<RecordingAnalysis> run = runAt(data, pos, end, limits))
            return run;
    }
    return std::nullopt;
}

} // namespace

QVector<RecordingAnalysis> findHeaderlessRuns(const char *data, qint64 begin, qint64 end,
                                              const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> runs;
    const std::array<BandProbe, 2> bands = {bandProbe(false, limits), bandProbe(true, limits)};
    const qint64 stride = limits.probe ? std::min(bands[0].stride, bands[1].stride) : qint64(1);
    qint64 pos = std::max<qint64>(begin, 0);
    while (pos < end) {
        // Probes from pos on, stride apart: each that finds nothing clears the offsets up to it.
        qint64 probe = pos;
        while (stride > 1 && probe < end && !probeHits(data, probe, end, bands))
            probe += stride;
        if (probe >= end)
            break;
        const qint64 from = std::max(pos, probe - stride + 1);
        std::optional<RecordingAnalysis> run = firstRunFrom(data, from, probe, end, limits);
        if (!run) {
            pos = probe + 1;
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
