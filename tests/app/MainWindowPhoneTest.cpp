#include "app/MainWindow.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"
#include "support/FakePhoneLibrary.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace vocafetch;

namespace {

const QString Connecting = QStringLiteral("Соединение с телефоном...");
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");
const QString AllDone = QStringLiteral("Все файлы успешно загружены");
const QString NothingFound = QStringLiteral("Не найдено файлов DRF");

QStringList texts(const QListWidget *list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

// The window with a scripted phone, its start folder inside a temporary folder so that
// anything written outside it shows.
class MainWindowPhoneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(outer.path()).mkdir("start"));
        auto library = std::make_unique<FakePhoneLibrary>();
        phone = library.get();
        phone->statuses = {1};
        window = std::make_unique<TForm1>(dialogs, std::move(library));
        window->StartDir = startDir();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString startDir() const { return outer.filePath("start"); }
    QString local(const QString &name) const { return QDir(startDir()).filePath(name); }

    // Until the attempt has ended and a download it started has been listed.
    bool waitUntilIdle()
    {
        return QTest::qWaitFor(
            [this] { return !window->Timer1->isActive() && !window->isReadingPhone(); }, 20000);
    }

    // Presses "Считать с телефона" on a fast timer and waits until the attempt has ended.
    void readPhone()
    {
        window->Timer1->setInterval(1);
        QTest::mouseClick(window->suiButton1, Qt::LeftButton);
        ASSERT_TRUE(waitUntilIdle());
    }

    QTemporaryDir outer;
    FakeDialogs dialogs;
    FakePhoneLibrary *phone = nullptr;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowPhoneTest, ReadyAtTheFirstTickDownloadsOneTickAfterThePress)
{
    phone->addFile("/a/mobile/mms/a.drf", "0123456789");
    phone->addFile("/a/mobile/mms2/b.drf", "bbb");
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window->suiButton1, Qt::LeftButton);
    EXPECT_EQ(window->statusText(), Connecting);
    EXPECT_EQ(phone->initCalls, 1);
    EXPECT_EQ(phone->statusCalls, 0) << "the first poll waits for the first tick";
    EXPECT_EQ(window->Timer1->interval(), 100);

    ASSERT_TRUE(waitUntilIdle());
    EXPECT_GE(clock.elapsed(), 90);
    EXPECT_EQ(window->statusText(), AllDone);
    EXPECT_EQ(texts(window->FileDRF), QStringList{"a.drf"});
    EXPECT_EQ(window->DrfPathList, QStringList{local("a.drf")});
    EXPECT_EQ(window->PhoneNameList, QStringList{"a.drf"});
    EXPECT_EQ(window->PhoneSizeList, QStringList{"10"});
    EXPECT_EQ(readFile(local("a.drf")), "0123456789");
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowPhoneTest, NeverReadyIsAskedFiftyTimesAndEachPressRestartsTheCount)
{
    phone->statuses = {0};
    const QString opened = writeFile(QDir(outer.path()), "opened.drf", "x");
    dialogs.answers << QStringList{opened};
    QTest::mouseClick(window->suiButton4, Qt::LeftButton);

    readPhone();
    EXPECT_EQ(phone->statusCalls, 50);
    EXPECT_EQ(window->statusText(), TimedOut);
    EXPECT_EQ(texts(window->FileDRF), QStringList{"opened.drf"}) << "nothing else changes";
    QTest::qWait(20);
    EXPECT_EQ(phone->statusCalls, 50) << "the timer stays off";

    // Pressed again, through the menu item, in the middle of an attempt.
    QTest::mouseClick(window->suiButton1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return phone->statusCalls >= 70; }, 10000));
    const int askedBefore = phone->statusCalls;
    window->N7->trigger();
    EXPECT_EQ(phone->initCalls, 3);
    EXPECT_EQ(window->statusText(), Connecting);
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(phone->statusCalls, askedBefore + 50);
    EXPECT_EQ(window->statusText(), TimedOut);

    // A library calling back from a thread of its own reaches the status line.
    phone->callBackFromOtherThread();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->statusText(), Connecting);
}

