#include "app/MainWindow.h"
#include "ListRows.h"
#include "app/BackgroundWork.h"
#include "skin/controls/SkinnedStatusBar.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace vocafetch;

namespace {

const QString ClipboardText = QStringLiteral("the user's own clipboard text");

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<TForm1>(dialogs);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeFile(QDir(dir.path()), name, bytes);
    }

    void openContainers(const QStringList &paths)
    {
        dialogs.answers << paths;
        QTest::mouseClick(window->suiButton4, Qt::LeftButton);
    }

    // Opens one container and clicks it.
    void loadContainer(const QByteArray &bytes, const QString &name = QStringLiteral("c.drf"))
    {
        openContainers({write(name, bytes)});
        clickRow(window->FileDRF, 0);
    }

    // Opens the recording list's pop-up menu through a context-menu event, as a right click
    // does, and returns whether it showed.
    bool openPopup()
    {
        QWidget *viewport = window->AMRFiles->viewport();
        const QPoint pos(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
        QApplication::sendEvent(viewport, &event);
        const bool shown = window->suiPopupMenu1->isVisible();
        window->suiPopupMenu1->close();
        return shown;
    }

    QStringList texts(const QAbstractItemView *list) const { return rowTexts(list); }

    QString target(const QString &name) const { return QDir(dir.path()).filePath(name); }

    QStringList writtenRecordings() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*.amr")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, ControlsSitAtTheirPlacesInTheirStartingStates)
{
    EXPECT_EQ(window->size(), QSize(317, 272));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window->windowTitle(), "Vocafetch");
    EXPECT_EQ(window->frameGeometry().center(), window->screen()->availableGeometry().center());

    EXPECT_EQ(window->suiForm1->geometry(), QRect(3, 0, 311, 269));
    EXPECT_EQ(window->FileDRF->geometry(), QRect(8, 64, 145, 113));
    EXPECT_EQ(window->AMRFiles->geometry(), QRect(160, 64, 145, 113));
    EXPECT_EQ(window->StatusBar1->geometry(), QRect(0, 250, 311, 19));
    // The status line's flat top edge in the lists' border colour.
    EXPECT_EQ(window->StatusBar1->grab().toImage().pixelColor(150, 0), QColor(0x68, 0x68, 0x68));
    const std::pair<QAbstractButton *, QRect> buttons[] = {
        {window->suiButton4, QRect(8, 184, 145, 27)},
        {window->suiButton1, QRect(8, 216, 145, 27)},
        {window->suiButton2, QRect(160, 184, 145, 27)},
        {window->suiButton3, QRect(160, 216, 145, 27)}};
    for (const auto &[button, geometry] : buttons) {
        EXPECT_EQ(button->geometry(), geometry) << button->text().toStdString();
        EXPECT_EQ(button->icon().actualSize(QSize(16, 16)), QSize(16, 16));
    }
    EXPECT_EQ(window->statusText(), "Vocafetch");
    EXPECT_EQ(window->FileDRF->font().pixelSize(), 13);
    EXPECT_EQ(window->font().pixelSize(), 11);

    EXPECT_FALSE(window->suiButton2->isEnabled());
    EXPECT_FALSE(window->suiButton3->isEnabled());
    EXPECT_TRUE(window->AMR1->isEnabled());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(window->Timer1->interval(), 100);
    EXPECT_EQ(window->StartDir, QDir::currentPath());
    EXPECT_EQ(window->N1->actions(),
              QList<QAction *>({window->N2, window->AMR1, window->CleanCut1, window->Headerless1,
                                window->N7, window->N3, window->Dsjl1}));
}

TEST_F(MainWindowTest, ItemsShowTheirPicturesOnTheFramesColour)
{
    loadContainer(containerBytes(30, {0}));
    const auto sameImage = [](const QIcon &icon, const QPixmap &picture) {
        return icon.pixmap(16, 16).toImage() == picture.toImage();
    };
    EXPECT_TRUE(sameImage(window->FileDRF->item(0)->icon(), window->ImageList1.picture(0)));
    EXPECT_TRUE(sameImage(rowIcon(window->AMRFiles, 0), window->ImageList2.picture(0)));

    // Between the menu bar and the lists only the frame shows.
    const QImage frame = window->suiForm1->grab().toImage();
    EXPECT_EQ(frame.pixelColor(150, 40), QColor(239, 235, 222));
}

