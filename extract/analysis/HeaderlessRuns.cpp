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
// Probes whose bytes are asked for before they are read.
constexpr int ProbeAhead = 16;
// A probe's 64 bytes, one cache line.
constexpr qint64 ProbeLine = 64;

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
// With frames at most W bytes, a probe p with p - s < S finds in [p, p + W) a frame start from
// which frames of the run chain on up to p + R when S + R <= L + 1: each probe S apart that finds
// no such chain shows that no run starts in the S offsets up to it. Its reach R also asks K
// frames of the chain (R >= K W gives them). For that the first S + R bytes of a run chain
// without a damaged header stepped over: a header damaged so early may as well be the end of
// container bytes passing for frames. Probes stand a multiple of 64 bytes apart at the start of
// a 64-byte line, whose bytes they read: blank space costs a line of every few.
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
        for (int b = 0; b < 2; ++b) {
            const BandFrames &band = m_bands[size_t(b)];
            m_shortestRun[size_t(b)] = speechFrames * band.smallestSpeechFrame() + otherFrames;
            stride = std::min(stride, m_shortestRun[size_t(b)] -
                                          ProbeChainFrames * band.largestFrame() + 1);
            m_window = std::max(m_window, band.largestFrame());
        }
        m_stride = std::clamp<qint64>(stride, 1, qint64(1) << 20);
        if (m_stride >= 2 * ProbeLine)
            m_stride = m_stride / ProbeLine * ProbeLine;
        for (int b = 0; b < 2; ++b) {
            m_probeReach[size_t(b)] =
                std::max<qint64>(m_shortestRun[size_t(b)] - m_stride + 1,
                                 ProbeChainFrames * m_bands[size_t(b)].largestFrame());
            m_reach[size_t(b)] = m_stride + m_probeReach[size_t(b)];
        }
        // A stretch of one or two bytes over and over this long holds no frame start a probe
        // chains from: any frame in it is dead or one of a long NO_DATA streak.
        m_blankStretch = std::max<qint64>(2 * m_window + 6,
                                          m_window + std::max(m_limits.maxNoDataStreak, 0) + 2);
    }

    qint64 search(const char *data, qint64 from, qint64 readableEnd, qint64 regionEnd,
                  QVector<RecordingAnalysis> &runs, bool decideFirst, qint64 stopAt);

private:
    qint64 firstHitProbe(const char *data, qint64 p, qint64 last, const ByteExtent &extent) const;
    bool probeHits(const char *data, qint64 p, const ByteExtent &extent) const;
    bool chainInBlock(const char *data, qint64 p, const FrameHeaderMasks &masks, bool chained,
                      const ByteExtent &extent) const;
    // The headers in a band's probe window, as the masks of the 64 bytes from the probe on give
    // them.
    static quint64 windowHeads(const BandFrames &band, const FrameHeaderMasks &masks)
    {
        const int width = band.largestFrame();
        const quint64 heads = band.wideBand() ? masks.wideBand : masks.narrowBand;
        return width >= 64 ? heads : heads & ((quint64(1) << width) - 1);
    }
    bool mayStartRun(int b, const char *data, qint64 s, const ByteExtent &extent,
                     qint64 resyncFrom);
    bool chainsAtLeast(const BandFrames &band, const char *data, qint64 pos, int frames,
                       qint64 until, qint64 resyncFrom, const ByteExtent &extent, bool full) const;
    // What a probe at p asks of a frame start pos in its window: K frames that chain plainly,
    // on to p + K W, as the frames of a run starting up to S offsets before p do.
    bool probeChains(const BandFrames &band, const char *data, qint64 pos, qint64 p,
                     const ByteExtent &extent) const
    {
        const qint64 until = p + m_probeReach[band.wideBand() ? 1 : 0];
        return chainsAtLeast(band, data, pos, ProbeChainFrames, until, until + 1, extent, true);
    }
    Outcome tryRange(const char *data, qint64 first, qint64 last, const ByteExtent &extent,
                     qint64 decideAt, RecordingAnalysis &run, qint64 &at);
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
    std::array<FrameMarks, 2> m_deadEnds;
    qint64 m_stride = 1;
    std::array<qint64, 2> m_reach{};
    std::array<qint64, 2> m_probeReach{}; // R: how far a probe's chains go
    std::array<qint64, 2> m_shortestRun{};
    int m_window = 0;
    qint64 m_blankStretch = 0;
};

