// Any bytes to the headerless search: probing and trying every offset must find the same runs,
// each a chain of frames inside the region, ascending and apart; and the search of a container
// a small window at a time, its signed recordings ("#!AMR" in the bytes) analysed a stretch at a
// time, its regions cut into pieces searched apart and joined, must find what one pass over the
// whole container finds, unless frames chain on for about the largest window or longer: a window
// must hold a run to find it whole, and frames that go on past the largest window are judged on
// that window's bytes, as if the container ended there (a damaged header near its end, say, is
// stepped over when the frames after it fill the window, where the frames past the window may
// show that it ends the run). The bytes live in a buffer that ends
// exactly at the region's end, so any read past it is caught.
//
// Input: one control byte (the first window: 256 + 48 x control bytes, growing to four times
// that), then the bytes, cut to the largest window and PastLargest bytes more: frames that
// chain on past the largest window are judged on a window of their own from each offset they
// could start at, so that a few hundred bytes of them past it would cost hundreds of windows
// for one input; the cut still lets frames run past the largest window from its first offsets.
#include "EveryOffsetSearch.h"
#include "FuzzSupport.h"

#include "extract/analysis/BandFrames.h"
#include "extract/analysis/HeaderlessContainerSearch.h"

#include <cstdint>
#include <cstring>
#include <memory>

using namespace vocafetch;

namespace {

// Bytes a search reads past a run's end to see that it ends there, at most: the next header,
// a streak of NO_DATA frames, the frames after a damaged header.
constexpr qint64 LookPastEnd = 64 * 8;
// Bytes searched past the largest window, at most.
constexpr qint64 PastLargest = 64;

void checkRun(const char *data, const RecordingAnalysis &run, qint64 begin, qint64 end)
{
    FUZZ_CHECK(run.headerless && run.start >= begin && run.audioEnd <= end && run.limit == end);
    FUZZ_CHECK(run.format() == AmrFormat::NarrowBand || run.format() == AmrFormat::WideBand);
    FUZZ_CHECK(run.walk.header.size == 0 && run.walk.audioEnd == run.audioEnd);
    FUZZ_CHECK(run.frames() >= HeaderlessLimits().minFrames);
    FUZZ_CHECK(run.damaged() <= run.frames() && run.frames() <= run.audioEnd - run.start);
    FUZZ_CHECK(run.walk.stop != WalkStop::Limit || run.audioEnd == end);
    FUZZ_CHECK(run.truncated() == (run.walk.stop == WalkStop::CrossesLimit));
    // The first frame is a good one's header in the run's band.
    const BandFrames band(run.format() == AmrFormat::WideBand, HeaderlessLimits());
    FUZZ_CHECK(band.canStart(quint8(data[run.start])));
}

void checkRuns(const char *data, const QVector<RecordingAnalysis> &runs, qint64 begin, qint64 end)
{
    qint64 previousEnd = begin;
    for (const RecordingAnalysis &run : runs) {
        checkRun(data, run, begin, end);
        FUZZ_CHECK(run.start >= previousEnd && run.audioEnd > run.start);
        previousEnd = run.audioEnd;
    }
}

bool sameRuns(const QVector<RecordingAnalysis> &a, const QVector<RecordingAnalysis> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].start != b[i].start || a[i].audioEnd != b[i].audioEnd ||
            a[i].limit != b[i].limit || a[i].frames() != b[i].frames() ||
            a[i].damaged() != b[i].damaged() || a[i].walk.stop != b[i].walk.stop ||
            a[i].format() != b[i].format())
            return false;
    return true;
}

// Searches kept from input to input: their working memory is set up once.
HeaderlessSearch &probing()
{
    static HeaderlessSearch search;
    return search;
}

// probed: the one-pass search of all the bytes.
void checkWindowedContainer(const char *data, qint64 size, qint64 window,
                            const QVector<RecordingAnalysis> &probed)
{
    QVector<qint64> starts;
    for (qint64 at = 0; at + 5 <= size; ++at)
        if (data[at] == '#' && std::memcmp(data + at, "#!AMR", 5) == 0)
            starts.append(at);
    const QVector<RecordingAnalysis> signedOnes = analyseRecordings(data, size, starts);
    // What findHeaderlessRecordings finds, with the search kept from input to input; with no
    // signed recording, the one region is all the bytes.
    QVector<RecordingAnalysis> whole = starts.isEmpty() ? probed : QVector<RecordingAnalysis>();
    if (!starts.isEmpty())
        for (const ByteSpan &region : uncoveredRegions(size, signedOnes))
            probing().search(data, region.begin, region.end, region.end, whole);

    HeaderlessContainer container;
    container.size = size;
    container.window = window;
    container.largestWindow = 4 * window; // as LLVMFuzzerTestOneInput cuts the bytes
    // Pieces smaller than windows, their edges anywhere: joined, they are one search.
    container.piece = window / 2 + 97;
    container.threads = 1;
    container.signedCount = starts.size();
    container.analyses = [&](qsizetype first, qsizetype last) {
        return signedOnes.mid(first, last - first);
    };
    container.bytes = [&](qint64 begin, qint64 length, QByteArray &) {
        FUZZ_CHECK(begin >= 0 && length <= container.largestWindow && begin + length <= size);
        return data + begin;
    };
    const QVector<RecordingAnalysis> windowed = findContainerHeaderless(container);
    for (const RecordingAnalysis &run : windowed)
        FUZZ_CHECK(run.start >= 0 && run.audioEnd <= size && run.audioEnd > run.start);
    for (const QVector<RecordingAnalysis> *runs : {&std::as_const(whole), &windowed})
        for (const RecordingAnalysis &run : *runs)
            if (run.audioEnd - run.start + LookPastEnd >= container.largestWindow)
                return;
    FUZZ_CHECK(sameRuns(windowed, whole));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 1)
        return 0;
    const qint64 window = 256 + 48 * qint64(bytes[0]);
    const qint64 end = std::min(qint64(size) - 1, 4 * window + PastLargest);
    // Exactly end bytes on the heap: the sanitizer sees the first byte past them.
    std::unique_ptr<char[]> data(new char[size_t(std::max<qint64>(end, 1))]);
    std::memcpy(data.get(), bytes + 1, size_t(end));

    QVector<RecordingAnalysis> probed, tried;
    FUZZ_CHECK(probing().search(data.get(), 0, end, end, probed) == end);
    FUZZ_CHECK(fuzz::everyOffsetSearch().search(data.get(), 0, end, end, tried) == end);
    checkRuns(data.get(), probed, 0, end);
    FUZZ_CHECK(sameRuns(probed, tried));

    checkWindowedContainer(data.get(), end, window, probed);
    return 0;
}
