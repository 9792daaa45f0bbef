// The download on a thread of its own: the caller's event loop keeps running while a phone
// file is read, and what the download reports arrives on the caller's thread, in order.
#include "phone/PhoneDownloadJob.h"
#include "phone/PhoneCopyRegistry.h"
#include "support/FakePhoneLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class PhoneDownloadJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library.statuses = {1};
        library.addFile("/a/mobile/mms/a.drf", "first");
        library.addFile("/a/mobile/mms/b.drf", "second");
        library.addFile("/a/mobile/mms/c.drf", "third");
        // Each read waits for the test to let it go.
        library.duringRead = [this] {
            readOnCallersThread = readOnCallersThread || QThread::currentThread() == qApp->thread();
            ++readsStarted;
            // Bounded, so that a read on the waiting thread itself fails the test instead of
            // hanging it.
            gate.tryAcquire(1, 10000);
        };
        QObject::connect(&job, &vocafetch::PhoneDownloadJob::statusTextChanged,
                         [this](const QString &text) {
                             events << text;
                             onCallersThread = QThread::currentThread() == qApp->thread();
                         });
        QObject::connect(&job, &vocafetch::PhoneDownloadJob::finished,
                         [this] { events << QStringLiteral("finished"); });
    }

    QTemporaryDir start;
    FakePhoneLibrary library;
    PhoneCopyRegistry copies;
    QSemaphore gate;
    std::atomic<int> readsStarted{0};
    std::atomic<bool> readOnCallersThread{false};
    QStringList events;
    bool onCallersThread = true;
    // Last, so that it is stopped before anything its thread uses goes.
    vocafetch::PhoneDownloadJob job{library, start.path(), copies};
};

} // namespace

TEST_F(PhoneDownloadJobTest, ReadsOffTheCallersThreadWhileItsEventLoopRuns)
{
    job.start();
    // The first read is held, yet the listing's text arrives: the caller was never blocked.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.isEmpty() && readsStarted == 1; }, 10000));
    EXPECT_EQ(events, QStringList{QStringLiteral("Получение списка файлов...")});
    EXPECT_TRUE(job.isRunning());

    gate.release(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !job.isRunning(); }, 10000));
    EXPECT_EQ(events,
              QStringList({"Получение списка файлов...", "Чтение файла 1/3", "Чтение файла 2/3",
                           "Чтение файла 3/3", "Все файлы успешно загружены", "finished"}));
    EXPECT_TRUE(onCallersThread);
    EXPECT_FALSE(readOnCallersThread);
    EXPECT_EQ(job.result().captions, QStringList({"a.drf", "b.drf", "c.drf"}));
    EXPECT_FALSE(job.failure());
}

TEST_F(PhoneDownloadJobTest, StopWaitsForTheFileBeingCopiedAndSilencesTheRest)
{
    job.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return readsStarted == 1; }, 10000));
    std::thread releaser([&] { gate.release(3); });
    job.stop();
    releaser.join();
    EXPECT_FALSE(job.isRunning());

    // Whatever was copied is whole and recorded, so the clean-up finds it.
    const QStringList written = QDir(start.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(written.isEmpty());
    EXPECT_EQ(copies.files().size(), written.size());
    for (const QString &path : copies.files()) {
        QFile copy(path);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(),
                  library.contents.value("/a/mobile/mms/" + QFileInfo(path).fileName().toLatin1()));
    }
    const QStringList before = events;
    QCoreApplication::processEvents();
    EXPECT_EQ(events, before) << "nothing arrives after stop";
    EXPECT_FALSE(events.contains("finished"));
}
