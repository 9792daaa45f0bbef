// Hostile files through the real window, driven headless with scripted dialogs: a container
// that is a link to a pipe or to an endless device, a folder named like a container, a file
// gone before its click, a read failing or the file shrinking under the scan and a disk full while
// saving. Each must end in one clear message through the error boundary, never a hang, no partial
// file, and a window that still opens, scans and saves the next container.
#include "app/MainWindow.h"
#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/io/ContainerSource.h"
#include "skin/style/TsuiFileTheme.h"
#include "skin/style/TsuiUIStyle.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

using namespace vocafetch;

namespace {

// Opens the pipe's other end when the window has not come back in time, so that a window
// blocked on the pipe is released and the test fails instead of hanging.
class PipeWatchdog
{
public:
    explicit PipeWatchdog(const QString &pipe)
        : m_thread([this, path = pipe.toLocal8Bit()] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (m_cv.wait_for(lock, std::chrono::seconds(5), [this] { return m_done; }))
                  return;
              m_released = true;
              const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  ::close(fd);
          })
    {
    }
    // True when the window had to be released.
    bool finish()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_cv.notify_all();
        m_thread.join();
        return m_released;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    std::atomic<bool> m_released{false};
    std::thread m_thread;
};

const QByteArray GoodContainer = containerBytes(3000, {100, 1600}, {80, 1580});

class HostileFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<TForm1>(dialogs);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    void open(const QStringList &paths)
    {
        dialogs.answers << paths;
        QTest::mouseClick(window->suiButton4, Qt::LeftButton);
    }

    void clickContainer(int row)
    {
        QListWidget *list = window->FileDRF;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // Opening a hostile container shows exactly this message and lists no recording.
    void expectRefused(const QString &container, const QString &message)
    {
        open({container});
        clickContainer(0);
        ASSERT_EQ(dialogs.errors.size(), 1);
        EXPECT_EQ(dialogs.errors.first().message, message);
        EXPECT_EQ(window->AMRFiles->model()->rowCount(), 0);
        EXPECT_TRUE(window->AmrStartList.isEmpty());
        dialogs.errors.clear();
    }

    // The window still opens, scans and saves a good container.
    void expectUsable()
    {
        const QString good = writeFile(QDir(dir.path()), QStringLiteral("good.drf"), GoodContainer);
        open({good});
        clickContainer(0);
        EXPECT_EQ(window->statusText(), QStringLiteral("Найдено 2 записей"));
        ASSERT_EQ(window->AMRFiles->model()->rowCount(), 2);
        ASSERT_TRUE(window->suiButton3->isEnabled());
        dialogs.answers << QStringList{path(QStringLiteral("after"))};
        QTest::mouseClick(window->suiButton3, Qt::LeftButton);
        EXPECT_TRUE(dialogs.errors.isEmpty());
        EXPECT_EQ(readFile(path(QStringLiteral("after_1.amr"))), GoodContainer.mid(100, 1500));
        EXPECT_EQ(readFile(path(QStringLiteral("after_2.amr"))), GoodContainer.mid(1600));
    }

    QStringList files() const
    {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

QString notRegular(const QString &path)
{
    return QStringLiteral("Cannot open %1.\r\n(Not a regular file (a pipe, device or socket "
                          "cannot be loaded).)")
        .arg(path);
}

TEST_F(HostileFilesTest, LinkToAPipeIsRefusedAtOnceInsteadOfWaitingForAWriter)
{
    const QString pipe = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(qPrintable(pipe), 0600), 0);
    const QString container = path(QStringLiteral("x.drf"));
    ASSERT_TRUE(QFile::link(pipe, container));

    PipeWatchdog watchdog(pipe);
    expectRefused(container, notRegular(container));
    EXPECT_FALSE(watchdog.finish()) << "the window blocked on the pipe";
    expectUsable();
}

// Names as old phones and Windows code pages wrote them: not UTF-8, yet opened by their bytes.
TEST_F(HostileFilesTest, ContainersNamedInBytesThatAreNotUtf8OpenAndScan)
{
    for (const QByteArray &name :
         {QByteArray("\xc3\xee\xeb\xee\xf1.drf"), QByteArray("lat\xe9.drf")}) {
        SCOPED_TRACE(name.toHex().toStdString());
        const QByteArray raw = QFile::encodeName(dir.path()) + '/' + name;
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, GoodContainer.constData(), size_t(GoodContainer.size())),
                  GoodContainer.size());
        ::close(fd);
        open({vocafetch::nameFromBytes(raw)});
        EXPECT_EQ(window->FileDRF->item(0)->text(),
                  vocafetch::displayName(vocafetch::nameFromBytes(name)));
        EXPECT_TRUE(window->FileDRF->item(0)->text().contains(QChar::ReplacementCharacter));
        clickContainer(0);
        EXPECT_TRUE(dialogs.errors.isEmpty());
        EXPECT_EQ(window->statusText(), QStringLiteral("Найдено 2 записей"));
    }
}

