// Containers read where rescuers read: standard input, pipes and block devices give what a file
// of the same bytes gives.
#include "CliFixture.h"
#include "RecordingGenerator.h"
#include "SampleContainers.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

#include <thread>

using namespace vocafetch;

namespace {

class CliStreamTest : public CliFixture
{
protected:
    // Runs the program with input on its standard input, through a pipe.
    CliRun runFed(const QStringList &arguments, const QByteArray &input)
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(VOCAFETCH_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        CliRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    // The listing with the containers' names taken out.
    static QByteArray unnamed(QByteArray listing)
    {
        return QString::fromUtf8(listing)
            .replace(QRegularExpression(QStringLiteral("\"path\":\"[^\"]*\"")), QString())
            .replace(QRegularExpression(QStringLiteral("^\\S+: (\\d+ bytes)"),
                                        QRegularExpression::MultilineOption),
                     QStringLiteral("\\1"))
            .toUtf8();
    }
    QVector<QByteArray> samples() const
    {
        QVector<QByteArray> all = {RecGen::multipartSample().data(), RecGen::mixedSample().data()};
        const QDir realWorld(QStringLiteral(VOCAFETCH_REALWORLD_DIR "/built"));
        for (const QString &name : realWorld.entryList(QDir::Files, QDir::Name))
            all.append(readFile(realWorld.filePath(name)));
        return all;
    }
};

TEST_F(CliStreamTest, StandardInputListsAsTheFileOfItsBytes)
{
    int k = 0;
    for (const QByteArray &bytes : samples()) {
        write("c.drf", bytes);
        for (const QStringList &options :
             {QStringList{"--json"}, QStringList{}, QStringList{"--json", "--headerless"}}) {
            const CliRun file = run(QStringList{"list"} + options + QStringList{"c.drf"});
            const CliRun fed = runFed(QStringList{"list"} + options + QStringList{"-"}, bytes);
            ASSERT_EQ(file.exitCode, 0) << file.err.toStdString();
            EXPECT_EQ(fed.exitCode, 0) << fed.err.toStdString();
            EXPECT_EQ(unnamed(fed.out), unnamed(file.out))
                << "sample " << k << " " << options.join(' ').toStdString();
        }
        ++k;
    }
    // Standard input redirected from a file is mapped like the file.
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.setStandardInputFile(path("c.drf"));
    process.start(QStringLiteral(VOCAFETCH_CLI_PATH), {"list", "--json", "-"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(unnamed(process.readAllStandardOutput()),
              unnamed(run({"list", "--json", "c.drf"}).out));
}

TEST_F(CliStreamTest, StandardInputExtractsAsStdinAndLeavesNoTemporary)
{
    const QByteArray bytes = RecGen::multipartSample().data();
    write("c.drf", bytes);
    ASSERT_EQ(run({"extract", "--clean", "-o", "fromfile", "c.drf"}).exitCode, 0);
    const CliRun fed = runFed({"extract", "--clean", "-o", "out", "-"}, bytes);
    EXPECT_EQ(fed.exitCode, 0) << fed.err.toStdString();
    const QStringList written = QDir(path("fromfile")).entryList(QDir::Files);
    ASSERT_FALSE(written.isEmpty());
    QStringList expected;
    for (const QString &name : written)
        expected << QString(name).replace("c_", "stdin_");
    // Nothing else is in the folder: the stream's copy went with the run.
    EXPECT_EQ(tree(path("out")), expected);
    for (const QString &name : written)
        EXPECT_EQ(read("out/" + QString(name).replace("c_", "stdin_")), read("fromfile/" + name));

    const CliRun named = runFed({"extract", "--prefix", "voice", "-o", "named", "-", "-"}, bytes);
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_TRUE(named.err.contains("-: standard input is read once; named again"))
        << named.err.toStdString();
    EXPECT_EQ(QDir(path("named")).entryList(QDir::Files).size(), written.size());
}

TEST_F(CliStreamTest, ANamedPipeIsReadOnceItsWriterComesAndOtherDevicesAreRefused)
{
    const QByteArray bytes = RecGen::mixedSample().data();
    write("c.drf", bytes);
    ASSERT_EQ(mkfifo(path("p.drf").toLocal8Bit().constData(), 0600), 0);
    // The writer opens the pipe only after the program has started and waits for it.
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        QFile pipe(path("p.drf"));
        if (pipe.open(QIODevice::WriteOnly))
            pipe.write(bytes);
    });
    const CliRun piped = run({"list", "--json", "p.drf"});
    writer.join();
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_EQ(unnamed(piped.out), unnamed(run({"list", "--json", "c.drf"}).out));

    // A character device is neither mapped nor read: /dev/zero would never end.
    const CliRun device = run({"list", "/dev/zero", "c.drf"});
    EXPECT_EQ(device.exitCode, 1);
    EXPECT_TRUE(device.err.contains("/dev/zero: Cannot open /dev/zero. (Not a regular file, "
                                    "block device or pipe"))
        << device.err.toStdString();
}

// A disk image attached as a loop device reads as the image. Needs root and losetup.
TEST_F(CliStreamTest, ABlockDeviceReadsAsTheImageOnIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root for a loop device";
    QByteArray image = RecGen::multipartSample().data() + RecGen::mixedSample().data();
    image += QByteArray(int((512 - image.size() % 512) % 512), '\xff'); // whole sectors
    write("card.img", image);
    QProcess attach;
    attach.start(QStringLiteral("losetup"), {"--find", "--show", "--read-only", path("card.img")});
    if (!attach.waitForFinished(20000) || attach.exitStatus() != QProcess::NormalExit ||
        attach.exitCode() != 0)
        GTEST_SKIP() << "losetup does not work here: "
                     << attach.readAllStandardError().toStdString();
    const QString device = QString::fromLocal8Bit(attach.readAllStandardOutput()).trimmed();
    const CliRun listed = run({"list", "--json", "--headerless", device});
    const CliRun extracted = run({"extract", "-o", "out", device});
    QProcess::execute(QStringLiteral("losetup"), {"--detach", device});

    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(unnamed(listed.out),
              unnamed(run({"list", "--json", "--headerless", "card.img"}).out));
    EXPECT_EQ(extracted.exitCode, 0) << extracted.err.toStdString();
    ASSERT_EQ(run({"extract", "-o", "fromimage", "card.img"}).exitCode, 0);
    const QString stem = QFileInfo(device).fileName();
    const QStringList written = QDir(path("fromimage")).entryList(QDir::Files);
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files).size(), written.size());
    for (const QString &name : written)
        EXPECT_EQ(read("out/" + QString(name).replace("card_", stem + "_")),
                  read("fromimage/" + name))
            << name.toStdString();
}

} // namespace
