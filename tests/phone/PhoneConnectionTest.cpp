#include "PolledWindow.h"
#include "support/FakePhoneLibrary.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace vocafetch;

namespace {
const QString Connecting = QStringLiteral("Соединение с телефоном...");
const QString Connected = QStringLiteral("Соединение с телефоном установленно");
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");
} // namespace

TEST(PhoneConnection, ReadyAtFirstTickDownloadsOneTickAfterRequest)
{
    QTemporaryDir start;
    FakePhoneLibrary library;
    library.statuses = {1};
    PolledWindow window(library, start.path(), 100);
    QElapsedTimer clock;
    clock.start();
    window.connection.begin();
    EXPECT_EQ(library.initCalls, 1);
    EXPECT_EQ(library.statusCalls, 0) << "the first poll waits for the first tick";

    ASSERT_TRUE(window.waitUntilIdle());
    EXPECT_GE(clock.elapsed(), 90);
    EXPECT_EQ(window.downloads, 1);
    EXPECT_EQ(window.texts.mid(0, 3),
              QStringList({Connecting, Connected, QStringLiteral("Получение списка файлов...")}));
    EXPECT_EQ(window.connection.connectTicks(), 0);
}

TEST(PhoneConnection, EachRequestAsksFiftyTimesThenTimesOutOnTheNextTick)
{
    FakePhoneLibrary library;
    PolledWindow window(library, QString(), 1);
    window.connection.begin();
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.statusCalls >= 20; }, 10000));
    const int askedBefore = library.statusCalls;
    const int ticksBefore = window.ticks;
    window.connection.begin();
    EXPECT_EQ(window.connection.connectTicks(), 0);
    ASSERT_TRUE(window.waitUntilIdle());

    EXPECT_EQ(library.initCalls, 2);
    EXPECT_EQ(library.statusCalls, askedBefore + 50);
    EXPECT_EQ(window.ticks, ticksBefore + 51);
    EXPECT_EQ(window.texts, QStringList({Connecting, Connecting, TimedOut}));
    EXPECT_EQ(window.connection.connectTicks(), 0);
    QTest::qWait(20);
    EXPECT_EQ(library.statusCalls, askedBefore + 50) << "the timer stays off";
}

TEST(PhoneConnection, CallbackFromAnotherThreadChangesTextOnUiThreadOnly)
{
    FakePhoneLibrary library;
    auto window = std::make_unique<PolledWindow>(library, QString(), 100);
    window->connection.begin();
    window->texts.clear();
    library.callBackFromOtherThread();
    EXPECT_TRUE(window->texts.isEmpty()) << "queued to the user-interface thread";
    QCoreApplication::processEvents();
    EXPECT_EQ(window->texts, QStringList{Connecting});
    EXPECT_TRUE(window->onUiThread);

    // A late call after the window is gone changes nothing (and touches nothing freed).
    library.callBackFromOtherThread();
    window.reset();
    library.callBackFromOtherThread();
    QCoreApplication::processEvents();
}