HeaderlessSearch::HeaderlessSearch(const HeaderlessLimits &limits)
    : m_impl(std::make_unique<Impl>(limits))
{
}

HeaderlessSearch::~HeaderlessSearch() = default;

qint64 HeaderlessSearch::search(const char *data, qint64 from, qint64 readableEnd, qint64 regionEnd,
                                QVector<RecordingAnalysis> &runs, bool decideFirst, qint64 stopAt)
{
    return m_impl->search(data, from, readableEnd, regionEnd, runs, decideFirst,
                          stopAt < 0 ? regionEnd : std::min(stopAt, regionEnd));
}

// Whether the frames from pos chain for at least frames frames and up to until, no header
// among them damaged before resyncFrom (true when the bytes at hand do not tell). Their headers
// alone first, four zero bytes included: nearly every chance start fails on a few look-ups.
// With full, each frame must also be one a run takes (BandFrames::step).
bool HeaderlessSearch::Impl::chainsAtLeast(const BandFrames &band, const char *data, qint64 pos,
                                           int frames, qint64 until, qint64 resyncFrom,
                                           const ByteExtent &extent, bool full) const
{
    const FrameSizeTable &sizes = band.sizes();
    qint64 at = pos;
    for (int n = 0; n < frames || at < until; ++n) {
        // A fill or pattern chains on: its first frame, dead, fails the whole check.
        if (n == 2 && full && band.step(data, pos, extent, false, false).end == StepEnd::Stop)
            return false;
        if (at >= extent.readable)
            return !extent.final();
        const quint8 byte = quint8(data[at]);
        const int size = sizes[byte];
        if (size == 0)
            return at >= resyncFrom;
        if (byte == 0 && startsZeroRun(data, at, extent.readable))
            return false;
        at += size;
    }
    if (at > extent.readable || !full)
        return at <= extent.readable || !extent.final();
    bool afterNoData = false;
    for (int n = 0; n < frames || pos < until; ++n) {
        const FrameStep step = band.step(data, pos, extent, afterNoData, false);
        if (step.end != StepEnd::None)
            return step.end == StepEnd::Undecided;
        afterNoData = band.isNoData(step.header);
        pos = step.next;
    }
    return true;
}

// Whether a frame start in the probe's window, given the 64 bytes' headers, chains as probeChains
// asks. Most fail on the second header, which the chained masks tell when they were worked out.
bool HeaderlessSearch::Impl::chainInBlock(const char *data, qint64 p, const FrameHeaderMasks &masks,
                                          bool chained, const ByteExtent &extent) const
{
    for (const BandFrames &band : m_bands) {
        const FrameSizeTable &sizes = band.sizes();
        quint64 heads = windowHeads(band, masks);
        if (chained)
            heads &= band.wideBand() ? masks.wideChained : masks.narrowChained;
        for (; heads != 0; heads &= heads - 1) {
            const qint64 pos = p + __builtin_ctzll(heads);
            const qint64 next = pos + sizes[quint8(data[pos])];
            if ((chained || next >= extent.readable || sizes[quint8(data[next])] != 0) &&
                probeChains(band, data, pos, p, extent))
                return true;
        }
    }
    return false;
}

bool HeaderlessSearch::Impl::probeHits(const char *data, qint64 p, const ByteExtent &extent) const
{
    const qint64 windowEnd = std::min(extent.readable, p + m_window);
    if (windowEnd < p + m_window && !extent.final())
        return true;
    if (extent.readable - p >= 64 && m_window <= 64) {
        const bool chained = extent.readable - p >= 2 * ProbeLine;
        const FrameHeaderMasks masks = frameHeaderMasks(data + p, chained);
        return !masks.zero && chainInBlock(data, p, masks, chained, extent);
    }
    for (qint64 pos = nextFrameHeader(data, p, windowEnd); pos < windowEnd;
         pos = nextFrameHeader(data, pos + 1, windowEnd)) {
        for (const BandFrames &band : m_bands)
            if (pos - p < band.largestFrame() && probeChains(band, data, pos, p, extent))
                return true;
    }
    return false;
}

