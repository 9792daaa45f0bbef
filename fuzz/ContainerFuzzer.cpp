// Any bytes as a container. Every input: the scan a window at a time must find every recording
// start and content-type marker (in any letter case) and nothing else, the
// recordings' byte ranges must give the container back from the first start on, and every
// recording is analysed, in one go and in two stretches, which must agree.
//
// One input in thirty-two (picked by its bytes, so a failure reproduces) also makes the round trip
// through the file system: the container written to a file, loaded and mapped (both must give
// the scan above), every recording saved through the save loop into a folder of its own, the
// files exact slices of the container under the names the loop promises, nothing written
// anywhere else; and the analyses run on three threads. Each of those opens, maps, syncs and
// lists files or starts threads, at several times the cost of everything else together; the
// share keeps a run at a million inputs in five minutes while the round trip still runs on
// tens of thousands of them.
#include "FuzzSupport.h"

#include "extract/ByteBuffer.h"
#include "extract/ContainerFileScan.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/SaveRun.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <algorithm>
#include <cstdint>

using namespace vocafetch;

namespace {

constexpr unsigned RoundTripShare = 32;

struct Folders
{
    QString input;  // holds the container only
    QString output; // receives the exported recordings only
};

const Folders &folders()
{
    static const Folders f = [] {
        const QDir root(fuzz::scratch().path());
        root.mkdir(QStringLiteral("in"));
        root.mkdir(QStringLiteral("out"));
        return Folders{root.filePath(QStringLiteral("in")), root.filePath(QStringLiteral("out"))};
    }();
    return f;
}

// The input's bytes where libFuzzer keeps them, a heap block of exactly their size: a read
// past the end is caught.
struct Container
{
    const char *data;
    qint64 size;
    QByteArray bytes; // a copy, for the file and the comparisons
};

// Every offset of text in the container, in any letter case, as the buffer's search lowers
// bytes.
QVector<qint64> occurrences(const QByteArray &lowered, const QByteArray &text)
{
    QByteArray pattern = text;
    for (char &c : pattern)
        c = char(TByteBuffer::lowercaseTable()[quint8(c)]);
    QVector<qint64> offsets;
    for (qsizetype at = lowered.indexOf(pattern); at >= 0; at = lowered.indexOf(pattern, at + 1))
        offsets << at;
    return offsets;
}

ContainerScan expectedScan(const Container &container)
{
    QByteArray lowered = container.bytes;
    for (char &c : lowered)
        c = char(TByteBuffer::lowercaseTable()[quint8(c)]);
    return {occurrences(lowered, RecordingScan::RecordingStartText),
            occurrences(lowered, RecordingScan::TypeMarkerText)};
}

bool sameScan(const ContainerScan &a, const ContainerScan &b)
{
    return a.recordingStarts == b.recordingStarts && a.typeMarkers == b.typeMarkers;
}

// The scanner fed windows of window bytes, each overlapping the last as a mapped scan's do.
ContainerScan scanInWindows(const Container &container, qint64 window)
{
    ContainerScanner scanner;
    const auto *bytes = reinterpret_cast<const unsigned char *>(container.data);
    for (qint64 start = 0; start < container.size; start += window - ContainerScanner::overlap()) {
        const qint64 length = std::min(window, container.size - start);
        scanner.scanWindow(bytes + start, start, length);
        if (start + length == container.size)
            break;
    }
    return scanner.result();
}

void checkRanges(const Container &container, const QVector<qint64> &starts)
{
    for (int i = 0; i < starts.size(); ++i) {
        const ByteSpan range = recordingRange(starts, i, container.size);
        FUZZ_CHECK(range.begin == starts[i]);
        FUZZ_CHECK(range.end == (i + 1 < starts.size() ? starts[i + 1] : container.size));
    }
}

void checkAnalyses(const Container &container, const QVector<qint64> &starts,
                   const QVector<RecordingAnalysis> &analyses)
{
    FUZZ_CHECK(analyses.size() == starts.size());
    for (int i = 0; i < analyses.size(); ++i) {
        const RecordingAnalysis &a = analyses[i];
        const qint64 limit = i + 1 < starts.size() ? starts[i + 1] : container.size;
        FUZZ_CHECK(a.start == starts[i] && a.limit == limit);
        FUZZ_CHECK(a.audioEnd >= a.start && a.audioEnd <= a.limit);
        const ByteSpan clean = cleanRange(a);
        FUZZ_CHECK(clean.begin == a.start && clean.end >= clean.begin && clean.end <= a.limit);
        FUZZ_CHECK(a.damaged() <= a.frames());
    }
}

bool sameAnalyses(const QVector<RecordingAnalysis> &a, const QVector<RecordingAnalysis> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].start != b[i].start || a[i].limit != b[i].limit ||
            a[i].audioEnd != b[i].audioEnd || a[i].endFrom != b[i].endFrom ||
            a[i].frames() != b[i].frames() || a[i].damaged() != b[i].damaged() ||
            a[i].format() != b[i].format())
            return false;
    return true;
}

