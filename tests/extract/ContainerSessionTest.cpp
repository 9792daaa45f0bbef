#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/io/ContainerSource.h"
#include "extract/io/OutputFile.h"
#include "extract/io/OutputFolder.h"
#include "support/TestFiles.h"

#include "SampleContainers.h"

#include <QDir>
#include <QFile>

#include <QTemporaryDir>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace vocafetch;

namespace {

using vocafetch::ContainerSession;
using vocafetch::OutputKind;

class ContainerSessionTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(ContainerSessionTest, RefusesWhatItCannotWriteAndForgetsAContainerThatFailedToLoad)
{
    writeFile(path("odd.drf"), QByteArray("..#!AMR-not-a-header..#!AMR\n") + filler(40));
    ContainerSession session(path("odd.drf"));
    ASSERT_EQ(session.recordingCount(), 2);
    const vocafetch::OutputFolder folder = vocafetch::OutputFolder::open(dir.path().toUtf8());
    {
        vocafetch::OutputFile file(folder, "x.amr");
        EXPECT_THROW_MESSAGE(session.ExportRecording(2, OutputKind::whole(), file),
                             "List index out of bounds (2)");
    }
    try {
        vocafetch::OutputFile file(folder, "odd_1.wav");
        session.ExportRecording(0, OutputKind::decoded(vocafetch::OutputFormat::Wav), file);
        ADD_FAILURE() << "an unknown header was decoded";
    } catch (const ExtractError &error) {
        EXPECT_EQ(error.kind(), vocafetch::ErrorKind::Undecodable);
    }
    EXPECT_EQ(tree(dir.path()), QStringList({"odd.drf"}));

    EXPECT_THROW(session.load(path("missing.drf")), ExtractError);
    EXPECT_EQ(session.recordingCount(), 0);
    EXPECT_TRUE(session.analyses().isEmpty());
}

// A container that shrinks while it is mapped (another program truncates it) is an error for
// that container, never the end of the process.
TEST_F(ContainerSessionTest, AMappedContainerTruncatedWhileReadIsAnError)
{
    const RecGen::ContainerBuilder builder = RecGen::mixedSample();
    const auto expectChanged = [&](const std::function<void()> &work) {
        try {
            work();
            ADD_FAILURE() << "a truncated container was read";
        } catch (const ExtractError &error) {
            EXPECT_TRUE(error.message().contains("changed while it was read"))
                << error.message().toStdString();
        }
    };
    writeFile(path("shrinks.drf"), builder.data());
    ContainerSession session;
    session.openMappedWithoutScan(path("shrinks.drf"));
    ASSERT_TRUE(QFile::resize(path("shrinks.drf"), 0));
    expectChanged([&] { session.rescan(); });

    writeFile(path("shrinks.drf"), builder.data());
    session.openMapped(path("shrinks.drf"));
    ASSERT_EQ(session.recordingCount(), builder.recordings().size());
    ASSERT_TRUE(QFile::resize(path("shrinks.drf"), 10));
    expectChanged([&] { session.analyses(); });
}

// The window's open maps the file, yet refuses what the byte buffer's load refused, in the same
// words and kinds, and forgets the container shown before.
TEST_F(ContainerSessionTest, TheWindowsOpenRefusesWhatLoadingRefusedInItsWords)
{
    writeFile(path("good.drf"), QByteArray("#!AMR-one-") + filler(40));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.drf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.drf")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", path("zero.drf")));
    for (const char *name : {"missing.drf", "folder.drf", "pipe.drf", "zero.drf"}) {
        SCOPED_TRACE(name);
        ContainerSession loaded;
        QString loadMessage;
        ErrorKind loadKind = ErrorKind::Other;
        try {
            loaded.load(path(name));
        } catch (const ExtractError &error) {
            loadMessage = error.message();
            loadKind = error.kind();
        }
        ASSERT_FALSE(loadMessage.isEmpty());

        ContainerSession mapped;
        mapped.openFileWithoutScan(path("good.drf"));
        mapped.rescan();
        ASSERT_EQ(mapped.recordingCount(), 1);
        try {
            mapped.openFileWithoutScan(path(name));
            ADD_FAILURE() << "opened";
        } catch (const ExtractError &error) {
            EXPECT_EQ(error.message().toStdString(), loadMessage.toStdString());
            EXPECT_EQ(error.kind(), loadKind);
        }
        EXPECT_EQ(mapped.size(), 0);
        EXPECT_EQ(mapped.recordingCount(), 0);
    }
}

