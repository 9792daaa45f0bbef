// End to end: the real loader, the stand-in library serving a temporary folder, the
// connection on a real timer and the download.
#include "PolledWindow.h"
#include "phone/LoadedPhoneLibrary.h"
#include "phone/PhoneDownloadError.h"
#include "phone/PhoneDownloadJob.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vocafetch;

namespace {

const QString StandIn = QStringLiteral(STANDIN_LIBRARY_FILE);
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");

// The library with the phone's files changed by `change` as soon as they have been listed.
class ChangedAfterListing : public PhoneLibrary
{
public:
    ChangedAfterListing(PhoneLibrary &phone, std::function<void()> change)
        : m_phone(phone), m_change(std::move(change))
    {
    }

    void p2kInit(ConnectCallback callback) override { m_phone.p2kInit(std::move(callback)); }
    int p2kGetStatus() override { return m_phone.p2kGetStatus(); }
    int fileCount() override { return m_phone.fileCount(); }
    void fileList(TPhoneFileEntry *entries, int count) override
    {
        m_phone.fileList(entries, count);
        m_change();
    }
    int fileCreate(const char *path, int mode) override { return m_phone.fileCreate(path, mode); }
    int fileRead(void *buffer, int last, int count) override
    {
        return m_phone.fileRead(buffer, last, count);
    }
    void fileClose() override { m_phone.fileClose(); }

private:
    PhoneLibrary &m_phone;
    std::function<void()> m_change;
};

} // namespace

TEST(StandInPhone, ServesAFolderAsThePhone)
{
    QTemporaryDir root;
    QTemporaryDir start;
    writeFile(root.filePath("a/mobile/mms/голос.drf"), "#!AMR voice");
    writeFile(root.filePath("a/mobile/mms/2024/old.drf"), "#!AMR old");
    writeFile(root.filePath("a/mobile/other.drf"), "outside the phone folder");
    QTemporaryDir card;
    writeFile(card.filePath("card.drf"), "#!AMR card");
    QFile::link(card.path(), root.filePath("a/mobile/mms/card"));
    QFile::link(root.path(), root.filePath("a/mobile/mms/loop"));
    qputenv("P2K_PHONE_ROOT", root.path().toLocal8Bit());
    qputenv("P2K_PHONE_READY_DELAY_MS", "150");

    LoadedPhoneLibrary library({StandIn});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    PolledWindow window(library, start.path(), 100);
    window.connection.begin();
    ASSERT_TRUE(window.waitUntilIdle());

    // The stand-in calls back from a thread of its own; the text arrives on this thread.
    const QString connecting = QStringLiteral("Соединение с телефоном...");
    EXPECT_TRUE(window.onUiThread);
    EXPECT_EQ(window.texts.mid(0, 3),
              QStringList(
                  {connecting, connecting, QStringLiteral("Соединение с телефоном установленно")}));
    EXPECT_GE(window.ticks, 2) << "not ready before its delay";
    EXPECT_EQ(window.texts.last(), QStringLiteral("Все файлы успешно загружены"));
    EXPECT_EQ(window.result.captions, QStringList({"2024/old.drf", "card/card.drf", "голос.drf"}));
    QFile copy(QDir(start.path()).filePath("2024/old.drf"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "#!AMR old");
    copy.close();

    window.copies.removeAll();
    EXPECT_TRUE(QDir(start.path()).isEmpty());
}

TEST(StandInPhone, NeverReadyWithoutItsFolderOrWithoutAnyLibrary)
{
    QTemporaryDir start;
    qputenv("P2K_PHONE_READY_DELAY_MS", "0");
    LoadedPhoneLibrary standIn({StandIn});
    LoadedPhoneLibrary none({QDir(start.path()).filePath("p2kapi")});
    EXPECT_FALSE(none.isLoaded());
    EXPECT_FALSE(none.errorString().isEmpty());

    const QByteArray missing = QDir(start.path()).filePath("missing").toLocal8Bit();
    for (auto [library, root] : {std::pair<PhoneLibrary *, QByteArray>{&standIn, ""},
                                 {&standIn, missing},
                                 {&none, start.path().toLocal8Bit()}}) {
        qputenv("P2K_PHONE_ROOT", root);
        PolledWindow window(*library, start.path(), 1);
        window.connection.begin();
        ASSERT_TRUE(window.waitUntilIdle());
        EXPECT_EQ(window.texts.last(), TimedOut);
        EXPECT_EQ(library->fileCount(), 0);
    }
}

TEST(StandInPhone, LoaderFindsTheLibraryByItsPlainName)
{
    QTemporaryDir beside;
    const QString fileName = QFileInfo(StandIn).fileName();
    ASSERT_TRUE(QFile::copy(StandIn, beside.filePath(fileName)));

    LoadedPhoneLibrary library({QDir(beside.path()).filePath("p2kapi")});
    ASSERT_TRUE(library.isLoaded()) << library.errorString().toStdString();
    EXPECT_EQ(QFileInfo(library.fileName()).path(), beside.path());
}

// A listed file cut short, grown, replaced by a pipe or removed before it is read is refused at
// once: the download stops with an error naming it and no copy of it is left.
TEST(StandInPhone, FilesChangedAfterTheListingAreRefusedWithoutWaiting)
{
    QTemporaryDir root;
    const QString file = root.filePath("a/mobile/mms/x.drf");
    const QByteArray fileName = QFile::encodeName(file);
    qputenv("P2K_PHONE_ROOT", root.path().toLocal8Bit());
    qputenv("P2K_PHONE_READY_DELAY_MS", "0");
    LoadedPhoneLibrary library({StandIn});
    library.p2kInit([] {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.p2kGetStatus() == 1; }, 10000));

    const std::pair<const char *, std::function<void()>> changes[] = {
        {"cut short", [&] { QFile::resize(file, 3); }},
        {"grown", [&] { QFile::resize(file, 100); }},
        {"a pipe",
         [&] {
             QFile::remove(file);
             mkfifo(fileName.constData(), 0600);
         }},
        {"removed", [&] { QFile::remove(file); }},
    };
    for (const auto &[what, change] : changes) {
        SCOPED_TRACE(what);
        QTemporaryDir start;
        QFile::remove(file);
        writeFile(file, "#!AMR voice");
        ChangedAfterListing phone(library, change);
        PhoneCopyRegistry copies;
        vocafetch::PhoneDownloadJob job(phone, start.path(), copies);
        job.start();
        if (!QTest::qWaitFor([&] { return !job.isRunning(); }, 10000)) {
            // A read stuck on the pipe gets its end of file, so that the test can end.
            ::close(::open(fileName.constData(), O_WRONLY | O_NONBLOCK));
            job.stop();
            ADD_FAILURE() << "the download waited on the changed file";
            continue;
        }
        EXPECT_TRUE(job.result().captions.isEmpty());
        EXPECT_EQ(
            QDir(start.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
        try {
            if (job.failure())
                std::rethrow_exception(job.failure());
            ADD_FAILURE() << "copied without an error";
        } catch (const PhoneDownloadError &error) {
            EXPECT_TRUE(error.message().contains("/a/mobile/mms/x.drf")) << error.what();
        }
    }
}
