// Any bytes as a container file: loaded, scanned in memory and piecewise from the file (both
// must agree), every recording exported into a folder of its own and analysed. The exported
// files must be exact slices of the container that together give it back from the first
// recording start on, and nothing may be written anywhere else.
#include "FuzzSupport.h"

#include "extract/ByteBuffer.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/SaveRun.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <cstdint>

using namespace vocafetch;

namespace {

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

bool startsWithSignature(const QByteArray &data, qint32 offset)
{
    return data.mid(offset, 5).toLower() == "#!amr";
}

void checkScan(const QByteArray &data, const vocafetch::ContainerScan &scan)
{
    qint32 previous = -5;
    for (qint64 offset : scan.recordingStarts) {
        FUZZ_CHECK(offset >= previous + 5 && offset + 5 <= data.size());
        FUZZ_CHECK(startsWithSignature(data, offset));
        previous = offset;
    }
    FUZZ_CHECK(scan.recordingStarts.size() == data.toLower().count("#!amr"));
}

void checkExport(const QByteArray &data, const vocafetch::ContainerScan &scan,
                 const QStringList &written)
{
    const QString chosen = QDir(folders().output).filePath(QStringLiteral("rec"));
    FUZZ_CHECK(written.size() == scan.recordingStarts.size());
    QByteArray joined;
    for (int i = 0; i < written.size(); ++i) {
        FUZZ_CHECK(written[i] ==
                   vocafetch::outputFileName(chosen, i + 1, vocafetch::OutputKind::whole()));
        const ByteSpan range = recordingRange(scan.recordingStarts, i, data.size());
        const QByteArray bytes = fuzz::readBytes(written[i]);
        FUZZ_CHECK(bytes == data.mid(range.begin, range.size()));
        joined += bytes;
    }
    if (!scan.recordingStarts.isEmpty())
        FUZZ_CHECK(joined == data.mid(scan.recordingStarts.first()));

    QStringList expected;
    for (const QString &path : written)
        expected << QFileInfo(path).fileName();
    expected.sort();
    FUZZ_CHECK(fuzz::listTree(folders().output) == expected);
    FUZZ_CHECK(fuzz::listTree(folders().input) == QStringList{QStringLiteral("c.drf")});
    FUZZ_CHECK(
        fuzz::listTree(fuzz::scratch().path()) ==
        (QStringList{QStringLiteral("in"), QStringLiteral("in/c.drf"), QStringLiteral("out")} +
         [&] {
             QStringList out;
             for (const QString &name : expected)
                 out << QStringLiteral("out/") + name;
             return out;
         }()));
}

void checkAnalysis(const QByteArray &data, const vocafetch::ContainerScan &scan)
{
    const QVector<qint64> &starts = scan.recordingStarts;
    const QVector<RecordingAnalysis> one = analyseRecordings(data, starts, 1);
    const QVector<RecordingAnalysis> three = analyseRecordings(data, starts, 3);
    FUZZ_CHECK(one.size() == starts.size() && three.size() == starts.size());
    for (int i = 0; i < one.size(); ++i) {
        const RecordingAnalysis &a = one[i];
        const qint64 limit = i + 1 < starts.size() ? starts[i + 1] : data.size();
        FUZZ_CHECK(a.start == starts[i] && a.limit == limit);
        FUZZ_CHECK(a.audioEnd >= a.start && a.audioEnd <= a.limit);
        const ByteSpan clean = cleanRange(a);
        FUZZ_CHECK(clean.begin == a.start && clean.end >= clean.begin && clean.end <= a.limit);
        FUZZ_CHECK(a.damaged() <= a.frames());
        const RecordingAnalysis &b = three[i];
        FUZZ_CHECK(b.audioEnd == a.audioEnd && b.endFrom == a.endFrom && b.frames() == a.frames() &&
                   b.damaged() == a.damaged() && b.format() == a.format());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const QString path = QDir(folders().input).filePath(QStringLiteral("c.drf"));
    FUZZ_CHECK(fuzz::writeBytes(path, data));

    vocafetch::ContainerSession loaded(path);
    FUZZ_CHECK(loaded.source().Data() == data);

    const vocafetch::ContainerScan scan = loaded.scan();
    checkScan(data, scan);
    vocafetch::ContainerSession mapped;
    mapped.openMapped(path);
    FUZZ_CHECK(mapped.size() == data.size());
    FUZZ_CHECK(mapped.scan().recordingStarts == scan.recordingStarts);
    FUZZ_CHECK(mapped.scan().typeMarkers == scan.typeMarkers);

    const QString chosen = QDir(folders().output).filePath(QStringLiteral("rec"));
    const vocafetch::SaveOutcome outcome = vocafetch::saveRecordings(
        loaded, vocafetch::planSaveAll(loaded, vocafetch::OutputKind::whole(), chosen));
    FUZZ_CHECK(outcome.problems.isEmpty() && outcome.placed == scan.recordingStarts.size());
    QStringList written;
    for (int i = 0; i < outcome.placed; ++i)
        written << vocafetch::outputFileName(chosen, i + 1, vocafetch::OutputKind::whole());
    checkExport(data, scan, written);
    checkAnalysis(data, scan);

    fuzz::emptyFolder(folders().output);
    return 0;
}
