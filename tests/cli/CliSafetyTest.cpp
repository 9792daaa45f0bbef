// vocafetch-cli against a hostile world: pipes given as containers, links at output names, and
// two extractions racing into one folder.
#include "CliFixture.h"
#include "SampleContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class CliSafetyTest : public CliFixture
{
protected:
    QByteArray container(int recordings, quint32 seed)
    {
        SampleGen::Random random(seed);
        QVector<QByteArray> parts;
        for (int k = 0; k < recordings; ++k)
            parts.append(SampleGen::amrRecording(30 + 5 * k, 7, random));
        return SampleGen::container(parts, random).bytes;
    }
    void link(const char *target, const QString &name)
    {
        ASSERT_EQ(symlink(target, path(name).toLocal8Bit().constData()), 0);
    }
};

TEST_F(CliSafetyTest, APipeAmongTheContainersIsRefusedAtOnce)
{
    write("ok.drf", container(2, 1));
    ASSERT_EQ(mkfifo(path("f.drf").toLocal8Bit().constData(), 0600), 0);
    for (const char *command : {"list", "extract"}) {
        // No writer ever opens the pipe: waiting for one would never return.
        const CliRun result = run({command, "f.drf", "ok.drf"});
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_TRUE(result.err.contains("f.drf: Cannot open f.drf. (Not a regular file"))
            << result.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(path("ok_2.amr")));
}

TEST_F(CliSafetyTest, NothingIsWrittenThroughALinkAtAnOutputName)
{
    write("v.drf", container(2, 2));
    QDir(dir.path()).mkpath("out");
    QDir(dir.path()).mkpath("victim");
    write("victim/kept.txt", "mine");
    link("../victim/new.txt", "out/v_1.amr"); // dangling
    link("../victim/kept.txt", "out/v_2.amr");

    CliRun result = run({"extract", "-o", "out", "v.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("exists; nothing written")) << result.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("victim/new.txt")));

    // --force replaces the links themselves; what they pointed at stays as it was.
    result = run({"extract", "--force", "-o", "out", "v.drf"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_FALSE(QFileInfo(path("out/v_1.amr")).isSymLink());
    EXPECT_FALSE(QFileInfo(path("out/v_2.amr")).isSymLink());
    EXPECT_TRUE(read("out/v_1.amr").startsWith("#!AMR"));
    EXPECT_FALSE(QFileInfo::exists(path("victim/new.txt")));
    EXPECT_EQ(read("victim/kept.txt"), "mine");
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST_F(CliSafetyTest, TwoExtractionsIntoOneFolderNeverBothWriteAName)
{
    const QByteArray first = container(40, 3);
    const QByteArray second = container(40, 4);
    QDir(dir.path()).mkpath("a");
    QDir(dir.path()).mkpath("b");
    write("a/voice.drf", first);
    write("b/voice.drf", second);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        QDir(path("out")).removeRecursively();
        QProcess one, two;
        for (QProcess *p : {&one, &two})
            p->setWorkingDirectory(dir.path());
        one.start(QStringLiteral(VOCAFETCH_CLI_PATH), {"extract", "-o", "out", "a/voice.drf"});
        two.start(QStringLiteral(VOCAFETCH_CLI_PATH), {"extract", "-o", "out", "b/voice.drf"});
        ASSERT_TRUE(one.waitForFinished(60000) && two.waitForFinished(60000));
        // Each name holds one container's recording, never a mix, and a run that reports
        // success wrote every one of its files.
        const QStringList names = QDir(path("out")).entryList(QDir::Files);
        EXPECT_EQ(names.size(), 40);
        int fromFirst = 0;
        for (const QString &name : names) {
            const QByteArray bytes = read("out/" + name);
            const bool inFirst = first.contains(bytes), inSecond = second.contains(bytes);
            EXPECT_TRUE(inFirst != inSecond) << name.toStdString();
            fromFirst += inFirst;
        }
        EXPECT_TRUE(one.exitCode() != 0 || fromFirst == 40);
        EXPECT_TRUE(two.exitCode() != 0 || fromFirst == 0);
        EXPECT_FALSE(one.exitCode() == 0 && two.exitCode() == 0);
    }
}

} // namespace