void checkExport(const Container &container, const QVector<qint64> &starts,
                 const QStringList &written)
{
    FUZZ_CHECK(written.size() == starts.size());
    QByteArray joined;
    QStringList names;
    for (int i = 0; i < written.size(); ++i) {
        const ByteSpan range = recordingRange(starts, i, container.size);
        const QByteArray bytes = fuzz::readBytes(written[i]);
        FUZZ_CHECK(bytes == container.bytes.mid(range.begin, range.size()));
        joined += bytes;
        names << QFileInfo(written[i]).fileName();
    }
    if (!starts.isEmpty())
        FUZZ_CHECK(joined == container.bytes.mid(starts.first()));

    QStringList expected{QStringLiteral("in"), QStringLiteral("in/c.drf"), QStringLiteral("out")};
    for (const QString &name : names)
        expected << QStringLiteral("out/") + name;
    expected.sort();
    FUZZ_CHECK(fuzz::listTree(fuzz::scratch().path()) == expected);
}

// The container through a file: loaded and mapped, saved, read back; then the output folder
// emptied for the next input.
void roundTrip(const Container &container, const ContainerScan &scan,
               const QVector<RecordingAnalysis> &analyses)
{
    const QString path = QDir(folders().input).filePath(QStringLiteral("c.drf"));
    FUZZ_CHECK(fuzz::writeBytes(path, container.bytes));

    ContainerSession loaded(path);
    FUZZ_CHECK(loaded.source().Data() == container.bytes);
    FUZZ_CHECK(sameScan(loaded.scan(), scan));
    ContainerSession mapped;
    mapped.openMapped(path);
    FUZZ_CHECK(mapped.size() == container.size);
    FUZZ_CHECK(sameScan(mapped.scan(), scan));

    const QString chosen = QDir(folders().output).filePath(QStringLiteral("rec"));
    const SaveOutcome outcome =
        saveRecordings(loaded, planSaveAll(loaded, OutputKind::whole(), chosen));
    FUZZ_CHECK(outcome.problems.isEmpty() && outcome.placed == scan.recordingCount());
    QStringList written;
    for (int i = 0; i < outcome.placed; ++i)
        written << outputFileName(chosen, i + 1, OutputKind::whole());
    checkExport(container, scan.recordingStarts, written);
    fuzz::emptyFolder(folders().output);

    FUZZ_CHECK(sameAnalyses(
        analyseRecordings(container.data, container.size, scan.recordingStarts, 3), analyses));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const Container container{reinterpret_cast<const char *>(bytes), qint64(size),
                              QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size))};
    const ContainerScan scan = expectedScan(container);
    const QVector<qint64> &starts = scan.recordingStarts;

    // Windows of 256 to 764 bytes, by the input's size: a few edges in a larger input, one
    // window for a smaller one.
    const qint64 window = 256 + qint64(size % 509);
    FUZZ_CHECK(sameScan(scanInWindows(container, window), scan));
    checkRanges(container, starts);

    const QVector<RecordingAnalysis> analyses =
        analyseRecordings(container.data, container.size, starts, 1);
    checkAnalyses(container, starts, analyses);
    // Any stretch of recordings analysed on its own gives what the whole analysis gives.
    const qsizetype split = starts.isEmpty() ? 0 : qsizetype(size % (starts.size() + 1));
    FUZZ_CHECK(sameAnalyses(
        analyseRecordingRange(container.data, container.size, starts, 0, split, 1) +
            analyseRecordingRange(container.data, container.size, starts, split, starts.size(), 1),
        analyses));

    if (fuzz::inShare(bytes, size, RoundTripShare))
        roundTrip(container, scan, analyses);
    return 0;
}