TEST_F(MainWindowTest, OpeningListsTheFilesInOrderByBareNameAndReplacesTheList)
{
    const QString first = write("b.drf", "x");
    const QString second = write("a=1.drf", "x");
    const QString third = write("c.drf", "x");
    openContainers({first, second, third});
    EXPECT_EQ(texts(window->FileDRF), QStringList({"b.drf", "a=1.drf", "c.drf"}));
    EXPECT_EQ(window->DrfPathList, QStringList({first, second, third}));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].mode, FileDialogRequest::Mode::Open);
    // Containers first, then every file: a container need not be named *.drf.
    EXPECT_EQ(dialogs.requests[0].filter, "*.drf;;Все файлы (*)");
    EXPECT_TRUE(dialogs.requests[0].multiSelect);

    openContainers({third});
    EXPECT_EQ(texts(window->FileDRF), QStringList({"c.drf"}));
    EXPECT_EQ(window->DrfPathList, QStringList({third}));

    openContainers({}); // cancelled
    EXPECT_EQ(texts(window->FileDRF), QStringList({"c.drf"}));
    EXPECT_EQ(window->DrfPathList, QStringList({third}));
}

TEST_F(MainWindowTest, ClickingAContainerScansItAndOpeningKeepsTheLoadedOne)
{
    loadContainer(containerBytes(300, {10, 100, 200}, {40, 140}));
    EXPECT_EQ(texts(window->AMRFiles),
              QStringList({"Запись_1.amr", "Запись_2.amr", "Запись_3.amr"}));
    EXPECT_EQ(window->statusText(), "Найдено 3 записей");
    EXPECT_EQ(window->AmrStartList, QVector<qint64>({10, 100, 200}));
    EXPECT_EQ(window->TypeMarkerList, QVector<qint64>({40, 140}));
    EXPECT_TRUE(window->suiButton3->isEnabled());
    EXPECT_FALSE(window->suiButton2->isEnabled());

    // A new open lists other containers but keeps the recordings of the loaded one.
    openContainers({write("other.drf", containerBytes(50, {}))});
    EXPECT_EQ(rowCount(window->AMRFiles), 3);
    EXPECT_EQ(window->Session.size(), 300);
}

TEST_F(MainWindowTest, SelectingAContainerByMouseOrKeyboardLoadsItOncePerCommand)
{
    openContainers({write("one.drf", containerBytes(40, {0})),
                    write("two.drf", containerBytes(40, {0, 20})),
                    write("three.drf", containerBytes(60, {0, 20, 40}))});
    // Every load resets the recording list the same number of times.
    QSignalSpy resets(window->AMRFiles->model(), &QAbstractItemModel::modelReset);
    clickRow(window->FileDRF, 0);
    ASSERT_EQ(window->statusText(), "Найдено 1 записей");
    const qsizetype perLoad = resets.count();
    ASSERT_GT(perLoad, 0);
    // A click on the selected container loads it again, once, as the click that selected it.
    clickRow(window->FileDRF, 0);
    EXPECT_EQ(resets.count(), 2 * perLoad);

    // Empty space below the items.
    QTest::mouseClick(window->FileDRF->viewport(), Qt::LeftButton, {},
                      QPoint(10, window->FileDRF->viewport()->height() - 5));
    EXPECT_EQ(resets.count(), 2 * perLoad);
    EXPECT_EQ(window->statusText(), "Найдено 1 записей");

    // Moving the selection with the keyboard loads the container it moves to.
    window->FileDRF->setFocus();
    QTest::keyClick(window->FileDRF, Qt::Key_Right);
    EXPECT_EQ(window->FileDRF->currentRow(), 1);
    EXPECT_EQ(window->statusText(), "Найдено 2 записей");
    EXPECT_EQ(resets.count(), 3 * perLoad);
    QTest::keyClick(window->FileDRF, Qt::Key_End);
    EXPECT_EQ(window->statusText(), "Найдено 3 записей");
    EXPECT_EQ(resets.count(), 4 * perLoad);

    // Return and Space load the selected container again.
    QTest::keyClick(window->FileDRF, Qt::Key_Return);
    QTest::keyClick(window->FileDRF, Qt::Key_Space);
    EXPECT_EQ(resets.count(), 6 * perLoad);
    EXPECT_EQ(rowCount(window->AMRFiles), 3);

    // Space on a current container that is not selected selects it, which loads it once.
    window->FileDRF->selectionModel()->setCurrentIndex(window->FileDRF->model()->index(0, 0),
                                                       QItemSelectionModel::Clear);
    QTest::keyClick(window->FileDRF, Qt::Key_Space);
    EXPECT_EQ(window->statusText(), "Найдено 1 записей");
    EXPECT_EQ(resets.count(), 7 * perLoad);
}

