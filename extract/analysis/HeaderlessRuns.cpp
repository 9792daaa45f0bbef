#include "extract/analysis/HeaderlessRuns.h"

#include "extract/analysis/BandFrames.h"
#include "extract/analysis/ByteStretches.h"
#include "extract/analysis/FrameMarks.h"
#include "extract/analysis/RunFollower.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vocafetch {

namespace {

constexpr int SignatureLength = 5; // "#!AMR"
// Leading frames at most taken for container bytes before a run.
constexpr int MaxStrayFrames = 3;
// Frames a probe chains from a frame start in its window.
constexpr int ProbeChainFrames = 4;

enum class Outcome
{
    Run,
    NoRun,
    Undecided,
};

} // namespace

// Where probes may stand apart. A run the search takes at s holds a stretch of minFrames frames
// with minSpeechFrames live speech frames in it, so its frames from s span at least
// L = minSpeechFrames * (the band's smallest speech frame) + the other frames' one byte each.
// With frames at most W bytes, the first probe p at or after s finds in [p, p + W) a frame
// start from which ProbeChainFrames (K) frames of the run chain when p - s <= L - K W: probes
// S = L - K W + 1 apart, each missing probe shows that no run starts in the S offsets up to it.
// For that the first S + K W bytes of a run chain without a damaged header stepped over (its
// reach): a header damaged so early may as well be the end of container bytes passing for
// frames, and the probe's chains need no resync.
class HeaderlessSearch::Impl
{
public:
    explicit Impl(const HeaderlessLimits &limits)
        : m_limits(limits), m_bands{{BandFrames(false, m_limits), BandFrames(true, m_limits)}},
          m_followers{{RunFollower(m_bands[0], m_limits), RunFollower(m_bands[1], m_limits)}}
    {
        const qint64 speechFrames = std::max(m_limits.minSpeechFrames, 0);
        const qint64 otherFrames = std::max<qint64>(m_limits.minFrames - speechFrames, 0);
        qint64 stride = std::numeric_limits<qint64>::max();
        for (const BandFrames &band : m_bands) {
            const qint64 shortest = speechFrames * band.smallestSpeechFrame() + otherFrames;
            stride = std::min(stride, shortest - ProbeChainFrames * band.largestFrame() + 1);
            m_window = std::max(m_window, band.largestFrame());
        }
        m_stride = std::clamp<qint64>(stride, 1, qint64(1) << 20);
        for (int b = 0; b < 2; ++b)
            m_reach[b] = m_stride + ProbeChainFrames * m_bands[b].largestFrame();
        // A stretch of one or two bytes over and over this long holds no frame start a probe
        // chains from: any frame in it is dead or one of a long NO_DATA streak.
        m_blankStretch = std::max<qint64>(2 * m_window + 6,
                                          m_window + std::max(m_limits.maxNoDataStreak, 0) + 2);
    }

    qint64 search(const char *data, qint64 from, qint64 readableEnd, qint64 regionEnd,
                  QVector<RecordingAnalysis> &runs, bool decideFirst);

private:
    qint64 firstHitProbe(const char *data, qint64 p, const ByteExtent &extent) const;
    bool probeHits(const char *data, qint64 p, const ByteExtent &extent) const;
    bool chainsPlainly(const BandFrames &band, const char *data, qint64 pos,
                       const ByteExtent &extent) const;
    Outcome tryAt(const char *data, qint64 s, const ByteExtent &extent, qint64 regionEnd,
                  RecordingAnalysis &run);
    Outcome tryBand(int b, const char *data, qint64 s, const ByteExtent &extent, qint64 regionEnd,
                    RecordingAnalysis &run);
    qint64 extendBack(const BandFrames &band, const char *data, qint64 first, qint64 lowest,
                      const ByteExtent &extent, RunTally &tally) const;

    HeaderlessLimits m_limits;
    std::array<BandFrames, 2> m_bands;
    std::array<RunFollower, 2> m_followers;
    std::array<FrameMarks, 2> m_marks;
    qint64 m_stride = 1;
    std::array<qint64, 2> m_reach{};
    int m_window = 0;
    qint64 m_blankStretch = 0;
};

HeaderlessSearch::HeaderlessSearch(const HeaderlessLimits &limits)
    : m_impl(std::make_unique<Impl>(limits))
{
}

HeaderlessSearch::~HeaderlessSearch() = default;