// The first probe from p on, S apart and before last, that hits; one at or past last when none
// does. A probe reads the 64 bytes from it and the frames that chain from their headers: blank
// space misses at once (zeros: four zero bytes wherever a frame could start; 0xFF: no header),
// a stretch of one or two other bytes over and over is passed in one go, its probes missing.
qint64 HeaderlessSearch::Impl::firstHitProbe(const char *data, qint64 p, qint64 last,
                                             const ByteExtent &extent) const
{
    for (; p < last; p += m_stride) {
        if (extent.readable - p < 64 || m_window > 64) {
            if (probeHits(data, p, extent))
                return p;
            continue;
        }
        // Probes touch a line or two every few: asked for ahead, they come at the memory's
        // pace, not its latency.
        if (extent.readable - p > ProbeAhead * m_stride + 64) {
            __builtin_prefetch(data + p + ProbeAhead * m_stride);
            __builtin_prefetch(data + p + ProbeAhead * m_stride + 63);
        }
        const bool chained = extent.readable - p >= 2 * ProbeLine;
        const FrameHeaderMasks masks = frameHeaderMasks(data + p, chained);
        if (masks.zero || (windowHeads(m_bands[0], masks) | windowHeads(m_bands[1], masks)) == 0)
            continue;
        if (masks.periodTwo && extent.readable - p >= m_blankStretch) {
            const qint64 blankEnd = periodTwoEnd(data, p, extent.readable);
            if (blankEnd - p >= m_blankStretch) {
                p += (blankEnd - m_blankStretch - p) / m_stride * m_stride;
                continue;
            }
        }
        if (chainInBlock(data, p, masks, chained, extent))
            return p;
    }
    return p;
}

// Whether the frames from s could chain as a run's frames up to the end of its speech stretch
// do: minFrames frames over the band's shortest run at least, no header damaged before
// resyncFrom. Their headers alone decide, four zero bytes included. A walk whose frames stop
// short of the band's shortest run marks the frames it passed as dead ends: a later start's
// walk that reaches one stops at the same place, where it may step over a damaged header still
// less, and so short of its own shortest run, which ends later. A walk that stops past its
// shortest run with too few frames marks nothing: a later start may have more frames before
// the same place.
bool HeaderlessSearch::Impl::mayStartRun(int b, const char *data, qint64 s,
                                         const ByteExtent &extent, qint64 resyncFrom)
{
    const FrameSizeTable &sizes = m_bands[size_t(b)].sizes();
    FrameMarks &deadEnds = m_deadEnds[size_t(b)];
    const qint64 until = s + m_shortestRun[size_t(b)];
    qint64 at = s;
    int frames = 0;
    bool deadEnd = false;
    for (; frames < m_limits.minFrames || at < until; ++frames) {
        if (at >= extent.readable) {
            if (!extent.final())
                return true;
            break;
        }
        if (deadEnds.test(at)) {
            deadEnd = true;
            break;
        }
        const quint8 byte = quint8(data[at]);
        const int size = sizes[byte];
        if (size == 0) {
            if (at >= resyncFrom)
                return true;
            break;
        }
        if (byte == 0 && startsZeroRun(data, at, extent.readable))
            break;
        if (extent.readable - at < size) {
            if (!extent.final())
                return true;
            break;
        }
        at += size;
    }
    if (frames >= m_limits.minFrames && at >= until)
        return true;
    if (!deadEnd && at >= until)
        return false;
    deadEnds.advance(s);
    for (qint64 pos = s; frames > 0; --frames, pos += sizes[quint8(data[pos])])
        deadEnds.set(pos);
    return false;
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
    const qint64 resyncFrom = s + m_reach[size_t(b)];
    // A run's frames up to the end of its speech stretch: minFrames of them over the band's
    // shortest run at least.
    if (!band.canStart(quint8(data[s])) || !mayStartRun(b, data, s, extent, resyncFrom))
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
        m_marks[size_t(b)].advance(s);
        const Outcome outcome = tryBand(b, data, s, extent, regionEnd, run);
        if (outcome != Outcome::NoRun)
            return outcome;
    }
    return Outcome::NoRun;
}

