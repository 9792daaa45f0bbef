// 2,000 random containers, the same ones on every run, through load, both scans and export:
// every exported file is an exact slice of its container, the files together give the
// container back from its first recording start on, and nothing is written anywhere but the
// chosen folder.
#include "SampleContainer.h"
#include "extract/ByteBuffer.h"
#include "extract/ContainerSession.h"
#include "extract/RecordingScan.h"
#include "extract/SaveRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

constexpr int ContainerCount = 2000;
// Saving waits for the disk, so the containers are soaked in shards that can run side by side.
constexpr int Shards = 4;
constexpr quint32 Seed = 20240611;

QByteArray randomBytes(SampleGen::Random &random, int count)
{
    QByteArray bytes(count, '\0');
    for (char &byte : bytes)
        byte = char(random.below(256));
    return bytes;
}

// A signature or marker with random letters' case flipped: the scan finds every spelling.
QByteArray randomCase(SampleGen::Random &random, QByteArray text)
{
    for (char &c : text) {
        if (QChar::isLetter(uchar(c)) && random.below(2))
            c = char(QChar::isUpper(uchar(c)) ? QChar::toLower(uchar(c))
                                              : QChar::toUpper(uchar(c)));
    }
    return text;
}

QByteArray scatteredContainer(SampleGen::Random &random)
{
    QByteArray bytes = randomBytes(random, random.below(1500));
    const int pieces = random.below(7);
    for (int k = 0; k < pieces; ++k) {
        const QByteArray piece = random.below(3)
                                     ? randomCase(random, RecordingScan::RecordingStartText)
                                     : randomCase(random, RecordingScan::TypeMarkerText);
        bytes.insert(bytes.isEmpty() ? 0 : random.below(int(bytes.size()) + 1), piece);
    }
    return bytes;
}

QByteArray phoneContainer(SampleGen::Random &random)
{
    QVector<QByteArray> recordings;
    const int count = 1 + random.below(3);
    for (int k = 0; k < count; ++k)
        recordings << SampleGen::amrRecording(1 + random.below(6), random.below(8), random);
    QByteArray bytes = SampleGen::container(recordings, random).bytes;
    if (random.below(2)) // cut short, as a copy broken off part-way
        bytes.truncate(random.below(int(bytes.size()) + 1));
    return randomBytes(random, random.below(40)) + bytes;
}

QByteArray randomContainer(SampleGen::Random &random)
{
    return random.below(2) ? scatteredContainer(random) : phoneContainer(random);
}

// Every offset at which "#!AMR" begins, in any letter case, found the plain way.
QVector<qint64> signatureOffsets(const QByteArray &bytes)
{
    QVector<qint64> offsets;
    const QByteArray lower = bytes.toLower();
    for (qsizetype at = lower.indexOf("#!amr"); at >= 0; at = lower.indexOf("#!amr", at + 5))
        offsets << at;
    return offsets;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SoakTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        const QDir dir(root.path());
        ASSERT_TRUE(dir.mkdir(QStringLiteral("in")) && dir.mkdir(QStringLiteral("out")));
        containerPath = dir.filePath(QStringLiteral("in/c.drf"));
        chosenName = dir.filePath(QStringLiteral("out/rec"));
    }

    // Runs one container through everything; a failure names the container.
    void soak(int number, const QByteArray &bytes)
    {
        SCOPED_TRACE(testing::Message()
                     << "container " << number << " (seed " << Seed + number << ")");
        QFile file(containerPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();

        vocafetch::ContainerSession loaded(containerPath);
        ASSERT_EQ(loaded.source().Data(), bytes);
        const vocafetch::ContainerScan &scan = loaded.scan();
        ASSERT_EQ(scan.recordingStarts, signatureOffsets(bytes));
        vocafetch::ContainerSession mapped;
        mapped.openMapped(containerPath);
        ASSERT_EQ(mapped.scan().recordingStarts, scan.recordingStarts);
        ASSERT_EQ(mapped.scan().typeMarkers, scan.typeMarkers);

        // The window's session and the command line's give the same files.
        const auto save = [&](vocafetch::ContainerSession &session, const QString &chosen) {
            const vocafetch::SaveOutcome outcome = vocafetch::saveRecordings(
                session, vocafetch::planSaveAll(session, vocafetch::OutputKind::whole(), chosen));
            EXPECT_TRUE(outcome.problems.isEmpty());
            return outcome.placed;
        };
        ASSERT_EQ(save(loaded, chosenName), scan.recordingStarts.size());
        QStringList written;
        for (int i = 0; i < scan.recordingStarts.size(); ++i)
            written << chosenName + QStringLiteral("_%1.amr").arg(i + 1);
        const QString mappedName = chosenName + QStringLiteral("-mapped");
        ASSERT_EQ(save(mapped, mappedName), scan.recordingStarts.size());
        for (int i = 0; i < scan.recordingStarts.size(); ++i) {
            const QString other = mappedName + QStringLiteral("_%1.amr").arg(i + 1);
            ASSERT_EQ(readAll(other), readAll(written[i])) << "recording " << i + 1;
            QFile::remove(other);
        }
        QByteArray joined;
        QStringList expectedTree{QStringLiteral("in"), QStringLiteral("in/c.drf"),
                                 QStringLiteral("out")};
        const QVector<qint64> &starts = scan.recordingStarts;
        for (int i = 0; i < written.size(); ++i) {
            const qint32 end = i + 1 < starts.size() ? starts[i + 1] : qint32(bytes.size());
            const QByteArray exported = readAll(written[i]);
            ASSERT_EQ(exported, bytes.mid(starts[i], end - starts[i])) << "recording " << i + 1;
            joined += exported;
            expectedTree << QStringLiteral("out/rec_%1.amr").arg(i + 1);
        }
        if (!starts.isEmpty()) {
            ASSERT_EQ(joined, bytes.mid(starts.first()));
        }
        expectedTree.sort();
        ASSERT_EQ(tree(root.path()), expectedTree);

        for (const QString &path : written)
            QFile::remove(path);
    }

    QTemporaryDir root;
    QString containerPath;
    QString chosenName;
};

TEST_P(SoakTest, RandomContainersExportAsExactSlicesIntoTheChosenFolderOnly)
{
    int recordings = 0;
    for (int number = GetParam(); number < ContainerCount; number += Shards) {
        // Each container from a seed of its own, so that any one can be made again alone.
        SampleGen::Random random(Seed + quint32(number));
        const QByteArray bytes = randomContainer(random);
        recordings += int(signatureOffsets(bytes).size());
        ASSERT_NO_FATAL_FAILURE(soak(number, bytes));
    }
    // The mix must really exercise export: most containers hold recordings.
    EXPECT_GT(recordings, ContainerCount / Shards);
}

INSTANTIATE_TEST_SUITE_P(Shards, SoakTest, ::testing::Range(0, Shards));

} // namespace
