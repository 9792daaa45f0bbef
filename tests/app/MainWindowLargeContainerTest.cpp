// The window with a container of millions of recordings: every one listed, the window's event
// loop turning while it loads.
#include "ListRows.h"
#include "app/MainWindow.h"
#include "support/ContainerBytes.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace vocafetch;

namespace {

// Ticks every 50 ms and keeps the longest wait between two ticks.
class TickWatch
{
public:
    TickWatch()
    {
        m_sinceTick.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this]() {
            m_longestGapMs = std::max(m_longestGapMs, m_sinceTick.restart());
        });
        m_timer.start(50);
    }
    qint64 longestGapMs() const { return std::max(m_longestGapMs, m_sinceTick.elapsed()); }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longestGapMs = 0;
};

TEST(MainWindowLargeContainerTest, TwoMillionSignaturesAreListedWhileTheWindowKeepsTurning)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int signatures = 10 * 1024 * 1024 / 5;
    const QString path = writeFile(QDir(dir.path()), QStringLiteral("many.drf"),
                                   QByteArray("#!AMR").repeated(signatures));
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.ListContainers({path});

    TickWatch watch;
    // The tick before the load, so that a loop stopped from the click on shows as a gap.
    QTest::qWait(60);
    clickRow(window.FileDRF, 0);
    const qint64 gapDuringLoad = watch.longestGapMs();
    // The rows lay out a batch at a time after the load: the loop keeps turning then too.
    QTest::qWait(300);

    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(window.statusText(), QStringLiteral("Найдено %1 записей").arg(signatures));
    ASSERT_EQ(rowCount(window.AMRFiles), signatures);
    EXPECT_EQ(window.AmrStartList.size(), signatures);
    EXPECT_EQ(window.AmrStartList.at(signatures - 1), qint64(signatures - 1) * 5);
    EXPECT_EQ(rowText(window.AMRFiles, 0), QStringLiteral("Запись_1.amr"));
    EXPECT_EQ(rowText(window.AMRFiles, signatures - 1),
              QStringLiteral("Запись_%1.amr").arg(signatures));
    EXPECT_TRUE(window.suiButton3->isEnabled());
    EXPECT_LE(gapDuringLoad, 500) << "the event loop stopped while the container loaded";
    EXPECT_LE(watch.longestGapMs(), 500) << "the event loop stopped while the rows laid out";
}

} // namespace