TEST_F(MainWindowPhoneTest, SaveDialogProposesTheLastFileAndCopiesScanLikeContainers)
{
    phone->addFile("/a/mobile/mms/x.drf", containerBytes(30, {0}));
    phone->addFile("/a/mobile/mms/sub/voice.drf", containerBytes(40, {0, 20}));
    readPhone();
    ASSERT_EQ(texts(window->FileDRF), QStringList({"x.drf", "sub/voice.drf"}));

    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {},
                      window->FileDRF->visualItemRect(window->FileDRF->item(1)).center());
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 2);
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].fileName, "voice");
}

TEST_F(MainWindowPhoneTest, SecondReadReplacesTheListsAndCloseRemovesEveryCopy)
{
    phone->addFile("/a/mobile/mms/a.drf", "a");
    phone->addFile("/a/mobile/mms/b.drf", "b");
    readPhone();
    phone->entries.clear();
    phone->addFile("/a/mobile/mms/c.drf", "c");
    readPhone();
    EXPECT_EQ(texts(window->FileDRF), QStringList{"c.drf"});
    EXPECT_EQ(window->DrfPathList, QStringList{local("c.drf")});
    EXPECT_EQ(window->PhoneNameList, QStringList{"c.drf"});

    phone->entries.clear();
    readPhone();
    EXPECT_EQ(window->FileDRF->count(), 0);
    EXPECT_TRUE(window->DrfPathList.isEmpty());
    EXPECT_EQ(window->statusText(), NothingFound);

    EXPECT_EQ(tree(startDir()), QStringList({"a.drf", "b.drf", "c.drf"}));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(tree(startDir()), QStringList());
}

TEST_F(MainWindowPhoneTest, FilesOfTheUserAreNeverOverwrittenNorDeletedAtClose)
{
    writeFile(QDir(startDir()), "a.drf", "mine");
    ASSERT_TRUE(QDir(startDir()).mkdir("kept"));
    writeFile(QDir(startDir()), "kept/user.drf", "user");
    phone->addFile("/a/mobile/mms/a.drf", "phone");
    phone->addFile("/a/mobile/mms/sub/deep/x.drf", "x");
    phone->addFile("/a/mobile/mms/kept/y.drf", "y");
    const QStringList copies{"a (1).drf", "sub/deep/x.drf", "kept/y.drf"};
    readPhone();
    EXPECT_EQ(texts(window->FileDRF), copies);
    EXPECT_EQ(window->DrfPathList.first(), local("a (1).drf"));
    EXPECT_EQ(readFile(local("a (1).drf")), "phone");

    // Reading the same phone again refreshes the same copies.
    phone->contents.insert("/a/mobile/mms/a.drf", "newer");
    readPhone();
    EXPECT_EQ(texts(window->FileDRF), copies);
    EXPECT_EQ(readFile(local("a (1).drf")), "newer");
    EXPECT_EQ(readFile(local("a.drf")), "mine");
    EXPECT_EQ(tree(startDir()), QStringList({"a (1).drf", "a.drf", "kept", "kept/user.drf",
                                             "kept/y.drf", "sub", "sub/deep", "sub/deep/x.drf"}));

    // A container opened from disk that bears a phone file's name stays too.
    const QString opened = writeFile(QDir(startDir()), "y.drf", "opened");
    dialogs.answers << QStringList{opened};
    QTest::mouseClick(window->suiButton4, Qt::LeftButton);
    window->PhoneNameList << "y.drf"
                          << "kept/user.drf";

    EXPECT_TRUE(window->close());
    EXPECT_EQ(tree(startDir()), QStringList({"a.drf", "kept", "kept/user.drf", "y.drf"}));
    EXPECT_EQ(readFile(local("a.drf")), "mine");
}

TEST_F(MainWindowPhoneTest, Cp1251NamesAreShownAndStoredAsText)
{
    phone->addFile("/a/mobile/mms/\xC3\xEE\xEB\xEE\xF1.drf", containerBytes(30, {0}));
    readPhone();
    const QString name = QStringLiteral("Голос.drf");
    EXPECT_EQ(texts(window->FileDRF), QStringList{name});
    EXPECT_EQ(window->DrfPathList, QStringList{local(name)});
    EXPECT_EQ(tree(startDir()), QStringList{name});

    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {},
                      window->FileDRF->visualItemRect(window->FileDRF->item(0)).center());
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 1);
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].fileName, QStringLiteral("Голос"));
}

