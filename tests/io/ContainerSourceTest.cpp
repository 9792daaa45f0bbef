// Opening containers by their raw path bytes and reading them by ranges and mapped windows.
#include "extract/io/ContainerSource.h"
#include "IoTestFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

using namespace vocafetch;

namespace {

using namespace vocafetch::iotest;
using vocafetch::ContainerSource;
using vocafetch::MappedWindow;

void expectRefused(const QByteArray &path, const char *reason)
{
    try {
        ContainerSource source(path);
        ADD_FAILURE() << path.constData() << " was opened";
    } catch (const ExtractError &error) {
        EXPECT_TRUE(error.message().contains(QLatin1String(reason))) << error.what();
        EXPECT_TRUE(error.message().contains(QString::fromUtf8(path))) << error.what();
    }
}

TEST(ContainerSourceTest, OnlyRegularFilesOpenAndAPipeIsRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray fifo = under(dir, "pipe.drf");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);

    // No writer ever comes: a blocking open would hang this test for good.
    expectRefused(fifo, "Not a regular file");
    expectRefused(bytesOf(dir.path()), "Is a directory");
    expectRefused("/dev/null", "Not a regular file");
    expectRefused(under(dir, "missing.drf"), "No such file");
}

TEST(ContainerSourceTest, NamesThatAreNotUtf8OpenByTheirBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QByteArray &name :
         {QByteArray("\xc3\xee\xeb\xee\xf1.drf"), QByteArray("lat\xe9.drf")}) {
        const QByteArray path = under(dir, name);
        writeBytes(path, "#!AMR\n" + name);
        const ContainerSource source(path);
        EXPECT_EQ(source.size(), 6 + name.size());
        EXPECT_EQ(source.read(6, name.size()), name);
        ::unlink(path.constData()); // QTemporaryDir removes only names that decode
    }
}

TEST(ContainerSourceTest, ReadsOutsideTheFileAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = under(dir, "small.drf");
    writeBytes(path, "0123456789");
    const ContainerSource source(path);
    EXPECT_EQ(source.read(8, 2), QByteArray("89"));
    EXPECT_EQ(source.read(10, 0), QByteArray());
    EXPECT_THROW(source.read(8, 3), ExtractError);
    EXPECT_THROW(source.read(-1, 1), ExtractError);
    EXPECT_THROW(source.map(5, 6), ExtractError);
}

TEST(ContainerSourceTest, WindowsOverlapSoAPatternAcrossAnEdgeIsFound)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qint64 window = 16 * 1024;
    const QByteArray pattern("#!AMR-WB\n#!AMR-W"); // 16 bytes
    const qint64 overlap = pattern.size() - 1;
    QByteArray data(int(window * 5 + 100), 'x');
    const QList<qint64> planted = {0, window - 5, 2 * (window - overlap) + window - 1,
                                   qint64(data.size()) - pattern.size()};
    for (qint64 at : planted)
        data.replace(int(at), pattern.size(), pattern);
    const QByteArray path = under(dir, "edges.drf");
    writeBytes(path, data);

    const ContainerSource source(path);
    QList<qint64> found;
    qint64 covered = 0;
    source.forEachWindow(window, overlap, [&](const MappedWindow &w) {
        EXPECT_LE(w.size(), window);
        EXPECT_EQ(w.offset(), covered == 0 ? 0 : covered - overlap);
        covered = w.offset() + w.size();
        const char *end = w.data() + w.size();
        for (const char *at = w.data();
             (at = std::search(at, end, pattern.begin(), pattern.end())) != end; ++at) {
            const qint64 offset = w.offset() + (at - w.data());
            if (!found.contains(offset))
                found.append(offset);
        }
    });
    EXPECT_EQ(covered, source.size());
    EXPECT_EQ(found, planted);
}

TEST(ContainerSourceTest, SparseSixGibibyteFileGivesExactBytesAboveFourGibibytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = under(dir, "large.drf");
    const qint64 gib = qint64(1) << 30;
    const qint64 acrossFour = 4 * gib - 3;
    const qint64 nearEnd = 6 * gib - 7;
    {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 6 * gib), 0);
        ASSERT_EQ(::pwrite(fd, "#!AMR\n", 6, acrossFour), 6);
        ASSERT_EQ(::pwrite(fd, "tail!!!", 7, nearEnd), 7);
        ::close(fd);
    }

    const ContainerSource source(path);
    EXPECT_EQ(source.size(), 6 * gib);
    EXPECT_EQ(source.read(acrossFour - 1, 8), QByteArray("\0#!AMR\n\0", 8));
    EXPECT_EQ(source.read(nearEnd, 7), QByteArray("tail!!!"));
    const MappedWindow window = source.map(acrossFour - 100, 200);
    EXPECT_EQ(QByteArray(window.data() + 100, 6), QByteArray("#!AMR\n"));
    const MappedWindow last = source.map(5 * gib + 12345, gib - 12345);
    EXPECT_EQ(QByteArray(last.data() + last.size() - 7, 7), QByteArray("tail!!!"));
}

} // namespace
