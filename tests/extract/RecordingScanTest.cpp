#include "extract/RecordingScan.h"
#include "extract/ExtractError.h"
#include "extract/InProcessClipboard.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

using namespace vocafetch;

namespace {

using vocafetch::ContainerScan;
using Offsets = QVector<qint64>;

const QByteArray Marker = RecordingScan::TypeMarkerText;

class RecordingScanTest : public ::testing::Test
{
protected:
    ContainerScan scan(const QByteArray &container)
    {
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        writeFile(path, container);
        buffer.LoadFromFile(path);
        return vocafetch::scanRecordings(buffer);
    }

    QTemporaryDir dir;
    InProcessClipboard clipboard;
    TByteBuffer buffer{clipboard};
};

TEST_F(RecordingScanTest, SignaturesAtTheEdgesAndBackToBack)
{
    QByteArray data = filler(30);
    place(data, 0, "#!AMR");
    place(data, 25, "#!AMR");
    EXPECT_EQ(scan(data).recordingStarts, Offsets({0, 25}));

    EXPECT_EQ(scan("#!AMR#!AMR").recordingStarts, Offsets({0, 5}));
    EXPECT_EQ(scan("#!AMR").recordingStarts, Offsets({0}));
    // Cut one byte short at the end: not a signature.
    EXPECT_TRUE(scan("xxxx#!AM").recordingStarts.isEmpty());
    // Any letter case counts.
    EXPECT_EQ(scan("..#!amr..#!aMr").recordingStarts, Offsets({2, 9}));
    EXPECT_EQ(scan(QByteArray("..") + Marker.toUpper() + "..").typeMarkers, Offsets({2}));
}

TEST_F(RecordingScanTest, ThreeRecordingsTwoMarkers)
{
    QByteArray data = filler(200);
    place(data, 0, Marker);
    place(data, 20, "#!AMR");
    place(data, 70, Marker);
    place(data, 90, "#!AMR");
    place(data, 150, "#!AMR");
    const ContainerScan result = scan(data);
    EXPECT_EQ(result.recordingStarts, Offsets({20, 90, 150}));
    EXPECT_EQ(result.typeMarkers, Offsets({0, 70}));
    EXPECT_EQ(result.recordingCount(), 3);
    // The buffer is left on the last marker, which is selected.
    EXPECT_EQ(buffer.CursorPosition(), 81);
    EXPECT_EQ(buffer.CurrentSelection().low, 70);
    EXPECT_EQ(buffer.CurrentSelection().high, 81);
}

TEST_F(RecordingScanTest, MarkersWithoutRecordings)
{
    const ContainerScan result = scan(filler(5) + Marker + filler(7) + Marker);
    EXPECT_TRUE(result.recordingStarts.isEmpty());
    EXPECT_EQ(result.typeMarkers, Offsets({5, 24}));
}

TEST_F(RecordingScanTest, TinyContainersHaveNoRecordings)
{
    for (const QByteArray &tiny : {QByteArray(), QByteArray("#"), QByteArray("#!")}) {
        ContainerScan result;
        ASSERT_NO_THROW(result = scan(tiny)) << tiny.size();
        EXPECT_TRUE(result.recordingStarts.isEmpty());
        EXPECT_TRUE(result.typeMarkers.isEmpty());
    }
    // Without markers the scan leaves bytes 0 ... 1 selected.
    scan("#!AMR...");
    EXPECT_EQ(buffer.CursorPosition(), 0);
    EXPECT_EQ(buffer.CurrentSelection().high, 1);
}

} // namespace
