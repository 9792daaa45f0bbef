// A mapped container truncated by someone else while it is read: an error, never a dead process.
#include "extract/io/MappedAccessGuard.h"
#include "IoTestFiles.h"
#include "extract/io/ContainerSource.h"

#include <atomic>
#include <thread>

using namespace vocafetch;

namespace {

using namespace vocafetch::iotest;
using vocafetch::ContainerSource;
using vocafetch::MappedWindow;
using vocafetch::runMappedAccessGuarded;

constexpr int Size = 1 << 20;

QByteArray containerIn(const QTemporaryDir &dir, const QByteArray &name)
{
    const QByteArray path = under(dir, name);
    writeBytes(path, QByteArray(Size, 'a'));
    return path;
}

void truncateToZero(const QByteArray &path)
{
    ASSERT_EQ(::truncate(path.constData(), 0), 0);
}

// Reads every page, so that a page beyond the file's end is touched.
long sumPages(const MappedWindow &window)
{
    long sum = 0;
    for (qint64 i = 0; i < window.size(); i += 4096)
        sum += static_cast<const volatile char *>(window.data())[i];
    return sum;
}

// Maps the file, truncates it, and reads the mapping under the guard; the error text or "".
QString readTruncated(const QByteArray &path)
{
    const ContainerSource source(path);
    const MappedWindow window = source.map(0, source.size());
    truncateToZero(path);
    try {
        runMappedAccessGuarded(path, [&] { sumPages(window); });
    } catch (const ExtractError &error) {
        return error.message();
    }
    return QString();
}

TEST(MappedAccessGuardTest, TruncationUnderTheGuardIsAnErrorAndTheProcessLives)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = containerIn(dir, "shrinks.drf");
    EXPECT_EQ(readTruncated(path),
              QStringLiteral("\"%1\" changed while it was read").arg(QString::fromUtf8(path)));

    // Still alive, and the guard works again: a second file read whole, then a second fault.
    const QByteArray other = containerIn(dir, "whole.drf");
    const ContainerSource source(other);
    const MappedWindow window = source.map(0, source.size());
    long sum = 0;
    runMappedAccessGuarded(other, [&] { sum = sumPages(window); });
    EXPECT_EQ(sum, long('a') * (Size / 4096));
    EXPECT_FALSE(readTruncated(other).isEmpty());
}

TEST(MappedAccessGuardTest, GuardsOnTwoThreadsEachCatchTheirOwnFault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray paths[2] = {containerIn(dir, "one.drf"), containerIn(dir, "two.drf")};
    QString messages[2];
    std::atomic<int> truncated{0};
    auto reader = [&](int i) {
        const ContainerSource source(paths[i]);
        const MappedWindow window = source.map(0, source.size());
        truncateToZero(paths[i]);
        // Both threads fault at about the same time, each inside its own guard.
        ++truncated;
        while (truncated < 2) {
        }
        try {
            runMappedAccessGuarded(paths[i], [&] { sumPages(window); });
        } catch (const ExtractError &error) {
            messages[i] = error.message();
        }
    };
    std::thread first(reader, 0), second(reader, 1);
    first.join();
    second.join();
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(messages[i].contains(QString::fromUtf8(paths[i]))) << qPrintable(messages[i]);
}

TEST(MappedAccessGuardTest, WindowedReadingNoticesAFileThatShrankBetweenWindows)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = containerIn(dir, "halved.drf");
    const ContainerSource source(path);
    int windows = 0;
    EXPECT_THROW(source.forEachWindow(64 * 1024, 16,
                                      [&](const MappedWindow &) {
                                          if (++windows == 1) {
                                              ASSERT_EQ(::truncate(path.constData(), Size / 2), 0);
                                          }
                                      }),
                 ExtractError);
    EXPECT_EQ(windows, 1);
}

TEST(MappedAccessGuardDeathTest, AFaultOutsideEveryGuardStillEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = containerIn(dir, "unguarded.drf");
    EXPECT_DEATH(
        {
            runMappedAccessGuarded(path, [] {}); // the handler is installed
            const ContainerSource source(path);
            const MappedWindow window = source.map(0, source.size());
            truncateToZero(path);
            sumPages(window);
        },
        "");
}

} // namespace
