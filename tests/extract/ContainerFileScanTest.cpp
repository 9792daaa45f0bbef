#include "extract/ContainerFileScan.h"
#include "TestFiles.h"
#include "extract/ExtractError.h"
#include "extract/InProcessClipboard.h"

#include <QTemporaryDir>

namespace {

class ContainerFileScanTest : public ::testing::Test
{
protected:
    // Scans the bytes both ways and expects the same lists.
    void expectSameAsBuffer(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        writeFile(path, bytes);
        InProcessClipboard clipboard;
        TByteBuffer buffer(clipboard);
        buffer.LoadFromFile(path);
        const vocafetch::ContainerScan loaded = vocafetch::scanRecordings(buffer);
        const ContainerFileScan streamed = scanContainerFile(path);
        EXPECT_EQ(streamed.size, bytes.size());
        EXPECT_EQ(streamed.scan.recordingStarts, loaded.recordingStarts);
        EXPECT_EQ(streamed.scan.typeMarkers, loaded.typeMarkers);
    }

    QTemporaryDir dir;
};

TEST_F(ContainerFileScanTest, SignaturesAcrossPieceBoundaries)
{
    // The file is read in 256 KiB pieces; put signatures across each boundary at every shift.
    const int piece = 256 * 1024;
    for (int shift = 0; shift <= 12; ++shift) {
        QByteArray data = filler(3 * piece + 100);
        place(data, piece - shift, "#!aMr");
        place(data, 2 * piece - shift, RecordingScan::TypeMarkerText);
        place(data, data.size() - 5, "#!AMR");
        place(data, 0, RecordingScan::TypeMarkerText);
        SCOPED_TRACE(shift);
        expectSameAsBuffer(data);
    }
    for (const QByteArray &tiny : {QByteArray(), QByteArray("#"), QByteArray("#!AMR")})
        expectSameAsBuffer(tiny);
}

TEST_F(ContainerFileScanTest, FailsWithTheLoadMessages)
{
    const QString missing = dir.filePath(QStringLiteral("none.drf"));
    EXPECT_THROW_MESSAGE(scanContainerFile(missing),
                         "Cannot open " + missing + ".\r\n(No such file or directory.)");
    EXPECT_THROW_MESSAGE(scanContainerFile(dir.path()),
                         "Cannot open " + dir.path() + ".\r\n(Is a directory.)");
}

} // namespace
