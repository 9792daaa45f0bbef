#include "CliFixture.h"
#include "SampleContainer.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>
#include <unistd.h>

using namespace vocafetch;

namespace {

class CliFoldersTest : public CliFixture
{
protected:
    QByteArray container(int recordings, quint32 seed)
    {
        SampleGen::Random random(seed);
        QVector<QByteArray> parts;
        for (int k = 0; k < recordings; ++k)
            parts.append(SampleGen::amrRecording(10 + 7 * k, 7 - k % 3, random));
        return SampleGen::container(parts, random).bytes;
    }
    void makeTree()
    {
        QDir(dir.path()).mkpath("tree/a/b");
        QDir(dir.path()).mkpath("tree/c");
        QDir(dir.path()).mkpath("outside");
        write("tree/a/b/voice.drf", container(3, 1));
        write("tree/c/voice.drf", container(2, 2)); // the same name in another folder
        write("tree/a/photo.jpg", container(1, 3)); // the content decides, not the name
        write("tree/a/nothing.bin", QByteArray(100, 'x'));
        write("outside/far.drf", container(2, 4));
        ASSERT_EQ(symlink("../outside", path("tree/away").toLocal8Bit().constData()), 0);
        ASSERT_EQ(symlink("../a/b", path("tree/c/back").toLocal8Bit().constData()), 0);
        ASSERT_EQ(mkfifo(path("tree/c/pipe").toLocal8Bit().constData(), 0600), 0);
    }
};

TEST_F(CliFoldersTest, ExtractMirrorsTheTreeAndSkipsWhatItMustNotFollow)
{
    makeTree();
    const CliRun result = run({"extract", "-r", "-o", "out", "tree"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(path("out/a/b")).entryList(QDir::Files),
              QStringList({"voice_1.amr", "voice_2.amr", "voice_3.amr"}));
    EXPECT_EQ(QDir(path("out/c")).entryList(QDir::Files),
              QStringList({"voice_1.amr", "voice_2.amr"}));
    EXPECT_EQ(QDir(path("out/a")).entryList(QDir::Files), QStringList({"photo_1.amr"}));
    // Nothing from outside the tree, and the folder reached twice is written once.
    EXPECT_FALSE(QFileInfo::exists(path("out/away")));
    EXPECT_FALSE(QFileInfo::exists(path("out/c/back")));
    EXPECT_TRUE(result.err.contains("tree/away: a link leading out of tree; not followed"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("tree/c/pipe: not a regular file"));
    EXPECT_EQ(read("out/a/b/voice_2.amr").left(5), "#!AMR");
}

TEST_F(CliFoldersTest, ListingsAreTheSameWhateverTheJobsAndCountFilesWithoutRecordings)
{
    makeTree();
    for (int i = 0; i < 12; ++i)
        write(QStringLiteral("tree/c/many_%1.drf").arg(i, 2, 10, QLatin1Char('0')),
              container(1 + i % 4, 10 + i));
    const CliRun one = run({"list", "--json", "-r", "-j", "1", "tree"});
    const CliRun four = run({"list", "--json", "-r", "-j", "4", "tree"});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.out, four.out);
    const QJsonObject root = QJsonDocument::fromJson(one.out).object();
    const QJsonArray containers = root.value("containers").toArray();
    // nothing.bin holds no recording: counted, not listed.
    ASSERT_EQ(containers.size(), 15) << one.outText().toStdString();
    EXPECT_EQ(containers[0].toObject().value("path").toString(), "tree/a/b/voice.drf");
    const QJsonObject summary = root.value("summary").toObject();
    EXPECT_EQ(summary.value("files").toInt(), 16);
    EXPECT_EQ(summary.value("without_recordings").toInt(), 1);
    EXPECT_EQ(summary.value("skipped").toArray().size(), 2);

    const CliRun text1 = run({"list", "-r", "-j", "1", "tree"});
    const CliRun text3 = run({"list", "-r", "-j", "3", "tree"});
    EXPECT_EQ(text1.out, text3.out);
    EXPECT_FALSE(text1.outText().contains("nothing.bin"));
    EXPECT_TRUE(run({"list", "-r", "--verbose", "tree"}).outText().contains("nothing.bin"));

    // Extracting with any count of jobs writes the same bytes.
    ASSERT_EQ(run({"extract", "-r", "-j", "1", "-o", "one", "tree"}).exitCode, 0);
    ASSERT_EQ(run({"extract", "-r", "-j", "4", "-o", "four", "tree"}).exitCode, 0);
    for (const QString &name : QDir(path("one/c")).entryList(QDir::Files))
        EXPECT_EQ(read("one/c/" + name), read("four/c/" + name)) << name.toStdString();
    EXPECT_EQ(QDir(path("one/c")).entryList(QDir::Files).size(), 2 + 30);
}

TEST_F(CliFoldersTest, EveryRealFolderIsWalkedUnderItsOwnNameAndTheOutputFolderIsLeftOut)
{
    QDir(dir.path()).mkpath("in/zone");
    write("in/zone/voice.drf", container(2, 6));
    // A link inside the tree to a folder inside it, sorting before that folder.
    ASSERT_EQ(symlink("zone", path("in/a_link").toLocal8Bit().constData()), 0);
    // Run twice into a folder inside the tree: the second run does not read the first's files.
    for (int round = 0; round < 2; ++round) {
        const CliRun result = run({"extract", "-r", "--force", "-o", "in/out", "in"});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    EXPECT_EQ(tree(path("in/out")), QStringList({"zone", "zone/voice_1.amr", "zone/voice_2.amr"}));

    const CliRun verbose = run({"list", "-r", "--verbose", "in"});
    EXPECT_EQ(verbose.exitCode, 0);
    EXPECT_TRUE(verbose.outText().contains("in/zone/voice.drf: "));
    EXPECT_FALSE(verbose.outText().contains("in/a_link/")) << verbose.outText().toStdString();
    EXPECT_TRUE(verbose.err.contains("in/a_link: a link to ") &&
                verbose.err.contains("looked at under its own name; not followed"))
        << verbose.err.toStdString();
    const CliRun excluded = run({"extract", "-r", "--force", "--verbose", "-o", "in/out", "in"});
    EXPECT_TRUE(excluded.err.contains("in/out: the output folder; not looked at"))
        << excluded.err.toStdString();
}

TEST_F(CliFoldersTest, APrefixIsAFileNameNotAPath)
{
    write("v.drf", container(1, 5));
    for (const char *prefix : {"../x", "/abs/x", "a/b", "..", "."}) {
        const CliRun result = run({"extract", "-o", "out", "--prefix", prefix, "v.drf"});
        EXPECT_EQ(result.exitCode, 2) << prefix;
        EXPECT_TRUE(result.err.contains("is not a file name")) << result.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("x_1.amr")));
    EXPECT_FALSE(QFileInfo::exists(path("out")));
}

} // namespace