qint64 HeaderlessSearch::search(const char *data, qint64 from, qint64 readableEnd, qint64 regionEnd,
                                QVector<RecordingAnalysis> &runs, bool decideFirst)
{
    return m_impl->search(data, from, readableEnd, regionEnd, runs, decideFirst);
}

// Whether K frames chain from pos with no damaged header among them (true when the bytes at
// hand do not tell). Table look-ups first: in random bytes nearly every start fails on them.
bool HeaderlessSearch::Impl::chainsPlainly(const BandFrames &band, const char *data, qint64 pos,
                                           const ByteExtent &extent) const
{
    const FrameSizeTable &sizes = band.sizes();
    qint64 at = pos;
    for (int i = 0; i < ProbeChainFrames; ++i) {
        if (at >= extent.readable)
            return !extent.final();
        const int size = sizes[quint8(data[at])];
        if (size == 0)
            return false;
        at += size;
    }
    if (at > extent.readable)
        return !extent.final();
    bool afterNoData = false;
    for (int i = 0; i < ProbeChainFrames; ++i) {
        const FrameStep step = band.step(data, pos, extent, afterNoData, false);
        if (step.end != StepEnd::None)
            return step.end == StepEnd::Undecided;
        afterNoData = band.isNoData(step.header);
        pos = step.next;
    }
    return true;
}

bool HeaderlessSearch::Impl::probeHits(const char *data, qint64 p, const ByteExtent &extent) const
{
    const qint64 windowEnd = std::min(extent.readable, p + m_window);
    if (windowEnd < p + m_window && !extent.final())
        return true;
    for (qint64 pos = nextFrameHeader(data, p, windowEnd); pos < windowEnd;
         pos = nextFrameHeader(data, pos + 1, windowEnd)) {
        for (const BandFrames &band : m_bands)
            if (pos - p < band.largestFrame() && chainsPlainly(band, data, pos, extent))
                return true;
    }
    return false;
}

// The first probe from p on, S apart, that hits; one at or past the region's end when none
// does. A stretch of one or two bytes over and over is passed in one go: its probes miss.
qint64 HeaderlessSearch::Impl::firstHitProbe(const char *data, qint64 p,
                                             const ByteExtent &extent) const
{
    while (p < extent.region) {
        if (extent.readable - p >= m_blankStretch) {
            const qint64 blankEnd = periodTwoEnd(data, p, extent.readable);
            if (blankEnd - p >= m_blankStretch) {
                p += ((blankEnd - m_blankStretch - p) / m_stride + 1) * m_stride;
                continue;
            }
        }
        if (probeHits(data, p, extent))
            return p;
        p += m_stride;
    }
    return p;
}

// Follows the same header byte back from first, down to lowest: frames of the run's own mode
// that a chance start before them stepped past.
qint64 HeaderlessSearch::Impl::extendBack(const BandFrames &band, const char *data, qint64 first,
                                          qint64 lowest, const ByteExtent &extent,
                                          RunTally &tally) const
{
    const quint8 header = quint8(data[first]);
    const int size = band.sizes()[header];
    while (first - size >= lowest && quint8(data[first - size]) == header) {
        const FrameStep step = band.step(data, first - size, extent, false, false);
        if (step.end != StepEnd::None || step.next != first)
            break;
        first -= size;
        ++tally.frames;
    }
    return first;
}

Outcome HeaderlessSearch::Impl::tryBand(int b, const char *data, qint64 s, const ByteExtent &extent,
                                        qint64 regionEnd, RecordingAnalysis &run)
{
    const BandFrames &band = m_bands[size_t(b)];
    if (!band.canStart(quint8(data[s])))
        return Outcome::NoRun;
    FrameStep step = band.step(data, s, extent, false, false);
    if (step.end != StepEnd::None)
        return step.end == StepEnd::Undecided ? Outcome::Undecided : Outcome::NoRun;
    // Leading speech frames followed by speech of another mode: container bytes (a talk spurt
    // keeps one mode).
    qint64 first = s;
    for (int stray = 0; stray < MaxStrayFrames && band.isSpeech(step.header); ++stray) {
        const FrameStep next = band.step(data, step.next, extent, false, false);
        if (next.end == StepEnd::Undecided)
            return Outcome::Undecided;
        if (next.end == StepEnd::Stop || !band.isSpeech(next.header) ||
            ((next.header ^ step.header) & 0x78) == 0)
            break;
        first = step.next;
        step = next;
    }
    if (!band.canStart(step.header) || m_marks[size_t(b)].test(first))
        return Outcome::NoRun;
    const FollowedRun followed = m_followers[size_t(b)].follow(
        data, first, extent, s + m_reach[size_t(b)], m_marks[size_t(b)]);
    if (followed.verdict != RunVerdict::Speech)
        return followed.verdict == RunVerdict::Undecided ? Outcome::Undecided : Outcome::NoRun;
    RunTally tally = followed.tally;
    run = RecordingAnalysis();
    run.start = extendBack(band, data, first, s, extent, tally);
    run.limit = regionEnd;
    run.headerless = true;
    run.endFrom = EndSource::Frames;
    run.audioEnd = followed.end;
    FrameWalk &walk = run.walk;
    walk.header = {band.wideBand() ? AmrFormat::WideBand : AmrFormat::NarrowBand, 0, 1, true};
    walk.stop = followed.stop;
    walk.audioEnd = followed.end;
    walk.frames = tally.frames;
    walk.damaged = tally.damaged;
    walk.foreignSid = tally.foreignSid;
    walk.frameTypesSeen = tally.frameTypes;
    return Outcome::Run;
}