TEST_F(HostileFilesTest, LinkToAnEndlessDeviceIsRefused)
{
    const QString container = path(QStringLiteral("zero.drf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), container));
    expectRefused(container, notRegular(container));
    expectUsable();
}

TEST_F(HostileFilesTest, FolderNamedLikeAContainerIsRefused)
{
    // Opened, a folder lists the files below it: this one becomes a folder once listed.
    const QString container = writeFile(QDir(dir.path()), QStringLiteral("x.drf"), GoodContainer);
    open({container});
    ASSERT_TRUE(QFile::remove(container));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.drf")));
    clickContainer(0);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors.first().message,
              QStringLiteral("Cannot open %1.\r\n(Is a directory.)").arg(container));
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 0);
    dialogs.errors.clear();
    expectUsable();
}

TEST_F(HostileFilesTest, ContainerRemovedAfterListingIsRefusedAndTheOldListGoes)
{
    const QString first = writeFile(QDir(dir.path()), QStringLiteral("first.drf"), GoodContainer);
    const QString gone = writeFile(QDir(dir.path()), QStringLiteral("gone.drf"), GoodContainer);
    open({first, gone});
    clickContainer(0);
    ASSERT_EQ(window->AMRFiles->model()->rowCount(), 2);
    ASSERT_TRUE(QFile::remove(gone));
    clickContainer(1);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors.first().message,
              QStringLiteral("Cannot open %1.\r\n(No such file or directory.)").arg(gone));
    EXPECT_EQ(window->AMRFiles->model()->rowCount(), 0);
    dialogs.errors.clear();
    expectUsable();
}

// Through the window's seam for opening containers: one that fails to be read and one that
// another program empties while the scan reads it.
TEST_F(HostileFilesTest, ContainerFailingOrShrinkingWhileReadLeavesNothingLoaded)
{
    const QString container = writeFile(QDir(dir.path()), QStringLiteral("bad.drf"), GoodContainer);
    const QString failing = QStringLiteral("Cannot open file \"%1\". Input/output error")
                                .arg(QDir::toNativeSeparators(container));
    window->Session.setSourceOpener([](const QString &file) -> std::unique_ptr<ContainerSource> {
        throw FileErrors::cannotOpenFile(file, QStringLiteral("Input/output error"));
    });
    expectRefused(container, failing);
    EXPECT_FALSE(window->suiButton3->isEnabled());

    window->Session.setSourceOpener([](const QString &file) {
        auto source = std::make_unique<ContainerSource>(vocafetch::bytesFromName(file));
        EXPECT_TRUE(QFile::resize(file, 0));
        return source;
    });
    expectRefused(container,
                  QStringLiteral("Файл \"%1\" изменился, пока его читали").arg(container));
    EXPECT_FALSE(window->suiButton3->isEnabled());

    window->Session.setSourceOpener({});
    expectUsable();
}

TEST_F(HostileFilesTest, FullDiskWhileSavingLeavesNoPartialFileAndTheOldOneIntact)
{
    const QString container = writeFile(QDir(dir.path()), QStringLiteral("c.drf"), GoodContainer);
    const QString first = writeFile(QDir(dir.path()), QStringLiteral("rec_1.amr"), "old");
    open({container});
    clickContainer(0);
    ASSERT_EQ(window->AMRFiles->model()->rowCount(), 2);
    const QStringList before = files();

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit full = saved;
    full.rlim_cur = 1000; // less than either recording
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    dialogs.answers << QStringList{path(QStringLiteral("rec"))};
    dialogs.replaceAnswers << true;
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    ASSERT_EQ(dialogs.errors.size(), 1) << "saved anyway: " << files().join(u' ').toStdString();
    EXPECT_TRUE(dialogs.errors.first().message.startsWith(
        QStringLiteral("Cannot create file \"%1\". ").arg(QDir::toNativeSeparators(first))))
        << dialogs.errors.first().message.toStdString();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(readFile(first), QByteArray("old"));
    dialogs.errors.clear();
    expectUsable();
}

TEST(HostileThemeTest, BitmapsNamingAPipeOrAnEndlessDeviceAreSkippedWithoutBlocking)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    ASSERT_EQ(::mkfifo(qPrintable(folder.filePath(QStringLiteral("pipe"))), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), folder.filePath(QStringLiteral("zero"))));
    QImage real(2, 2, QImage::Format_RGB32);
    real.fill(Qt::red);
    ASSERT_TRUE(real.save(folder.filePath(QStringLiteral("real.png"))));
    const QString theme = writeFile(folder, QStringLiteral("t.theme"),
                                    "[Bitmaps]\nButtonImage=pipe\nCheckBoxImage=zero\n"
                                    "TitleBarButtonImage=real.png\n");

    TsuiFileTheme fileTheme;
    PipeWatchdog watchdog(folder.filePath(QStringLiteral("pipe")));
    ASSERT_TRUE(fileTheme.loadThemeFile(theme));
    EXPECT_FALSE(watchdog.finish()) << "the theme blocked on the pipe";
    QImage button, checkBox, titleButton;
    fileTheme.ReadBitmap(StyleEntry::ButtonImage, &button);
    fileTheme.ReadBitmap(StyleEntry::CheckBoxImage, &checkBox);
    fileTheme.ReadBitmap(StyleEntry::TitleBarButtonImage, &titleButton);
    EXPECT_TRUE(button.isNull() && checkBox.isNull());
    EXPECT_EQ(titleButton.size(), QSize(2, 2));
}

} // namespace
