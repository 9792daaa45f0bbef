#include "extract/RecordingExport.h"
#include "TestFiles.h"
#include "extract/ExtractError.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingScan.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

const QByteArray Marker = RecordingScan::TypeMarkerText;

class RecordingExportTest : public ::testing::Test
{
protected:
    QVector<qint64> load(const QByteArray &bytes)
    {
        container = bytes;
        const QString path = dir.filePath(QStringLiteral("c.drf"));
        writeFile(path, bytes);
        source.LoadFromFile(path);
        return vocafetch::scanRecordings(source).recordingStarts;
    }
    QString chosen(const QString &name = QStringLiteral("rec")) const { return dir.filePath(name); }
    QStringList amrFiles() const
    {
        return QDir(dir.path()).entryList({"*.amr"}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    InProcessClipboard clipboard;
    TByteBuffer source{clipboard};
    TByteBuffer output{clipboard};
    QByteArray container;
};

TEST_F(RecordingExportTest, EachFileEndsBeforeTheNextRecording)
{
    // 100 bytes, recordings at 10 and 60, markers at 0 and 50.
    QByteArray data = filler(100);
    place(data, 0, Marker);
    place(data, 10, "#!AMR");
    place(data, 50, Marker);
    place(data, 60, "#!AMR");
    const QVector<qint64> starts = load(data);
    ASSERT_EQ(starts, QVector<qint64>({10, 60}));

    const QStringList written = exportAllRecordings(source, output, starts, chosen());
    EXPECT_EQ(written, QStringList({chosen() + "_1.amr", chosen() + "_2.amr"}));
    EXPECT_EQ(readFile(chosen() + "_1.amr"), data.mid(10, 50));
    EXPECT_EQ(readFile(chosen() + "_2.amr"), data.mid(60, 40));
    EXPECT_EQ(recordingRange(starts, 0, 100).size(), 50);

    // The output buffer owns the last file, the clipboard is empty, the source keeps the
    // container with the last range selected.
    EXPECT_EQ(output.FileName(), chosen() + "_2.amr");
    EXPECT_TRUE(clipboard.formats().isEmpty());
    EXPECT_EQ(source.Data(), data);
    EXPECT_EQ(source.CursorPosition(), 60);
    EXPECT_EQ(source.SelCount(), 40);
}

TEST_F(RecordingExportTest, EveryRecordingStartGetsAFileWhateverTheMarkerCount)
{
    // Three recordings, two markers.
    QByteArray data = filler(90);
    place(data, 0, Marker);
    place(data, 15, "#!AMR");
    place(data, 40, Marker);
    place(data, 52, "#!AMR");
    place(data, 70, "#!AMR");
    QVector<qint64> starts = load(data);
    ASSERT_EQ(starts.size(), 3);
    exportAllRecordings(source, output, starts, chosen());
    EXPECT_EQ(amrFiles(), QStringList({"rec_1.amr", "rec_2.amr", "rec_3.amr"}));
    EXPECT_EQ(readFile(chosen() + "_2.amr"), data.mid(52, 18));
    EXPECT_EQ(readFile(chosen() + "_3.amr"), data.mid(70));

    // Two recordings, three markers: the last still runs to the end.
    data = filler(80);
    place(data, 0, Marker);
    place(data, 12, "#!AMR");
    place(data, 30, Marker);
    place(data, 45, "#!AMR");
    place(data, 60, Marker);
    starts = load(data);
    ExportRecording(source, output, starts, 1, chosen("two"));
    EXPECT_EQ(readFile(chosen("two") + "_2.amr"), data.mid(45));
    ExportRecording(source, output, starts, 0, chosen("two"));
    EXPECT_EQ(readFile(chosen("two") + "_1.amr"), data.mid(12, 33));

    EXPECT_THROW_MESSAGE(ExportRecording(source, output, starts, 2, chosen("two")),
                         "List index out of bounds (2)");
}

TEST_F(RecordingExportTest, NamesAndOverwrites)
{
    const QVector<qint64> starts = load("..#!AMR\n" + filler(20));
    ExportRecording(source, output, starts, 0, chosen("rec.amr"));
    EXPECT_EQ(amrFiles(), QStringList({"rec.amr_1.amr"}));

    writeFile(chosen() + "_1.amr", "something older");
    ExportRecording(source, output, starts, 0, chosen());
    ExportRecording(source, output, starts, 0, chosen());
    EXPECT_EQ(readFile(chosen() + "_1.amr"), container.mid(2));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no ".bak", no leftovers
}

TEST_F(RecordingExportTest, FailedWriteStopsAndKeepsWrittenFiles)
{
    const QVector<qint64> starts = load("#!AMR-one-#!AMR-two");
    const QString folder = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // The second file's name is taken by a folder, so it cannot be written.
    ASSERT_TRUE(QDir().mkpath(folder + "/rec_2.amr"));
    try {
        exportAllRecordings(source, output, starts, folder + "/rec");
        ADD_FAILURE() << "wrote over a folder";
    } catch (const ExtractError &error) {
        EXPECT_TRUE(error.message().startsWith(
            "Cannot create file \"" + QDir::toNativeSeparators(folder + "/rec_2.amr") + "\". "))
            << error.message().toStdString();
    }
    EXPECT_EQ(readFile(folder + "/rec_1.amr"), "#!AMR-one-");
}

} // namespace
