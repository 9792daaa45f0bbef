#include "extract/ContainerSession.h"
#include "TestFiles.h"
#include "extract/ExtractError.h"
#include "extract/encode/WavFile.h"

#include "SampleContainers.h"

#include <QDir>
#include <QFile>

#include <QTemporaryDir>
#include <functional>

namespace {

using vocafetch::ContainerSession;
using vocafetch::OutputKind;

class ContainerSessionTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// Every kind a front end asks for comes out of write(), with the bytes the analysis promises.
TEST_F(ContainerSessionTest, WritesEachKindOfFileFromOneLoadedContainer)
{
    const RecGen::ContainerBuilder builder = RecGen::mixedSample();
    writeFile(path("mixed.drf"), builder.data());
    ContainerSession session(path("mixed.drf"));
    ASSERT_EQ(session.scan().recordingStarts, builder.starts());
    ASSERT_EQ(session.analyses().size(), builder.recordings().size());

    const QString chosen = path("out");
    const int last = session.recordingCount() - 1;
    for (int i : {0, last}) {
        SCOPED_TRACE(i);
        const RecordingRange range = session.range(i);
        session.write(i, OutputKind::Whole,
                      vocafetch::outputFileName(chosen, i + 1, OutputKind::Whole));
        EXPECT_EQ(readFile(chosen + QStringLiteral("_%1.amr").arg(i + 1)),
                  builder.data().mid(range.first, range.size()));
        EXPECT_EQ(session.recordingBytes(i), builder.data().mid(range.first, range.size()));

        const QString clean = path(QStringLiteral("clean_%1.amr").arg(i + 1));
        session.write(i, OutputKind::Clean, clean);
        const qint64 audioEnd = builder.recordings()[i].audioEnd;
        EXPECT_EQ(readFile(clean), builder.data().mid(range.first, audioEnd - range.first));
    }
    const QString wav = vocafetch::outputFileName(chosen, 1, OutputKind::Wav);
    EXPECT_EQ(wav, chosen + "_1.wav");
    session.write(0, OutputKind::Wav, wav);
    EXPECT_EQ(readFile(wav).size(), WavHeaderSize + session.analysis(0).frames() * 160 * 2);
}

TEST_F(ContainerSessionTest, RefusesWhatItCannotWriteAndForgetsAContainerThatFailedToLoad)
{
    writeFile(path("odd.drf"), QByteArray("..#!AMR-not-a-header..#!AMR\n") + filler(40));
    ContainerSession session(path("odd.drf"));
    ASSERT_EQ(session.recordingCount(), 2);
    EXPECT_THROW_MESSAGE(session.write(2, OutputKind::Whole, path("x.amr")),
                         "List index out of bounds (2)");
    try {
        session.write(0, OutputKind::Wav, path("odd_1.wav"));
        ADD_FAILURE() << "an unknown header was decoded";
    } catch (const ExtractError &error) {
        EXPECT_TRUE(
            error.message().startsWith("recording 1 does not start with a known AMR header"));
    }
    EXPECT_FALSE(QFileInfo::exists(path("odd_1.wav")));
    EXPECT_FALSE(QFileInfo::exists(path("x.amr")));

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

} // namespace
