// A run's files made durable together, placed afterwards, and folders made below the chosen one.
#include "extract/io/OutputBatch.h"
#include "IoTestFiles.h"
#include "extract/io/SyncCalls.h"

using namespace vocafetch;

namespace {

using namespace vocafetch::iotest;
using vocafetch::OutputBatch;
using vocafetch::OutputFile;
using vocafetch::OutputFolder;
using vocafetch::OutputOutcome;
using vocafetch::OutputResult;
using vocafetch::Placement;
using vocafetch::syncCallCount;

QByteArray contentOf(int i)
{
    return "#!AMR\n" + QByteArray::number(i);
}

TEST(OutputBatchTest, TakenNamesAreReportedInOrderAndKeepTheirBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeBytes(under(dir, "b.amr"), "old");
    const OutputFolder folder = OutputFolder::open(bytesOf(dir.path()));
    std::vector<OutputResult> results;
    {
        OutputBatch batch;
        for (const char *name : {"a.amr", "b.amr", "c.amr"}) {
            OutputFile file(folder, name);
            file.write(name);
            batch.add(std::move(file));
        }
        EXPECT_FALSE(exists(under(dir, "a.amr"))); // nothing is named before the commit
        results = batch.commit();
    }
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].outcome, OutputOutcome::Placed);
    EXPECT_EQ(results[1].outcome, OutputOutcome::NameTaken);
    EXPECT_EQ(results[1].path, under(dir, "b.amr"));
    EXPECT_EQ(results[2].outcome, OutputOutcome::Placed);
    EXPECT_EQ(readBytes(under(dir, "b.amr")), QByteArray("old"));
    EXPECT_EQ(readBytes(under(dir, "c.amr")), QByteArray("c.amr"));
    EXPECT_EQ(entries(dir).size(), 3);
}

TEST(OutputBatchTest, ABatchNotCommittedLeavesNothingAndAFailedWriteIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const OutputFolder folder = OutputFolder::open(bytesOf(dir.path()));
    {
        OutputBatch batch;
        OutputFile file(folder, "a.amr", OutputFile::Temporary::Named);
        file.write("a");
        batch.add(std::move(file));
        const FileSizeLimit full(1000);
        OutputFile tooLong(folder, "b.amr", OutputFile::Temporary::Named);
        tooLong.device().write(QByteArray(4000, 'b'));
        EXPECT_THROW(batch.add(std::move(tooLong)), ExtractError);
        EXPECT_EQ(batch.pendingCount(), 1);
    }
    EXPECT_EQ(entries(dir), QStringList());
}

TEST(OutputBatchTest, OneSaveSyncsItsDataOnceAndAManyFileCommitSyncsOncePerFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const OutputFolder folder = OutputFolder::open(bytesOf(dir.path()));
    for (int count : {1, 2, 50}) {
        OutputBatch batch;
        for (int i = 0; i < count; ++i) {
            OutputFile file(folder, QByteArray::number(count) + "_" + QByteArray::number(i));
            file.write(contentOf(i));
            batch.add(std::move(file));
        }
        const auto before = syncCallCount();
        batch.commit();
        // fdatasync (one file) or syncfs (several), then fsync of the folder.
        EXPECT_EQ(syncCallCount() - before, 2u) << count << " files";
    }
}

TEST(OutputBatchTest, ThreeThousandFilesCompleteWithinALowOpenFileLimit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        // The first batch raises the process's limit once; lowered after it, the limit stays
        // low. Gone before the batch below, it takes no share of the budget.
        const OutputBatch raisesTheLimitFirst;
    }
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);

    const OutputFolder folder = OutputFolder::open(bytesOf(dir.path()));
    const auto before = syncCallCount();
    std::vector<OutputResult> results;
    int limit = 0;
    try {
        OutputBatch batch;
        limit = batch.pendingLimit();
        for (int i = 0; i < 3000; ++i) {
            OutputFile file(folder, "v_" + QByteArray::number(i) + ".amr");
            file.write(contentOf(i));
            batch.add(std::move(file));
        }
        results = batch.commit();
    } catch (const ExtractError &error) {
        ADD_FAILURE() << error.what();
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);

    ASSERT_EQ(results.size(), 3000u);
    for (const OutputResult &result : results)
        ASSERT_EQ(result.outcome, OutputOutcome::Placed) << qPrintable(result.message);
    EXPECT_LT(limit, 256);
    const auto flushes = (3000u + unsigned(limit) - 1) / unsigned(limit);
    // Two syncs a flush (the data, then the folder), never one a file.
    EXPECT_EQ(syncCallCount() - before, 2 * flushes);
    EXPECT_EQ(entries(dir).size(), 3000);
    EXPECT_EQ(readBytes(under(dir, "v_2999.amr")), contentOf(2999));
}

TEST(OutputFolderTest, FoldersAreMadeBelowTheChosenOneAndNeverThroughALink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("out/inside")) &&
                QDir(dir.path()).mkdir(QStringLiteral("outside")));
    ASSERT_EQ(::symlink("../outside", under(dir, "out/inside/link").constData()), 0);
    ASSERT_EQ(::symlink("../gone", under(dir, "out/dangling").constData()), 0);
    const OutputFolder out = OutputFolder::open(under(dir, "out"));

    const OutputFolder made = out.makePath("a/b");
    EXPECT_EQ(made.path(), under(dir, "out/a/b"));
    EXPECT_EQ(made.createdIn().size(), 2u); // "out" gained "a", "a" gained "b"
    EXPECT_EQ(out.makePath("a/b").createdIn().size(), 0u);
    OutputFile file(made, "x.amr");
    file.write("x");
    EXPECT_EQ(file.place(Placement::KeepExisting), vocafetch::PlaceOutcome::Placed);
    EXPECT_EQ(readBytes(under(dir, "out/a/b/x.amr")), QByteArray("x"));

    try {
        out.makePath("inside/link/c");
        ADD_FAILURE() << "a folder was made through a link";
    } catch (const ExtractError &error) {
        EXPECT_TRUE(error.message().contains(QLatin1String("\"link\" is a symbolic link")))
            << error.what();
    }
    EXPECT_THROW(out.makePath("dangling/c"), ExtractError);
    EXPECT_THROW(out.makePath("../escape"), ExtractError);
    EXPECT_THROW(out.makePath("/abs"), ExtractError);
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("outside"))).isEmpty());
    EXPECT_FALSE(exists(under(dir, "gone")));
    EXPECT_FALSE(exists(under(dir, "escape")));
}

} // namespace
