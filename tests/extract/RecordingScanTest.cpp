#include "extract/RecordingScan.h"
#include "TestFiles.h"
#include "extract/ExtractError.h"
#include "extract/InProcessClipboard.h"

#include <QTemporaryDir>

namespace {

const QByteArray Marker = RecordingScan::TypeMarkerText;

class RecordingScanTest : public ::testing::Test
{
protected:
    ScanResult scan(const QByteArray &container)
    {
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        writeFile(path, container);
        buffer.LoadFromFile(path);
        return scanRecordings(buffer);
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
    EXPECT_EQ(scan(data).AmrStartList, QStringList({"0", "25"}));

    EXPECT_EQ(scan("#!AMR#!AMR").AmrStartList, QStringList({"0", "5"}));
    EXPECT_EQ(scan("#!AMR").AmrStartList, QStringList({"0"}));
    // Cut one byte short at the end: not a signature.
    EXPECT_TRUE(scan("xxxx#!AM").AmrStartList.isEmpty());
    // Any letter case counts.
    EXPECT_EQ(scan("..#!amr..#!aMr").AmrStartList, QStringList({"2", "9"}));
    EXPECT_EQ(scan(QByteArray("..") + Marker.toUpper() + "..").TypeMarkerList, QStringList({"2"}));
}

TEST_F(RecordingScanTest, ThreeRecordingsTwoMarkers)
{
    QByteArray data = filler(200);
    place(data, 0, Marker);
    place(data, 20, "#!AMR");
    place(data, 70, Marker);
    place(data, 90, "#!AMR");
    place(data, 150, "#!AMR");
    const ScanResult result = scan(data);
    EXPECT_EQ(result.AmrStartList, QStringList({"20", "90", "150"}));
    EXPECT_EQ(result.TypeMarkerList, QStringList({"0", "70"}));
    EXPECT_EQ(result.captions, QStringList({"Запись_1.amr", "Запись_2.amr", "Запись_3.amr"}));
    EXPECT_EQ(result.statusText, "Найдено 3 записей");
    EXPECT_TRUE(result.saveAllEnabled);
    // The buffer is left on the last marker, which is selected.
    EXPECT_EQ(buffer.CursorPosition(), 81);
    EXPECT_EQ(buffer.CurrentSelection().low, 70);
    EXPECT_EQ(buffer.CurrentSelection().high, 81);
    EXPECT_EQ(offsetsOf(result.AmrStartList), QVector<qint32>({20, 90, 150}));

    EXPECT_EQ(scan("#!AMR and more").statusText, "Найдено 1 записей");
}

TEST_F(RecordingScanTest, MarkersWithoutRecordings)
{
    const ScanResult result = scan(filler(5) + Marker + filler(7) + Marker);
    EXPECT_TRUE(result.AmrStartList.isEmpty());
    EXPECT_EQ(result.TypeMarkerList, QStringList({"5", "24"}));
    EXPECT_TRUE(result.captions.isEmpty());
    EXPECT_EQ(result.statusText, "Звуковые записи не найдены");
    EXPECT_FALSE(result.saveAllEnabled);
}

TEST_F(RecordingScanTest, TinyContainersHaveNoRecordings)
{
    for (const QByteArray &tiny : {QByteArray(), QByteArray("#"), QByteArray("#!")}) {
        ScanResult result;
        ASSERT_NO_THROW(result = scan(tiny)) << tiny.size();
        EXPECT_TRUE(result.AmrStartList.isEmpty());
        EXPECT_TRUE(result.TypeMarkerList.isEmpty());
        EXPECT_TRUE(result.captions.isEmpty());
        EXPECT_EQ(result.statusText, "Звуковые записи не найдены");
        EXPECT_FALSE(result.saveAllEnabled);
    }
    // Without markers the scan leaves bytes 0 ... 1 selected.
    scan("#!AMR...");
    EXPECT_EQ(buffer.CursorPosition(), 0);
    EXPECT_EQ(buffer.CurrentSelection().high, 1);
}

} // namespace