// Tries the offsets first ... last in order. Undecided with at where the bytes at hand end
// before an offset is decided (decideAt is decided on them all the same).
Outcome HeaderlessSearch::Impl::tryRange(const char *data, qint64 first, qint64 last,
                                         const ByteExtent &extent, qint64 decideAt,
                                         RecordingAnalysis &run, qint64 &at)
{
    const qint64 end = std::min(last + 1, extent.readable);
    for (at = nextFrameHeader(data, first, end); at < end;
         at = nextFrameHeader(data, at + 1, end)) {
        // decideAt as if the region ended with the bytes at hand: a walk that ends before them
        // goes the same way either way, and one that reaches their end would be undecided.
        const Outcome outcome =
            tryAt(data, at, at == decideAt ? ByteExtent{extent.readable, extent.readable} : extent,
                  extent.region, run);
        if (outcome != Outcome::NoRun)
            return outcome;
    }
    if (end <= last)
        return Outcome::Undecided;
    return Outcome::NoRun;
}

qint64 HeaderlessSearch::Impl::search(const char *data, qint64 from, qint64 readableEnd,
                                      qint64 regionEnd, QVector<RecordingAnalysis> &runs,
                                      bool decideFirst, qint64 stopAt)
{
    from = std::max<qint64>(from, 0);
    const ByteExtent extent{std::min(readableEnd, regionEnd), regionEnd};
    for (FrameMarks &marks : m_marks)
        marks.reset(from);
    for (FrameMarks &marks : m_deadEnds)
        marks.reset(from);
    const qint64 decideAt = decideFirst ? from : -1;
    const bool probing = m_limits.probe && m_stride > 1;
    qint64 pos = from; // every offset before it is decided
    RecordingAnalysis run;
    while (pos < stopAt) {
        Outcome outcome = Outcome::NoRun;
        qint64 at = pos;
        qint64 next = stopAt;
        if (!probing) {
            outcome = tryRange(data, pos, stopAt - 1, extent, decideAt, run, at);
        } else {
            // The first probe clears the S offsets from pos on when it misses; the last one
            // needed clears the offsets up to stopAt.
            qint64 first = pos + m_stride - 1;
            if (m_stride % ProbeLine == 0)
                first -= qint64(reinterpret_cast<quintptr>(data + first) % ProbeLine);
            const qint64 last = std::min(regionEnd, stopAt + m_stride - 1);
            const qint64 hit = firstHitProbe(data, first, last, extent);
            if (hit >= last)
                return stopAt;
            // Every probe a run's first S offsets hold hits: each half of the offsets the hit
            // leaves open has one more probe that a run starting in it hits.
            const qint64 low = std::max(pos, hit - m_stride + 1);
            const qint64 middle = hit - (m_stride + 1) / 2;
            const qint64 high = std::min(hit, stopAt - 1);
            if (low <= std::min(middle, high) && probeHits(data, middle, extent))
                outcome = tryRange(data, low, std::min(middle, high), extent, decideAt, run, at);
            if (outcome == Outcome::NoRun && std::max(low, middle + 1) <= high &&
                probeHits(data, hit + m_stride / 2 - 1, extent))
                outcome =
                    tryRange(data, std::max(low, middle + 1), high, extent, decideAt, run, at);
            next = hit + 1;
        }
        if (outcome == Outcome::Undecided)
            return at;
        if (outcome == Outcome::Run) {
            pos = run.audioEnd;
            runs.append(run);
            continue;
        }
        pos = next;
    }
    return std::max(pos, stopAt);
}

qint64 headerlessRunLead()
{
    static const qint64 lead = [] {
        const HeaderlessLimits limits;
        return qint64(MaxStrayFrames) * std::max(BandFrames(false, limits).largestFrame(),
                                                 BandFrames(true, limits).largestFrame());
    }();
    return lead;
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
