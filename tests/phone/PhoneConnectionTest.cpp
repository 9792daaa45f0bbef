#include "PhoneConnection.h"
#include "FakePhoneLibrary.h"
#include "WaitForIdle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A connection driven by a real timer, as the window drives it; `download` stands in for the
// window's download action.
struct PolledConnection
{
    explicit PolledConnection(int intervalMs)
    {
        timer.setInterval(intervalMs);
        QObject::connect(&connection, &PhoneConnection::statusTextChanged,
                         [this](const QString &text) {
                             texts.append(text);
                             onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
                         });
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (connection.poll() == PhoneConnection::PollResult::Ready)
                ++downloads;
        });
    }

    bool waitUntilIdle() { return waitUntilStopped(timer); }

    FakePhoneLibrary library;
    QTimer timer;
    PhoneConnection connection{library, timer};
    QStringList texts;
    bool onUiThread = true;
    int ticks = 0;
    int downloads = 0;
};

const QString Connecting = QStringLiteral("Соединение с телефоном...");
const QString Connected = QStringLiteral("Соединение с телефоном установленно");
const QString TimedOut = QStringLiteral("Невозможно установить соединение с телефоном");

} // namespace

TEST(PhoneConnection, ReadyAtFirstTickStartsDownloadOneTickAfterRequest)
{
    PolledConnection polled(100);
    polled.library.statuses = {1};
    QElapsedTimer clock;
    clock.start();
    polled.connection.begin();

    EXPECT_EQ(polled.library.initCalls, 1);
    EXPECT_EQ(polled.library.statusCalls, 0) << "the first poll waits for the first tick";
    ASSERT_TRUE(polled.waitUntilIdle());
    EXPECT_GE(clock.elapsed(), 90);
    EXPECT_EQ(polled.downloads, 1);
    EXPECT_EQ(polled.library.statusCalls, 1);
    EXPECT_EQ(polled.texts, QStringList({Connecting, Connected}));
    EXPECT_EQ(polled.connection.connectTicks(), 0);
}

TEST(PhoneConnection, ReadyAfterSomePollsStopsPolling)
{
    PolledConnection polled(1);
    polled.library.statuses = {0, 2, -1, 1, 0};
    polled.connection.begin();
    ASSERT_TRUE(polled.waitUntilIdle());
    QTest::qWait(20);

    EXPECT_EQ(polled.library.statusCalls, 4);
    EXPECT_EQ(polled.downloads, 1);
    EXPECT_EQ(polled.ticks, 4);
    EXPECT_EQ(polled.texts.last(), Connected);
}

TEST(PhoneConnection, NeverReadyIsAskedFiftyTimesAndTimesOutOnTheNextTick)
{
    PolledConnection polled(1);
    polled.connection.begin();
    ASSERT_TRUE(polled.waitUntilIdle());
    QTest::qWait(20);

    EXPECT_EQ(polled.library.statusCalls, 50);
    EXPECT_EQ(polled.ticks, 51);
    EXPECT_EQ(polled.downloads, 0);
    EXPECT_EQ(polled.texts, QStringList({Connecting, TimedOut}));
    EXPECT_EQ(polled.connection.connectTicks(), 0);
}

TEST(PhoneConnection, SecondRequestRestartsLibraryAndCount)
{
    PolledConnection polled(1);
    polled.connection.begin();
    ASSERT_TRUE(QTest::qWaitFor([&] { return polled.library.statusCalls >= 20; }, 10000));
    const int askedBefore = polled.library.statusCalls;
    polled.connection.begin();
    EXPECT_EQ(polled.connection.connectTicks(), 0);
    ASSERT_TRUE(polled.waitUntilIdle());

    EXPECT_EQ(polled.library.initCalls, 2);
    EXPECT_EQ(polled.library.statusCalls, askedBefore + 50);
    EXPECT_EQ(polled.texts.last(), TimedOut);

    // After the time-out the timer stays off until the next request.
    QTest::qWait(20);
    EXPECT_EQ(polled.library.statusCalls, askedBefore + 50);
}

TEST(PhoneConnection, CallbackFromAnotherThreadChangesTextOnUiThreadOnly)
{
    PolledConnection polled(100);
    polled.connection.begin();
    polled.texts.clear();
    polled.library.callBackFromOtherThread();
    polled.library.callBackFromOtherThread();
    EXPECT_TRUE(polled.texts.isEmpty()) << "queued to the user-interface thread";

    QCoreApplication::processEvents();
    EXPECT_EQ(polled.texts, QStringList({Connecting, Connecting}));
    EXPECT_TRUE(polled.onUiThread);
}

TEST(PhoneConnection, CallbackAfterConnectionIsGoneIsHarmless)
{
    FakePhoneLibrary library;
    QTimer timer;
    auto connection = std::make_unique<PhoneConnection>(library, timer);
    int texts = 0;
    QObject::connect(connection.get(), &PhoneConnection::statusTextChanged, [&] { ++texts; });
    connection->begin();
    library.callBackFromOtherThread();
    connection.reset();
    library.callBackFromOtherThread();
    QCoreApplication::processEvents();
    EXPECT_EQ(texts, 1) << "only the text of the request itself";
}