// Nothing is copied, so the limit of a buffer's 2147483647 bytes does not apply.
TEST_F(ContainerSessionTest, TheWindowsOpenTakesAContainerLargerThanABufferHolds)
{
    const qint64 size = qint64(2147483647) + 4096;
    writeFile(path("large.drf"), QByteArray());
    ASSERT_EQ(::truncate(QFile::encodeName(path("large.drf")).constData(), size), 0);
    ContainerSession session;
    EXPECT_THROW(session.load(path("large.drf")), ExtractError);
    session.openFileWithoutScan(path("large.drf"));
    EXPECT_EQ(session.size(), size);
}

// The analyses the headerless search worked out for the signed recordings are the ones the
// listing is given after it, whether a stretch or all at once: the signed ones as a session
// without the search analyses them, then the headerless ones.
TEST_F(ContainerSessionTest, AnalysesAfterTheHeaderlessSearchAreThoseOfTheSignedAndTheFound)
{
    RecGen::Rng rng(91);
    RecGen::ContainerBuilder builder = RecGen::mixedSample();
    QByteArray lost;
    for (const QByteArray &frame : RecGen::phoneLikeFrames(false, 300, rng))
        lost += frame;
    builder.randomBytes(500, rng).bytes(lost).randomBytes(500, rng);
    builder.recording(
        RecGen::makeRecording(AmrFormat::WideBand, 1, RecGen::phoneLikeFrames(true, 80, rng)));
    writeFile(path("lost.drf"), builder.data());

    ContainerSession plain;
    plain.openMapped(path("lost.drf"));
    const QVector<RecordingAnalysis> signedOnes = plain.analyses();
    ContainerSession searched;
    searched.setFindHeaderless(true);
    searched.openMapped(path("lost.drf"));
    ASSERT_EQ(searched.headerless().size(), 1);
    ASSERT_EQ(searched.recordingCount(), signedOnes.size() + 1);

    const auto expectSame = [](const RecordingAnalysis &a, const RecordingAnalysis &b, int i) {
        EXPECT_EQ(a.start, b.start) << i;
        EXPECT_EQ(a.limit, b.limit) << i;
        EXPECT_EQ(a.audioEnd, b.audioEnd) << i;
        EXPECT_EQ(a.frames(), b.frames()) << i;
        EXPECT_EQ(a.headerless, b.headerless) << i;
    };
    const int last = searched.recordingCount() - 1;
    const QVector<RecordingAnalysis> tail = searched.analyseRange(last - 1, last + 5);
    ASSERT_EQ(tail.size(), 2);
    expectSame(tail[0], signedOnes.back(), last - 1);
    expectSame(tail[1], searched.headerless().front(), last);
    const QVector<RecordingAnalysis> all = searched.analyses();
    ASSERT_EQ(all.size(), searched.recordingCount());
    for (int i = 0; i < signedOnes.size(); ++i)
        expectSame(all[i], signedOnes[i], i);
    EXPECT_TRUE(all.back().headerless);
}

// A container longer than the window its scan maps at once, sparse (its holes read as zeros):
// runs without a signature before the first recording, across the edge of the scan's windows
// and in its last window are found whole, as the frames were placed.
TEST_F(ContainerSessionTest, RunsWithoutASignatureAreFoundWholeInEveryWindowOfALargeContainer)
{
    RecGen::Rng rng(17);
    const qint64 edge = vocafetch::ContainerSource::DefaultWindowSize;
    const qint64 size = edge + (qint64(44) << 20);
    const auto joined = [](const QList<QByteArray> &frames) {
        QByteArray bytes;
        for (const QByteArray &frame : frames)
            bytes += frame;
        return bytes;
    };
    struct Run
    {
        qint64 at;
        qsizetype frames;
    };
    QFile file(path("card.img"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
    const auto place = [&](qint64 at, const QByteArray &bytes) {
        ASSERT_TRUE(file.seek(at));
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    QVector<Run> runs;
    for (const qint64 at : {qint64(1) << 20, edge - 5000, size - (qint64(2) << 20)}) {
        const QList<QByteArray> frames = RecGen::phoneLikeFrames(runs.size() == 1, 400, rng);
        place(at, joined(frames));
        runs.append({at, frames.size()});
    }
    const RecGen::Recording signedOne =
        RecGen::makeRecording(AmrFormat::NarrowBand, 1, RecGen::phoneLikeFrames(false, 200, rng));
    place(qint64(8) << 20, signedOne.bytes);
    file.close();

    ContainerSession session;
    session.setFindHeaderless(true);
    session.openMapped(path("card.img"));
    ASSERT_EQ(session.recordingCount(), 1 + runs.size());
    ASSERT_EQ(session.headerless().size(), runs.size());
    for (int i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(session.headerless()[i].start, runs[i].at) << i;
        EXPECT_EQ(session.headerless()[i].frames(), runs[i].frames) << i;
    }
    EXPECT_EQ(session.analyses().front().frames(), 200);
}

} // namespace
