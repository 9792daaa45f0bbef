#include "extract/SaveRun.h"

#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/RecordingScan.h"
#include "extract/encode/WavFile.h"
#include "support/TestFiles.h"

#include "SampleContainers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <atomic>

using namespace vocafetch;

namespace {

using vocafetch::ContainerSession;
using vocafetch::OutputKind;
using vocafetch::SaveOutcome;

const QByteArray Marker = RecordingScan::TypeMarkerText;

// Saves through the one save loop, from a loaded and from a mapped session of the same file.
class SaveRunTest : public ContainerFolderTest
{
protected:
    QStringList files(const QString &pattern) const
    {
        return QDir(dir.path()).entryList({pattern}, QDir::Files, QDir::Name);
    }
};

TEST_F(SaveRunTest, EachWholeFileIsTheRecordingsRangeFromALoadedOrAMappedContainer)
{
    // 100 bytes, recordings at 10 and 60, markers at 0 and 50; then three recordings and two
    // markers: every recording start gets its file whatever the marker count.
    QByteArray two = filler(100);
    place(two, 0, Marker);
    place(two, 10, "#!AMR");
    place(two, 50, Marker);
    place(two, 60, "#!AMR");
    QByteArray three = filler(90);
    place(three, 0, Marker);
    place(three, 15, "#!AMR");
    place(three, 40, Marker);
    place(three, 52, "#!AMR");
    place(three, 70, "#!AMR");
    for (const QByteArray &data : {two, three}) {
        const QString file = container(data);
        ContainerSession loaded(file);
        ContainerSession mapped;
        mapped.openMapped(file);
        ASSERT_EQ(loaded.scan().recordingStarts, mapped.scan().recordingStarts);
        const QVector<qint64> starts = loaded.scan().recordingStarts;
        for (ContainerSession *session : {&loaded, &mapped}) {
            const QString chosen = path(QStringLiteral("%1%2")
                                            .arg(session == &loaded ? "loaded" : "mapped")
                                            .arg(containers));
            const SaveOutcome outcome = vocafetch::saveRecordings(
                *session, vocafetch::planSaveAll(*session, OutputKind::whole(), chosen));
            EXPECT_EQ(outcome.placed, starts.size());
            for (int i = 0; i < starts.size(); ++i) {
                const qint64 end = i + 1 < starts.size() ? starts[i + 1] : data.size();
                EXPECT_EQ(readFile(chosen + QStringLiteral("_%1.amr").arg(i + 1)),
                          data.mid(starts[i], end - starts[i]));
            }
        }
    }
    EXPECT_EQ(readFile(path("loaded1_1.amr")), two.mid(10, 50));
    EXPECT_EQ(readFile(path("mapped2_3.amr")), three.mid(70));
}

TEST_F(SaveRunTest, EveryKindOfTheMixedSampleIsWrittenAlikeFromBothSessions)
{
    const RecGen::ContainerBuilder builder = RecGen::mixedSample();
    const QString file = container(builder.data());
    ContainerSession loaded(file);
    ContainerSession mapped;
    mapped.openMapped(file);
    for (const OutputKind kind : {OutputKind::whole(), OutputKind::cleanCut(),
                                  OutputKind::decoded(vocafetch::OutputFormat::Wav)}) {
        SCOPED_TRACE(kind.info().name.latin1());
        const QString name = kind.clean ? "clean" : "all";
        vocafetch::saveRecordings(loaded, vocafetch::planSaveAll(loaded, kind, path("l" + name)));
        vocafetch::saveRecordings(mapped, vocafetch::planSaveAll(mapped, kind, path("m" + name)));
    }
    int compared = 0;
    for (int i = 0; i < loaded.recordingCount(); ++i) {
        for (const char *file : {"all_%1.amr", "clean_%1.amr", "all_%1.wav"}) {
            const QByteArray fromLoaded = readFile(path("l" + QString(file).arg(i + 1)));
            EXPECT_EQ(fromLoaded, readFile(path("m" + QString(file).arg(i + 1))));
            compared += fromLoaded != "<missing>";
        }
    }
    EXPECT_EQ(compared, 3 * loaded.recordingCount());
    // The clean cut ends at the audio end; the WAV holds every frame decoded.
    const ByteSpan range = loaded.range(0);
    const QByteArray clean = readFile(path("lclean_1.amr"));
    EXPECT_EQ(clean,
              builder.data().mid(range.begin, builder.recordings()[0].audioEnd - range.begin));
    const QByteArray wav = readFile(path("lall_1.wav"));
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40),
              loaded.analysis(0).frames() * 160 * 2);
}

