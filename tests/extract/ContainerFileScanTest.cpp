#include "extract/ContainerFileScan.h"
#include "extract/ContainerSession.h"
#include "extract/InProcessClipboard.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vocafetch;

namespace {

class ContainerFileScanTest : public ::testing::Test
{
protected:
    static constexpr qint64 Window = 256 * 1024;

    // Scans the bytes loaded, mapped in small windows and through a mapped session, and
    // expects the same lists.
    void expectSameAsBuffer(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        writeFile(path, bytes);
        InProcessClipboard clipboard;
        TByteBuffer buffer(clipboard);
        buffer.LoadFromFile(path);
        const vocafetch::ContainerScan loaded = vocafetch::scanRecordings(buffer);
        const vocafetch::ContainerSource source(QFile::encodeName(path));
        const vocafetch::ContainerScan windowed = vocafetch::scanMappedContainer(source, Window);
        EXPECT_EQ(windowed.recordingStarts, loaded.recordingStarts);
        EXPECT_EQ(windowed.typeMarkers, loaded.typeMarkers);
        vocafetch::ContainerSession session;
        session.openMapped(path);
        EXPECT_EQ(session.size(), bytes.size());
        EXPECT_EQ(session.scan().recordingStarts, loaded.recordingStarts);
        EXPECT_EQ(session.scan().typeMarkers, loaded.typeMarkers);
    }

    QTemporaryDir dir;
};

TEST_F(ContainerFileScanTest, SignaturesAcrossWindowEdges)
{
    // Signatures across each window edge at every shift.
    const int piece = int(Window);
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

} // namespace
