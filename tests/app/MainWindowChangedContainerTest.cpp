// A container another program truncates or rewrites while the window has it open: each command
// that reads it fails with one message and leaves no file behind, and the window works on.
#include "ListRows.h"
#include "SampleContainers.h"
#include "ShownWindow.h"
#include "app/MainWindow.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace vocafetch;

namespace {

enum class Change
{
    Truncated, // emptied: reading its mapped bytes raises SIGBUS
    Rewritten, // the same size, other bytes
};

class MainWindowChangedContainerTest : public ::testing::TestWithParam<Change>, public ShownWindow
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(showWindow()); }

    QString container() const { return dir.filePath(QStringLiteral("c.drf")); }
    QString output() const { return dir.filePath(QStringLiteral("rec")); }

    // Lists the container, loads it and selects its first recording.
    void load()
    {
        writeFile(container(), bytes);
        dialogs.answers << QStringList{container()};
        window->N2->trigger();
        clickRow(window->FileDRF, 0);
        ASSERT_TRUE(dialogs.errors.isEmpty());
        ASSERT_EQ(rowCount(window->AMRFiles), RecGen::mixedSample().recordings().size());
        selectRow(window->AMRFiles, 0);
    }

    void changeContainer()
    {
        const QByteArray name = QFile::encodeName(container());
        if (GetParam() == Change::Truncated) {
            ASSERT_TRUE(QFile::resize(container(), 0));
            return;
        }
        QByteArray other = bytes;
        std::reverse(other.begin(), other.end());
        QFile file(container());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_EQ(file.write(other), other.size());
        file.close();
        // A time of its own: a rewrite within the clock's last tick would keep the old one.
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
    }

    // The command fails with the window's words for a changed container and adds no file.
    void expectRefusedAfterChange(const std::function<void()> &command)
    {
        load();
        const QStringList before = tree(dir.path());
        changeContainer();
        command();
        ASSERT_EQ(dialogs.errors.size(), 1);
        EXPECT_EQ(dialogs.errors.first().message,
                  QStringLiteral("Файл \"%1\" изменился, пока его читали").arg(container()));
        dialogs.errors.clear();
        EXPECT_EQ(tree(dir.path()), before);
    }

    const QByteArray bytes = RecGen::mixedSample().data();
};

TEST_P(MainWindowChangedContainerTest, EachSaveFailsWithOneMessageAndLeavesNoFile)
{
    {
        SCOPED_TRACE("save all");
        expectRefusedAfterChange([&] {
            dialogs.answers << QStringList{output()};
            QTest::mouseClick(window->suiButton3, Qt::LeftButton);
        });
    }
    {
        SCOPED_TRACE("save the selected one");
        expectRefusedAfterChange([&] {
            dialogs.answers << QStringList{output()};
            QTest::mouseClick(window->suiButton2, Qt::LeftButton);
        });
    }
    {
        SCOPED_TRACE("save as WAV");
        expectRefusedAfterChange([&] {
            dialogs.answers << QStringList{output()};
            dialogs.filterAnswers << QStringLiteral("WAV (*.wav)");
            window->SaveAs1->trigger();
        });
    }
    {
        SCOPED_TRACE("save all, sound only");
        window->CleanCut1->setChecked(true);
        expectRefusedAfterChange([&] {
            dialogs.answers << QStringList{output()};
            QTest::mouseClick(window->suiButton3, Qt::LeftButton);
        });
    }
}

TEST_P(MainWindowChangedContainerTest, ListeningFailsAndTheContainerLoadsAgainOnItsClick)
{
    expectRefusedAfterChange([&] {
        // The tool tips read the recordings too: a changed container shows none.
        EXPECT_EQ(rowToolTip(window->AMRFiles, 1), QString());
        window->Play1->trigger();
    });
    EXPECT_EQ(audio->starts, 0);

    // Once whole again it is read anew on its click, and saved.
    writeFile(container(), bytes);
    clickRow(window->FileDRF, 0);
    ASSERT_EQ(rowCount(window->AMRFiles), RecGen::mixedSample().recordings().size());
    dialogs.answers << QStringList{output()};
    QTest::mouseClick(window->suiButton3, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(readFile(output() + QStringLiteral("_1.amr")),
              bytes.mid(int(window->AmrStartList[0]),
                        int(window->AmrStartList[1] - window->AmrStartList[0])));
}

INSTANTIATE_TEST_SUITE_P(Changes, MainWindowChangedContainerTest,
                         ::testing::Values(Change::Truncated, Change::Rewritten),
                         [](const ::testing::TestParamInfo<Change> &info) {
                             return info.param == Change::Truncated ? "Truncated" : "Rewritten";
                         });

} // namespace