TEST_F(MainWindowTest, F10OpensTheMenuBarAndCtrlQQuits)
{
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_TRUE(window->N1->isVisible());
    EXPECT_EQ(window->N1->activeAction(), window->N2);
    window->N1->close();

    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, SaveButtonsAndPopupItemsFollowTheRecordingList)
{
    ASSERT_TRUE(openPopup());
    EXPECT_FALSE(window->N5->isEnabled());
    EXPECT_FALSE(window->N6->isEnabled());

    openContainers(
        {write("a.drf", containerBytes(40, {0, 20})), write("b.drf", containerBytes(40, {0}))});
    clickRow(window->FileDRF, 0);
    ASSERT_TRUE(openPopup());
    EXPECT_FALSE(window->N5->isEnabled());
    EXPECT_TRUE(window->N6->isEnabled());

    clickRow(window->AMRFiles, 0);
    EXPECT_TRUE(window->suiButton2->isEnabled());
    clickRow(window->AMRFiles, 1);
    EXPECT_TRUE(window->suiButton2->isEnabled());
    ASSERT_TRUE(openPopup());
    EXPECT_TRUE(window->N5->isEnabled());

    // Loading another container empties the recording list: nothing is selected any more.
    clickRow(window->FileDRF, 1);
    EXPECT_FALSE(window->suiButton2->isEnabled());
    EXPECT_TRUE(window->suiButton3->isEnabled());
    ASSERT_TRUE(openPopup());
    EXPECT_FALSE(window->N5->isEnabled());
}

