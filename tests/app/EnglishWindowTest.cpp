#include "ListRows.h"
#include "app/ErrorText.h"
#include "app/MainWindow.h"
#include "app/StartOptions.h"
#include "app/Startup.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/chrome/TsuiTitleBarPopupMenu.h"
#include "skin/controls/SkinnedStatusBar.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace vocafetch;

namespace {

// The main window in the language a command line with arguments asks for, on a system
// whose language is English.
class EnglishSystemTest : public ::testing::Test
{
protected:
    void start(const QStringList &arguments)
    {
        const auto options = vocafetch::parseStartOptions(arguments);
        Startup::prepareApplication(*qApp, Startup::chooseLanguage(options.language));
        window = std::make_unique<TForm1>(dialogs);
    }

    // Opens a container of size bytes with recordings at starts and clicks it.
    void loadContainer(std::initializer_list<int> starts)
    {
        ASSERT_TRUE(dir.isValid());
        dialogs.answers << QStringList(
            {writeFile(QDir(dir.path()), "c.drf", containerBytes(100, starts))});
        QTest::mouseClick(window->suiButton4, Qt::LeftButton);
        clickRow(window->FileDRF, 0);
    }

    QStringList menuCaptions() const
    {
        return {window->N1->title(), window->N2->text(),    window->AMR1->text(),
                window->N7->text(),  window->Dsjl1->text(), window->N4->title(),
                window->N8->text(),  window->N5->text(),    window->N6->text()};
    }

    QStringList buttonCaptions() const
    {
        return {window->suiButton4->text(), window->suiButton1->text(), window->suiButton2->text(),
                window->suiButton3->text()};
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(EnglishSystemTest, LangRuGivesTheRussianTextsAsWritten)
{
    start({"--lang", "ru"});
    EXPECT_EQ(menuCaptions(),
              QStringList({"Файл", "&Открыть", "Со&хранить все", "Считать с телефона", "Вы&ход",
                           "Справка", "О Программе", "Сохранить", "Сохранить все"}));
    EXPECT_EQ(buttonCaptions(),
              QStringList({"Открыть", "Считать с телефона", "Сохранить", "Сохранить все"}));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
    loadContainer({10});
    EXPECT_EQ(window->statusText(), "Найдено 1 записей");
}

TEST_F(EnglishSystemTest, WithoutLangTheWindowAndQtSpeakEnglish)
{
    ASSERT_EQ(Startup::chooseLanguage(std::nullopt), vocafetch::Language::English);
    // Translations installed before give way.
    Startup::prepareApplication(*qApp, vocafetch::Language::Russian);
    start({});
    EXPECT_EQ(menuCaptions(), QStringList({"File", "&Open", "Save &All", "Read from Phone", "E&xit",
                                           "Help", "About", "Save", "Save All"}));
    EXPECT_EQ(buttonCaptions(), QStringList({"Open", "Read from Phone", "Save", "Save All"}));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");

    loadContainer({10});
    EXPECT_EQ(window->statusText(), "Found 1 recording");
    EXPECT_EQ(rowTexts(window->AMRFiles), QStringList({"Recording_1.amr"}));
    loadContainer({10, 40, 70});
    EXPECT_EQ(window->statusText(), "Found 3 recordings");
    loadContainer({});
    EXPECT_EQ(window->statusText(), "No sound recordings found");
}

TEST_F(EnglishSystemTest, AssistiveTechnologyTheTitleBarAndErrorsSpeakTheWindowsLanguage)
{
    start({});
    EXPECT_EQ(window->FileDRF->accessibleName(), "Containers");
    EXPECT_EQ(window->AMRFiles->accessibleName(), "Recordings");
    EXPECT_EQ(window->StatusBar1->accessibleDescription(), "Status line");
    TsuiTitleBar *bar = window->suiForm1->TitleBar();
    QStringList buttons;
    for (int i = 0; i < bar->Buttons().count(); ++i)
        buttons << bar->ButtonAccessibleName(i);
    EXPECT_EQ(buttons, QStringList({"Window menu", "Close", "Minimize"}));
    const TsuiTitleBarPopupMenu *menu = bar->windowMenu();
    EXPECT_EQ(menu->minimizeItem()->text(), "Mi&nimize");
    EXPECT_EQ(menu->closeItem()->text(), "&Close");

    // A container that is gone: the core's failure in the window's words.
    ASSERT_TRUE(dir.isValid());
    const QString gone = QDir(dir.path()).filePath("gone.drf");
    window->ListContainers({gone});
    clickRow(window->FileDRF, 0);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0].message,
              "Cannot open " + gone + ".\r\n(No such file or directory.)");
    // A failure the window words itself, in English.
    EXPECT_EQ(
        errorText(ExtractError("recording 2 holds no audio frame", ErrorKind::NothingToConvert)
                      .forRecording(2)),
        "Recording 2 holds no audio frame");
}

TEST_F(EnglishSystemTest, LangRuGivesTheTitleBarMenuAndErrorsInRussian)
{
    start({"--lang", "ru"});
    const TsuiTitleBarPopupMenu *menu = window->suiForm1->TitleBar()->windowMenu();
    EXPECT_EQ(menu->minimizeItem()->text(), "С&вернуть");
    EXPECT_EQ(menu->closeItem()->text(), "&Закрыть");
    EXPECT_EQ(window->FileDRF->accessibleName(), "Контейнеры");
}

// Runs the window program with arguments where no display can be reached.
struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runWithoutDisplay(const QStringList &arguments)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VOCAFETCH_WINDOW_PROGRAM), arguments);
    if (!program.waitForFinished(30000))
        return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

TEST(EnglishSystemProgramTest, HelpAndVersionAnswerOnTheTerminalWithoutADisplay)
{
    for (const char *help : {"--help", "-h"}) {
        const ProgramRun run = runWithoutDisplay({help});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith("Usage: vocafetch [--lang ru|en] [FILE|FOLDER]...\n"))
            << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    const ProgramRun version = runWithoutDisplay({"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, "vocafetch " VOCAFETCH_VERSION "\n");
    // Without --help, the program does need the display it cannot reach.
    EXPECT_NE(runWithoutDisplay({"--", "--help"}).exitCode, 0);
}

TEST(EnglishSystemProgramTest, AnUnknownLangIsRefusedOnStandardErrorWithExitCodeTwo)
{
    QProcess program;
    program.start(QStringLiteral(VOCAFETCH_WINDOW_PROGRAM), {"--lang", "xx"});
    ASSERT_TRUE(program.waitForFinished(30000)) << program.errorString().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 2);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(errors.contains("unknown language 'xx'")) << errors.toStdString();
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
}

} // namespace
