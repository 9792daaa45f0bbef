// vocafetch-cli against a hostile world: links at output names, two extractions racing into
// one folder, few descriptors, runs killed half-way and containers rewritten while they are read.
#include "CliFixture.h"
#include "SampleContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace vocafetch;

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

TEST_F(CliSafetyTest, AnyCountOfJobsWorksWithinTheUsualOpenFileLimit)
{
    // Containers of many recordings: every container saved at once keeps files waiting.
    QStringList containers;
    for (int c = 0; c < 3; ++c) {
        SampleGen::Random random(20 + c);
        QVector<QByteArray> parts;
        for (int k = 0; k < 600; ++k)
            parts.append(SampleGen::amrRecording(1, 7, random));
        containers << QStringLiteral("c%1.drf").arg(c);
        write(containers.last(), SampleGen::container(parts, random).bytes);
    }
    for (const char *jobs : {"3", "16"}) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setChildProcessModifier([] {
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        });
        process.start(
            QStringLiteral(VOCAFETCH_CLI_PATH),
            QStringList{"extract", "-q", "-j", jobs, "-o", QStringLiteral("out%1").arg(jobs)} +
                containers);
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0) << jobs << process.readAllStandardError().toStdString();
        EXPECT_EQ(QDir(path(QStringLiteral("out%1").arg(jobs))).entryList(QDir::Files).size(),
                  3 * 600)
            << jobs;
    }
}

TEST_F(CliSafetyTest, TemporariesOfKilledRunsGoWithTheNextRunAndLiveOnesStay)
{
    write("v.drf", container(60, 5));
    QDir(dir.path()).mkpath("out");
    write("out/.vocafetch-00000000deadbeef.tmp", "a copy a killed run left");
    write("out/.vocafetch-0000000012345678.tmp", "a copy another save is writing");
    write("out/.vocafetch-notours.tmp", "not a name we give");
    // The other save holds the lock a writer keeps on its temporary.
    const int held = ::open(path("out/.vocafetch-0000000012345678.tmp").toLocal8Bit().constData(),
                            O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Runs that replace the files, killed at once or part of the way through.
    for (int kill = 0; kill < 16; ++kill) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(VOCAFETCH_CLI_PATH),
                      {"extract", "-q", "--force", "-o", "out", "v.drf"});
        ASSERT_TRUE(process.waitForStarted());
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * kill));
        process.kill();
        process.waitForFinished();
    }
    const CliRun last = run({"extract", "--force", "-o", "out", "v.drf"});
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    const QStringList hidden = QDir(path("out")).entryList({".*"}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(hidden, QStringList({".vocafetch-0000000012345678.tmp", ".vocafetch-notours.tmp"}));
    EXPECT_EQ(QDir(path("out")).entryList({"*.amr"}, QDir::Files).size(), 60);
    ::close(held);
}

TEST_F(CliSafetyTest, AContainerRewrittenWhileItIsReadFailsAndNothingMixedIsPlaced)
{
    // Two versions of one container: the same size and recording starts, other bytes.
    SampleGen::Random random(9);
    QVector<QByteArray> parts;
    for (int k = 0; k < 300; ++k)
        parts.append(SampleGen::amrRecording(300, 7, random));
    const SampleGen::Layout layout = SampleGen::container(parts, random);
    const QByteArray first = layout.bytes;
    QByteArray second = first;
    for (int k = 0; k < layout.recordingStarts.size(); ++k)
        for (int at = layout.recordingStarts[k] + 8;
             at < layout.recordingStarts[k] + layout.recordingSizes[k]; ++at)
            second[at] = char(second[at] ^ 0x80);
    write("v.drf", second);
    const QJsonArray secondListed = listedRecordings(run({"list", "--json", "v.drf"}).out);
    write("v.drf", first);
    ASSERT_EQ(listedRecordings(run({"list", "--json", "v.drf"}).out).size(), 300);
    for (int k = 0; k < 300; ++k)
        ASSERT_EQ(secondListed[k].toObject().value("offset").toInt(), layout.recordingStarts[k]);

    // Rewritten in place, over and over, while extractions run.
    std::atomic<bool> stop{false};
    std::thread rewriter([&] {
        for (int round = 0; !stop; ++round) {
            QFile file(path("v.drf"));
            if (file.open(QIODevice::ReadWrite))
                file.write(round % 2 ? first : second);
            file.close();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    int changed = 0;
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        const QString out = QStringLiteral("out%1").arg(round);
        const CliRun result = run({"extract", "-q", "-o", out, "v.drf"});
        // Every file placed is one version's recording, and a run that reports success
        // wrote every file from one version.
        int fromFirst = 0, fromSecond = 0;
        const QStringList names = QDir(path(out)).entryList(QDir::Files);
        for (const QString &name : names) {
            const int k = name.mid(2).section('.', 0, 0).toInt() - 1;
            const QByteArray bytes = read(out + '/' + name);
            const bool isFirst =
                bytes == first.mid(layout.recordingStarts[k], layout.recordingSizes[k]);
            const bool isSecond =
                bytes == second.mid(layout.recordingStarts[k], layout.recordingSizes[k]);
            EXPECT_TRUE(isFirst || isSecond) << name.toStdString();
            fromFirst += isFirst;
            fromSecond += isSecond;
        }
        if (result.exitCode == 0) {
            EXPECT_EQ(names.size(), 300);
            EXPECT_TRUE(fromFirst == 0 || fromSecond == 0) << fromFirst << " " << fromSecond;
        } else {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_TRUE(result.err.contains("changed")) << result.err.toStdString();
            ++changed;
        }
    }
    stop = true;
    rewriter.join();
    EXPECT_GT(changed, 0);
}

} // namespace