TEST_F(MainWindowTest, SaveAllInTheMenuStaysEnabledUntilAScanFindsNothing)
{
    openContainers({write("with.drf", containerBytes(40, {0})),
                    write("markers-only.drf", containerBytes(40, {}, {0})),
                    write("empty.drf", QByteArray()), write("one-byte.drf", "#")});
    clickRow(window->FileDRF, 0);
    EXPECT_TRUE(window->AMR1->isEnabled());

    clickRow(window->FileDRF, 1);
    EXPECT_FALSE(window->AMR1->isEnabled());
    EXPECT_EQ(window->statusText(), "Звуковые записи не найдены");
    EXPECT_EQ(window->TypeMarkerList, QVector<qint64>({0}));
    EXPECT_EQ(rowCount(window->AMRFiles), 0);
    EXPECT_FALSE(window->suiButton3->isEnabled());

    clickRow(window->FileDRF, 0);
    EXPECT_TRUE(window->AMR1->isEnabled());

    // Containers too short to hold anything scan as empty, not as an error.
    for (int row : {2, 3}) {
        clickRow(window->FileDRF, 0);
        clickRow(window->FileDRF, row);
        EXPECT_EQ(window->statusText(), "Звуковые записи не найдены") << row;
        EXPECT_FALSE(window->AMR1->isEnabled()) << row;
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, SaveSelectedWritesThatRecordingAndLeavesTheClipboardAlone)
{
    const QByteArray bytes = containerBytes(100, {10, 60}, {20, 70});
    loadContainer(bytes);
    QGuiApplication::clipboard()->setText(ClipboardText);

    clickRow(window->AMRFiles, 1);
    dialogs.answers << QStringList{target("rec")};
    QTest::mouseClick(window->suiButton2, Qt::LeftButton);
    EXPECT_EQ(writtenRecordings(), QStringList({"rec_2.amr"}));
    EXPECT_EQ(readFile(target("rec_2.amr")), bytes.mid(60));

    // The first recording ends before the second one's "#"; the dialog reopens with the
    // name it returned last, and an existing file is replaced once the user says so.
    clickRow(window->AMRFiles, 0);
    dialogs.answers << QStringList{target("rec.amr")} << QStringList{target("rec.amr")};
    dialogs.replaceAnswers << true;
    QTest::mouseClick(window->suiButton2, Qt::LeftButton);
    QTest::mouseClick(window->suiButton2, Qt::LeftButton);
    EXPECT_EQ(dialogs.replaceQuestions,
              QStringList({"Файл уже существует: rec.amr_1.amr. Заменить?"}));
    EXPECT_EQ(readFile(target("rec.amr_1.amr")), bytes.mid(10, 50));
    ASSERT_EQ(dialogs.requests.size(), 4);
    EXPECT_EQ(dialogs.requests[2].fileName, target("rec"));
    EXPECT_EQ(dialogs.requests[2].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(dialogs.requests[2].filter, "*.amr");
    EXPECT_TRUE(dialogs.requests[2].defaultSuffix.isEmpty());
    EXPECT_FALSE(dialogs.requests[2].confirmOverwrite);
    EXPECT_EQ(writtenRecordings(), QStringList({"rec.amr_1.amr", "rec_2.amr"}));

    EXPECT_EQ(QGuiApplication::clipboard()->text(), ClipboardText);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, SaveAllWritesOneFilePerRecordingWhateverTheMarkerCount)
{
    // Three recordings, one marker.
    const QByteArray bytes = containerBytes(90, {5, 30, 60}, {10});
    loadContainer(bytes);
    QGuiApplication::clipboard()->setText(ClipboardText);

    dialogs.answers << QStringList{target("all")};
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    EXPECT_EQ(writtenRecordings(), QStringList({"all_1.amr", "all_2.amr", "all_3.amr"}));
    EXPECT_EQ(readFile(target("all_1.amr")), bytes.mid(5, 25));
    EXPECT_EQ(readFile(target("all_2.amr")), bytes.mid(30, 30));
    EXPECT_EQ(readFile(target("all_3.amr")), bytes.mid(60));

    // The last recording alone, and the pop-up's save all under another name.
    clickRow(window->AMRFiles, 2);
    dialogs.answers << QStringList{target("last")} << QStringList{target("pop")};
    window->N5->trigger();
    EXPECT_EQ(readFile(target("last_3.amr")), bytes.mid(60));
    window->N6->trigger();
    EXPECT_EQ(readFile(target("pop_2.amr")), bytes.mid(30, 30));

    EXPECT_EQ(QGuiApplication::clipboard()->text(), ClipboardText);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, ASecondSaveAllUnderTheSameNameAsksAndNeverWritesThroughALink)
{
    const QByteArray bytes = containerBytes(120, {0, 30, 60, 90}, {10});
    loadContainer(bytes);
    write("keep_1.amr", "PRECIOUS");
    const QString outside = target("outside");
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(QFile::link(outside + "/victim", target("keep_3.amr"))); // dangling

    // Cancelled: nothing of the user's changes, and nothing new is written either.
    dialogs.answers << QStringList{target("keep")};
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    EXPECT_EQ(dialogs.replaceQuestions,
              QStringList({"Файлы уже существуют: keep_1.amr и ещё 1. Заменить?"}));
    EXPECT_EQ(readFile(target("keep_1.amr")), "PRECIOUS");
    EXPECT_EQ(writtenRecordings(), QStringList({"keep_1.amr"}));

    // Replaced: the link itself is replaced, its target never created.
    dialogs.answers << QStringList{target("keep")};
    dialogs.replaceAnswers << true;
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    EXPECT_EQ(readFile(target("keep_1.amr")), bytes.mid(0, 30));
    EXPECT_EQ(readFile(target("keep_3.amr")), bytes.mid(60, 30));
    EXPECT_FALSE(QFileInfo(target("keep_3.amr")).isSymLink());
    EXPECT_TRUE(QDir(outside).isEmpty());
    EXPECT_EQ(window->statusText(), "Сохранено 4 из 4");
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, EscapeStopsWorkRunningOffTheWindowThread)
{
    std::atomic<bool> cancel{false};
    QTimer::singleShot(0, window.get(), [this] {
        QCoreApplication::postEvent(
            window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    bool stopped = false;
    vocafetch::runCancellableOffWindowThread(
        [&] {
            // Bounded, so a broken filter fails the test instead of hanging it.
            for (int i = 0; i < 3000 && !cancel; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            stopped = cancel;
        },
        cancel);
    EXPECT_TRUE(stopped);
}

TEST_F(MainWindowTest, CancellingTheSaveDialogWritesNothing)
{
    loadContainer(containerBytes(60, {0, 30}, {10}));
    clickRow(window->AMRFiles, 0);
    QGuiApplication::clipboard()->setText(ClipboardText);

    QTest::mouseClick(window->suiButton2, Qt::LeftButton);
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    window->N5->trigger();
    window->N6->trigger();
    window->AMR1->trigger();
    EXPECT_EQ(dialogs.requests.size(), 1 + 5);
    EXPECT_TRUE(writtenRecordings().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ClipboardText);
}

TEST_F(MainWindowTest, SaveAllInTheMenuAsksNothingWithoutRecordings)
{
    window->AMR1->trigger();
    openContainers({write("none.drf", containerBytes(30, {}))});
    window->AMR1->setEnabled(true);
    window->AMR1->trigger();
    EXPECT_EQ(dialogs.requests.size(), 1); // the open only
}

TEST_F(MainWindowTest, FailuresAreShownAndTheWindowStaysUsable)
{
    const QString missing = write("gone.drf", containerBytes(30, {0}));
    const QString good = write("good.drf", containerBytes(30, {0}));
    openContainers({missing, good});
    QFile::remove(missing);

    clickRow(window->FileDRF, 0);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0].caption, "Vocafetch");
    EXPECT_TRUE(dialogs.errors[0].message.startsWith("Cannot open " + missing + ".\r\n("))
        << dialogs.errors[0].message.toStdString();
    EXPECT_EQ(rowCount(window->AMRFiles), 0);
    EXPECT_EQ(window->statusText(), QString());

    clickRow(window->FileDRF, 1);
    EXPECT_EQ(rowCount(window->AMRFiles), 1);

    // A target folder that does not exist: the core's message, nothing written.
    clickRow(window->AMRFiles, 0);
    dialogs.answers << QStringList{target("no-such-folder/rec")};
    QTest::mouseClick(window->suiButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors[1].message.startsWith("Cannot create file \""))
        << dialogs.errors[1].message.toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, ShortcutsRunTheirCommands)
{
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].mode, FileDialogRequest::Mode::Open);

    loadContainer(containerBytes(30, {0}));
    dialogs.answers << QStringList{target("key")};
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(writtenRecordings(), QStringList({"key_1.amr"}));

    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window->statusText(), "Соединение с телефоном...");

    QTest::keyClick(window.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

// Closing deletes only the copies that phone downloads wrote.
class MainWindowCloseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startDir.isValid());
        ASSERT_TRUE(QDir(startDir.path()).mkdir("inner"));
        previous = QDir::currentPath();
        QDir::setCurrent(startDir.path());
        window = std::make_unique<TForm1>(dialogs);
        QDir::setCurrent(previous);
        for (const char *name : {"copy.drf", "mine.drf", "inner/deep.drf"})
            writeFile(QDir(startDir.path()), name, "x");
        outside = writeFile(QDir(elsewhere.path()), "outside.drf", "x");
    }

    QTemporaryDir startDir;
    QTemporaryDir elsewhere;
    QString previous;
    QString outside;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowCloseTest, WithoutPhoneReadsNothingIsDeleted)
{
    EXPECT_EQ(QDir(window->StartDir).canonicalPath(), QDir(startDir.path()).canonicalPath());
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFile::exists(startDir.filePath("copy.drf")));
    EXPECT_TRUE(QFile::exists(startDir.filePath("mine.drf")));
}

TEST_F(MainWindowCloseTest, NamesInThePhoneListThatNoDownloadWroteAreKept)
{
    const QString escape = QDir(startDir.path()).relativeFilePath(outside);
    window->PhoneNameList = QStringList{"copy.drf", "inner/deep.drf", escape, "inner", ".."};
    window->show();
    EXPECT_TRUE(window->close());
    for (const char *name : {"copy.drf", "mine.drf", "inner/deep.drf"})
        EXPECT_TRUE(QFile::exists(startDir.filePath(name))) << name;
    EXPECT_TRUE(QFile::exists(outside));
}

} // namespace
