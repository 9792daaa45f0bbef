#include "ListRows.h"
#include "app/MainWindow.h"
#include "app/StartOptions.h"
#include "app/Startup.h"
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