// The run starting at s, narrow band tried first.
Outcome HeaderlessSearch::Impl::tryAt(const char *data, qint64 s, const ByteExtent &extent,
                                      qint64 regionEnd, RecordingAnalysis &run)
{
    for (int b = 0; b < 2; ++b) {
        const Outcome outcome = tryBand(b, data, s, extent, regionEnd, run);
        if (outcome != Outcome::NoRun)
            return outcome;
    }
    return Outcome::NoRun;
}

qint64 HeaderlessSearch::Impl::search(const char *data, qint64 from, qint64 readableEnd,
                                      qint64 regionEnd, QVector<RecordingAnalysis> &runs,
                                      bool decideFirst)
{
    from = std::max<qint64>(from, 0);
    const ByteExtent extent{std::min(readableEnd, regionEnd), regionEnd};
    for (FrameMarks &marks : m_marks)
        marks.reset(from);
    const bool probing = m_limits.probe && m_stride > 1;
    qint64 pos = from; // every offset before it is decided
    RecordingAnalysis run;
    while (pos < regionEnd) {
        qint64 tryTo = regionEnd - 1;
        qint64 tryFrom = pos;
        if (probing) {
            const qint64 hit = firstHitProbe(data, pos, extent);
            if (hit >= regionEnd)
                return regionEnd;
            tryFrom = std::max(pos, hit - m_stride + 1);
            tryTo = hit;
        }
        const qint64 tryEnd = std::min(tryTo + 1, extent.readable);
        Outcome outcome = Outcome::NoRun;
        qint64 s = nextFrameHeader(data, tryFrom, tryEnd);
        for (; s < tryEnd; s = nextFrameHeader(data, s + 1, tryEnd)) {
            outcome = tryAt(data, s, extent, regionEnd, run);
            if (outcome == Outcome::Undecided && decideFirst && s == from) {
                // Decided on the bytes at hand, as if the region ended with them.
                for (FrameMarks &marks : m_marks)
                    marks.reset(from);
                outcome = tryAt(data, s, {extent.readable, extent.readable}, regionEnd, run);
            }
            if (outcome != Outcome::NoRun)
                break;
        }
        if (outcome == Outcome::Undecided)
            return s;
        if (outcome == Outcome::Run) {
            pos = run.audioEnd;
            runs.append(run);
            continue;
        }
        if (tryEnd <= tryTo)
            return tryEnd; // the offsets from here on lie past the bytes at hand
        pos = tryTo + 1;
    }
    return regionEnd;
}

QVector<RecordingAnalysis> findHeaderlessRuns(const char *data, qint64 begin, qint64 end,
                                              const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> runs;
    HeaderlessSearch(limits).search(data, begin, end, end, runs);
    return runs;
}

qint64 coveredEnd(const RecordingAnalysis &recording)
{
    return recording.recognised() ? recording.audioEnd
                                  : std::min(recording.start + SignatureLength, recording.limit);
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
    for (const RecordingAnalysis &recording : recordings)
        add(coveredEnd(recording), recording.limit);
    return regions;
}

QVector<RecordingAnalysis> findHeaderlessRecordings(const char *data, qint64 size,
                                                    const QVector<RecordingAnalysis> &recordings,
                                                    const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> found;
    HeaderlessSearch search(limits);
    for (const ByteSpan &region : uncoveredRegions(size, recordings))
        search.search(data, region.begin, region.end, region.end, found);
    return found;
}

} // namespace vocafetch
