// Ending the window program by a signal, as a logout or a shutdown does, closes its window the
// normal way: the copies read from the phone are removed and the program ends cleanly.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

namespace {

class WindowSignalTest : public ::testing::TestWithParam<int>
{
};

QProcessEnvironment phoneEnvironment(const QString &root)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("P2K_PHONE_ROOT", root);
    environment.insert("P2K_PHONE_READY_DELAY_MS", "0");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The window loads the phone library by its plain name.
    const QString standInDir = QFileInfo(QStringLiteral(STANDIN_LIBRARY_FILE)).path();
    const QString searched = environment.value("LD_LIBRARY_PATH");
    environment.insert("LD_LIBRARY_PATH",
                       searched.isEmpty() ? standInDir : standInDir + ':' + searched);
    return environment;
}

} // namespace

TEST_P(WindowSignalTest, ClosesTheWindowAndRemovesThePhoneCopies)
{
    QTemporaryDir root;
    QTemporaryDir start;
    ASSERT_TRUE(QDir(root.path()).mkpath("a/mobile/mms"));
    QFile phoneFile(root.filePath("a/mobile/mms/voice.drf"));
    ASSERT_TRUE(phoneFile.open(QIODevice::WriteOnly));
    phoneFile.write("#!AMR voice");
    phoneFile.close();

    QProcess window;
    window.setProcessEnvironment(phoneEnvironment(root.path()));
    window.setWorkingDirectory(start.path());
    // Whoever started the tests may have left these signals ignored, which the window keeps.
    window.setChildProcessModifier([] {
        for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
            std::signal(signalNumber, SIG_DFL);
    });
    window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window.start(QStringLiteral(SIGNALLED_WINDOW_PROGRAM), {});
    QByteArray output;
    while (!output.contains("ready\n") && window.waitForReadyRead(30000))
        output += window.readAllStandardOutput();
    ASSERT_TRUE(output.contains("ready\n")) << output.toStdString();
    const QString copy = QDir(start.path()).filePath("voice.drf");
    ASSERT_TRUE(output.contains(copy.toLocal8Bit())) << output.toStdString();
    ASSERT_TRUE(QFile::exists(copy));

    ASSERT_EQ(::kill(static_cast<pid_t>(window.processId()), GetParam()), 0);
    ASSERT_TRUE(window.waitForFinished(30000));
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), 0);
    EXPECT_EQ(QDir(start.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(TerminationSignals, WindowSignalTest,
                         ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(sigabbrev_np(info.param));
                         });