TEST_F(SaveRunTest, NamesKeepOrReplaceAndNeverFollowALink)
{
    ContainerSession session(container("..#!AMR\n" + filler(20)));
    vocafetch::saveRecordings(
        session, vocafetch::planSaveAll(session, OutputKind::whole(), path("rec.amr")));
    EXPECT_EQ(files("rec*"), QStringList({"rec.amr_1.amr"}));

    // Kept unless replacing is asked for; a link at the name is replaced itself, never its
    // target.
    writeFile(path("rec_1.amr"), "PRECIOUS");
    vocafetch::SavePlan plan = vocafetch::planSaveAll(session, OutputKind::whole(), path("rec"));
    SaveOutcome kept = vocafetch::saveRecordings(session, plan);
    EXPECT_EQ(kept.placed, 0);
    EXPECT_EQ(kept.problems.size(), 1);
    EXPECT_EQ(readFile(path("rec_1.amr")), "PRECIOUS");

    ASSERT_TRUE(QFile::link(path("rec_1.amr"), path("link_1.amr")));
    plan = vocafetch::planSaveAll(session, OutputKind::whole(), path("link"));
    plan.placement = vocafetch::Placement::ReplaceExisting;
    EXPECT_EQ(vocafetch::saveRecordings(session, plan).placed, 1);
    EXPECT_EQ(readFile(path("rec_1.amr")), "PRECIOUS");
    EXPECT_EQ(readFile(path("link_1.amr")), QByteArray("#!AMR\n") + filler(20));
    EXPECT_FALSE(QFileInfo(path("link_1.amr")).isSymLink());
}

TEST_F(SaveRunTest, ARecordingThatCannotBeConvertedIsSkippedAndTheOthersWritten)
{
    RecGen::Rng rng(31);
    const RecGen::Recording speech =
        RecGen::makeRecording(AmrFormat::NarrowBand, 1, RecGen::phoneLikeFrames(false, 30, rng));
    // Recording 2 is a text that mentions the signature; recording 3 a header with no frame.
    const QByteArray data =
        speech.bytes + "#!AMR is how a recording starts. " + "#!AMR\n" + speech.bytes;
    ContainerSession session(container(data));
    ASSERT_EQ(session.recordingCount(), 4);
    const SaveOutcome outcome = vocafetch::saveRecordings(
        session, vocafetch::planSaveAll(session, OutputKind::decoded(vocafetch::OutputFormat::Flac),
                                        path("flac")));
    EXPECT_EQ(outcome.placed, 2);
    ASSERT_EQ(outcome.skipped.size(), 2);
    EXPECT_EQ(outcome.skipped[0].recording, 1);
    EXPECT_EQ(outcome.skipped[0].kind, vocafetch::ErrorKind::Undecodable);
    EXPECT_EQ(outcome.skipped[1].recording, 2);
    EXPECT_EQ(outcome.skipped[1].kind, vocafetch::ErrorKind::NothingToConvert);
    EXPECT_EQ(files("flac*"), QStringList({"flac_1.flac", "flac_4.flac"}));
}

TEST_F(SaveRunTest, AFailedFileKeepsTheOthersAndACancelPlacesWhatWasWritten)
{
    ContainerSession session(container("#!AMR-one-#!AMR-two-#!AMR-three"));
    ASSERT_TRUE(QDir().mkpath(path("rec_2.amr"))); // a folder takes the second name
    vocafetch::SavePlan plan = vocafetch::planSaveAll(session, OutputKind::whole(), path("rec"));
    plan.placement = vocafetch::Placement::ReplaceExisting;
    const SaveOutcome failed = vocafetch::saveRecordings(session, plan);
    EXPECT_EQ(failed.placed, 2);
    EXPECT_EQ(failed.failedPath, path("rec_2.amr"));
    EXPECT_FALSE(failed.failedReason.isEmpty());
    EXPECT_EQ(readFile(path("rec_1.amr")), "#!AMR-one-");
    EXPECT_TRUE(QFileInfo(path("rec_2.amr")).isDir());

    std::atomic<bool> cancel{false};
    vocafetch::SaveControl control;
    control.cancel = &cancel;
    QVector<int> progress;
    control.progress = [&](int written, int total) {
        progress << written;
        EXPECT_EQ(total, 3);
        if (written == 2)
            cancel = true;
    };
    const SaveOutcome cancelled = vocafetch::saveRecordings(
        session, vocafetch::planSaveAll(session, OutputKind::whole(), path("c")), control);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.placed, 2);
    EXPECT_EQ(progress, QVector<int>({1, 2}));
    EXPECT_EQ(files("c_*"), QStringList({"c_1.amr", "c_2.amr"}));
}

TEST_F(SaveRunTest, HeaderlessRecordingsAreNamedLostAfterTheSignedOnes)
{
    EXPECT_EQ(vocafetch::savedFileName("d/x", 1, 2, OutputKind::whole()), "d/x_2.amr");
    EXPECT_EQ(vocafetch::savedFileName("d/x", 2, 2, OutputKind::whole()), "d/x_lost_1.amr");
    EXPECT_EQ(
        vocafetch::savedFileName("d/x", 4, 2, OutputKind::decoded(vocafetch::OutputFormat::Mp3)),
        "d/x_lost_3.mp3");
}

} // namespace
