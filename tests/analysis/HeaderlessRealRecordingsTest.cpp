// The headerless search on real recordings made by other people's encoders, phones and
// programs, and on containers built from them (their README tells how): a run holds exactly
// the original recording's frames, quiet ones and those after a damaged header included.
// Skipped when the recordings are not beside the project.
#include "extract/analysis/HeaderlessRuns.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

const QString Recordings = QStringLiteral(VOCAFETCH_REALWORLD_DIR);

#define SKIP_WITHOUT_RECORDINGS()                                                                  \
    if (!QDir(Recordings).exists())                                                                \
    GTEST_SKIP() << "no real recordings in " << Recordings.toStdString()

QByteArray readRecording(const QString &name)
{
    QFile file(Recordings + QLatin1Char('/') + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// A signed recording as its own frame walk sees it.
struct Original
{
    QByteArray bytes;
    FrameWalk walk;
    QVector<qint64> frameStarts;

    // The bytes of its frames from frame first on.
    QByteArray framesFrom(qint64 first) const
    {
        return bytes.mid(frameStarts[first], walk.audioEnd - frameStarts[first]);
    }
};

Original original(const QString &name)
{
    Original recording;
    recording.bytes = readRecording(name);
    const char *data = recording.bytes.constData();
    recording.walk = walkAmrFrames(data, 0, recording.bytes.size());
    const FrameSizeTable &sizes = frameSizeTable(isWideBand(recording.walk.header.format));
    for (qint64 pos = recording.walk.header.size; pos < recording.walk.audioEnd;
         pos += sizes[quint8(data[pos])])
        recording.frameStarts.append(pos);
    return recording;
}

// What list --headerless finds in a container: runs where no signed recording's audio lies.
QVector<RecordingAnalysis> headerlessIn(const QByteArray &container)
{
    QVector<qint64> starts;
    for (qint64 at = container.indexOf("#!"); at >= 0; at = container.indexOf("#!", at + 1))
        if (readAmrHeader(container.constData(), at, container.size()).format != AmrFormat::Unknown)
            starts.append(at);
    const QVector<RecordingAnalysis> signedOnes = analyseRecordings(container, starts);
    return findHeaderlessRecordings(container.constData(), container.size(), signedOnes);
}

// A run holding the original's frames from frame first on, byte for byte.
void expectWhole(const QByteArray &container, const RecordingAnalysis &run,
                 const Original &recording, qint64 first, const char *what)
{
    const QByteArray frames = recording.framesFrom(first);
    EXPECT_EQ(container.mid(run.start, run.audioEnd - run.start), frames) << what;
    EXPECT_EQ(run.frames(), recording.frameStarts.size() - first) << what;
    EXPECT_EQ(run.format(), recording.walk.header.format) << what;
}

} // namespace

// Each built container whose recordings lost their start or signature gives those recordings'
// frames whole, up to their last (quiet) frame, and from just after a damaged header on.
TEST(HeaderlessRealRecordings, BuiltContainersGiveTheOriginalFramesWhole)
{
    SKIP_WITHOUT_RECORDINGS();
    struct Lost
    {
        const char *original;
        qint64 firstFrame;
    };
    struct Case
    {
        const char *container;
        std::vector<Lost> lost;
    };
    const Case cases[] = {
        // Frame 800's header damaged: the signed walk stops there, the run goes on after it.
        {"built/damaged_middle.drf", {{"amr/nb_mimetype_full.amr", 801}}},
        {"built/starts_mid_nb.drf", {{"amr/nb_ygo_long.amr", 5001}}},
        {"built/starts_mid_wb.drf", {{"amr/wb_voamrwbenc_2385.amr", 401}}},
        {"built/dump_sig_destroyed.bin",
         {{"amr/nb_hack10_long.amr", 0}, {"amr/nb_scamdet.amr", 0}}},
        {"built/mms_sig_destroyed.drf",
         {{"amr/nb_speechdep_515.amr", 0}, {"amr/wb_amrwbjs_23050.amr", 0}}},
    };
    for (const Case &c : cases) {
        const QByteArray container = readRecording(QLatin1String(c.container));
        const QVector<RecordingAnalysis> runs = headerlessIn(container);
        ASSERT_EQ(runs.size(), qsizetype(c.lost.size())) << c.container;
        for (size_t i = 0; i < c.lost.size(); ++i)
            expectWhole(container, runs[qsizetype(i)], original(QLatin1String(c.lost[i].original)),
                        c.lost[i].firstFrame, c.container);
    }
}

// Every real recording, its signature gone, at the end of container bytes: one run with the
// frames its own walk gives (a cut last frame, trailing junk and zeros stay out), unless it is
// shorter than a second of speech.
TEST(HeaderlessRealRecordings, EveryRecordingWithoutItsSignatureIsFoundWhole)
{
    SKIP_WITHOUT_RECORDINGS();
    const QStringList names = QDir(Recordings + QStringLiteral("/amr")).entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    int found = 0;
    for (const QString &name : names) {
        const Original recording = original(QStringLiteral("amr/") + name);
        const QByteArray filler(300, char(0xFF));
        const QByteArray container = filler + recording.bytes.mid(recording.walk.header.size);
        const QVector<RecordingAnalysis> runs =
            findHeaderlessRuns(container.constData(), 0, container.size());
        if (recording.frameStarts.size() < HeaderlessLimits().minFrames) {
            EXPECT_TRUE(runs.isEmpty()) << name.toStdString();
            continue;
        }
        ASSERT_EQ(runs.size(), 1) << name.toStdString();
        expectWhole(container, runs[0], recording, 0, qPrintable(name));
        EXPECT_EQ(runs[0].walk.stop, recording.walk.stop) << name.toStdString();
        ++found;
    }
    EXPECT_GE(found, 30);
}

// Files that hold no AMR frames (other codecs under AMR's name, text, containers of other
// audio) give no run.
TEST(HeaderlessRealRecordings, NoRunInFilesWithoutAmr)
{
    SKIP_WITHOUT_RECORDINGS();
    const QStringList names = QDir(Recordings + QStringLiteral("/negative")).entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        const QByteArray bytes = readRecording(QStringLiteral("negative/") + name);
        EXPECT_TRUE(findHeaderlessRuns(bytes.constData(), 0, bytes.size()).isEmpty())
            << name.toStdString();
    }
}