TEST_F(MainWindowPhoneTest, NamesThatCouldLeaveTheStartFolderAreSkipped)
{
    for (const char *name : {"../x.drf", "/etc/x.drf", "sub/../../x.drf", "a\\..\\x.drf", ""})
        phone->addFile(QByteArray("/a/mobile/mms/") + name, "evil");
    phone->addFile("/a/mobile/mms/ok.drf", "fine");
    readPhone();
    EXPECT_EQ(texts(window->FileDRF), QStringList{"ok.drf"});
    EXPECT_EQ(window->PhoneNameList, QStringList{"ok.drf"});
    EXPECT_EQ(phone->created, QList<QByteArray>{"/a/mobile/mms/ok.drf"});
    EXPECT_EQ(tree(outer.path()), QStringList({"start", "start/ok.drf"}));
}

TEST_F(MainWindowPhoneTest, FailedCopyIsShownNamingTheFileAndTheWindowStaysUsable)
{
    writeFile(QDir(startDir()), "sub", "a file where a folder is needed");
    phone->addFile("/a/mobile/mms/a.drf", "a");
    phone->addFile("/a/mobile/mms/sub/x.drf", "x");
    phone->addFile("/a/mobile/mms/c.drf", "c");
    readPhone();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0].caption, "Vocafetch");
    EXPECT_TRUE(dialogs.errors[0].message.contains("sub/x.drf"))
        << dialogs.errors[0].message.toStdString();
    EXPECT_EQ(texts(window->FileDRF), QStringList{"a.drf"});
    EXPECT_EQ(window->DrfPathList, QStringList{local("a.drf")});
    EXPECT_EQ(window->statusText(), QStringLiteral("Чтение файла 1/3"));
    EXPECT_EQ(phone->closeCalls, 2);
    EXPECT_TRUE(window->suiButton1->isEnabled());

    QFile::remove(local("sub"));
    readPhone();
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(texts(window->FileDRF), QStringList({"a.drf", "sub/x.drf", "c.drf"}));
    EXPECT_EQ(window->statusText(), AllDone);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(tree(startDir()), QStringList());
}

// The phone's files are copied off the window's thread: while a read is held the window still
// answers, reading the phone cannot start again, and closing ends the download and removes
// every copy.
TEST_F(MainWindowPhoneTest, WindowStaysUsableWhileCopyingAndCloseRemovesTheCopies)
{
    QSemaphore gate;
    std::atomic<int> readsStarted{0};
    phone->duringRead = [&] {
        ++readsStarted;
        // Bounded, so that a read on the waiting thread itself fails the test instead of
        // hanging it.
        gate.tryAcquire(1, 10000);
    };
    phone->addFile("/a/mobile/mms/a.drf", "a");
    phone->addFile("/a/mobile/mms/b.drf", "b");
    window->Timer1->setInterval(1);
    QTest::mouseClick(window->suiButton1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readsStarted == 1; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->statusText() == QStringLiteral("Получение списка файлов..."); }));
    EXPECT_TRUE(window->isReadingPhone());
    EXPECT_FALSE(window->suiButton1->isEnabled());
    EXPECT_FALSE(window->N7->isEnabled());
    window->N7->trigger();
    EXPECT_EQ(phone->initCalls, 1) << "no second attempt while copying";

    const QString opened = writeFile(QDir(outer.path()), "opened.drf", "x");
    dialogs.answers << QStringList{opened};
    QTest::mouseClick(window->suiButton4, Qt::LeftButton);
    EXPECT_EQ(texts(window->FileDRF), QStringList{"opened.drf"});

    std::thread releaser([&] { gate.release(2); });
    EXPECT_TRUE(window->close());
    releaser.join();
    EXPECT_EQ(tree(startDir()), QStringList());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->statusText(), QStringLiteral("Получение списка файлов..."))
        << "nothing of the stopped download arrives later";
    EXPECT_EQ(texts(window->FileDRF), QStringList{"opened.drf"});
    EXPECT_TRUE(window->suiButton1->isEnabled());
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

} // namespace
