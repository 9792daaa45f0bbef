// End to end: the real loader, the stand-in library serving a temporary folder, the
// connection on a real timer and the download.
#include "LoadedPhoneLibrary.h"
#include "PhoneConnection.h"
#include "PhoneCopyRegistry.h"
#include "PhoneDownload.h"
#include "WaitForIdle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Connecting = QStringLiteral("Соединение с телефоном...");
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");

void writeFile(const QString &path, const QByteArray &bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The window's side in miniature: the timer drives the connection, a ready phone downloads.
class Window
{
public:
    Window(PhoneLibrary &library, const QString &startDir, int intervalMs)
        : library(library), startDir(startDir)
    {
        timer.setInterval(intervalMs);
        QObject::connect(&connection, &PhoneConnection::statusTextChanged,
                         [this](const QString &text) { showStatus(text); });
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (connection.poll() == PhoneConnection::PollResult::Ready)
                download();
        });
    }

    bool waitUntilIdle() { return waitUntilStopped(timer); }

    PhoneLibrary &library;
    QString startDir;
    QTimer timer;
    PhoneConnection connection{library, timer};
    PhoneCopyRegistry copies;
    PhoneDownloadResult result;
    QStringList texts;
    bool onUiThread = true;

private:
    void showStatus(const QString &text)
    {
        texts << text;
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
    }

    void download()
    {
        PhoneDownload download(library, startDir, copies,
                               [this](const QString &text) { showStatus(text); });
        download.run();
        result = download.result();
    }
};

} // namespace

TEST(StandInPhone, ServesAFolderAsThePhoneThroughTheLoader)
{
    QTemporaryDir root;
    QTemporaryDir start;
    writeFile(root.filePath("a/mobile/mms/voice.drf"), "#!AMR voice");
    writeFile(root.filePath("a/mobile/mms/2024/old.drf"), "#!AMR old");
    writeFile(root.filePath("a/mobile/other.drf"), "not a container of the phone folder");
    qputenv("P2K_PHONE_ROOT", root.path().toLocal8Bit());
    qputenv("P2K_PHONE_READY_DELAY_MS", "150");

    LoadedPhoneLibrary library({QStringLiteral(STANDIN_LIBRARY_FILE)});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    Window window(library, start.path(), 100);
    window.connection.begin();
    ASSERT_TRUE(window.waitUntilIdle());

    // The stand-in calls back from a thread of its own; the text arrives on this thread.
    EXPECT_TRUE(window.onUiThread);
    EXPECT_EQ(window.texts.mid(0, 3),
              QStringList(
                  {Connecting, Connecting, QStringLiteral("Соединение с телефоном установленно")}));
    EXPECT_EQ(window.texts.last(), QStringLiteral("Все файлы успешно загружены"));
    EXPECT_EQ(window.result.captions, QStringList({"2024/old.drf", "voice.drf"}));
    QFile copy(QDir(start.path()).filePath("2024/old.drf"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "#!AMR old");
    copy.close();

    window.copies.removeAll();
    EXPECT_TRUE(QDir(start.path()).isEmpty());
}

TEST(StandInPhone, NeverReadyWithoutItsFolder)
{
    QTemporaryDir start;
    qputenv("P2K_PHONE_READY_DELAY_MS", "0");
    LoadedPhoneLibrary library({QStringLiteral(STANDIN_LIBRARY_FILE)});
    ASSERT_TRUE(library.isLoaded());

    for (const QByteArray &root :
         {QByteArray(), QDir(start.path()).filePath("missing").toLocal8Bit()}) {
        qputenv("P2K_PHONE_ROOT", root);
        Window window(library, start.path(), 1);
        window.connection.begin();
        ASSERT_TRUE(window.waitUntilIdle());
        EXPECT_EQ(window.texts.last(), TimedOut);
        EXPECT_EQ(library.fileCount(), 0);
    }
}

TEST(StandInPhone, WithoutAnyLibraryTheConnectionTimesOut)
{
    QTemporaryDir start;
    LoadedPhoneLibrary library({QDir(start.path()).filePath("p2kapi")});
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.errorString().isEmpty());

    Window window(library, start.path(), 1);
    window.connection.begin();
    ASSERT_TRUE(window.waitUntilIdle());
    EXPECT_EQ(window.texts, QStringList({Connecting, TimedOut}));
    EXPECT_EQ(library.fileCount(), 0);
}

TEST(StandInPhone, LoaderFindsTheLibraryByItsPlainName)
{
    QTemporaryDir beside;
    const QString fileName = QFileInfo(QStringLiteral(STANDIN_LIBRARY_FILE)).fileName();
    ASSERT_TRUE(QFile::copy(QStringLiteral(STANDIN_LIBRARY_FILE), beside.filePath(fileName)));

    LoadedPhoneLibrary library({QDir(beside.path()).filePath("p2kapi")});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    EXPECT_EQ(QFileInfo(library.fileName()).path(), beside.path());
}
