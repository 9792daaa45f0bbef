// Output files given their names only when whole: never over a file or through a link unless
// replacing is allowed, and nothing left behind when writing fails.
#include "extract/io/OutputFile.h"
#include "IoTestFiles.h"

#include <atomic>
#include <thread>

using namespace vocafetch;

namespace {

using namespace vocafetch::iotest;
using vocafetch::OutputFile;
using vocafetch::OutputFolder;
using vocafetch::Placement;
using vocafetch::PlaceOutcome;

// Each case runs with the unnamed temporary and with the named fallback.
class OutputFileTest : public ::testing::TestWithParam<OutputFile::Temporary>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = std::make_unique<OutputFolder>(OutputFolder::open(bytesOf(dir.path())));
    }

    OutputFile written(const QByteArray &name, const QByteArray &bytes)
    {
        OutputFile file(*folder, name, GetParam());
        EXPECT_EQ(file.usesNamedTemporary(), GetParam() == OutputFile::Temporary::Named);
        file.write(bytes);
        return file;
    }

    QTemporaryDir dir;
    std::unique_ptr<OutputFolder> folder;
};

TEST_P(OutputFileTest, TheNameAppearsOnlyWhenPlacedAndOnlyTheTargetRemains)
{
    OutputFile file = written("rec_1.amr", "#!AMR\n");
    file.device().write("more");
    EXPECT_FALSE(exists(under(dir, "rec_1.amr")));
    EXPECT_EQ(file.place(Placement::KeepExisting), PlaceOutcome::Placed);
    EXPECT_EQ(readBytes(under(dir, "rec_1.amr")), QByteArray("#!AMR\nmore"));
    EXPECT_EQ(entries(dir), QStringList{QStringLiteral("rec_1.amr")});
}

TEST_P(OutputFileTest, OfTwoWritersRacingForOneNameExactlyOnePlacesAndItsBytesStay)
{
    for (int round = 0; round < 30; ++round) {
        const QByteArray name = "race_" + QByteArray::number(round) + ".amr";
        PlaceOutcome outcomes[2];
        std::atomic<int> ready{0};
        auto writer = [&](int i) {
            OutputFile file = written(name, QByteArray(4096, char('A' + i)));
            ++ready;
            while (ready < 2) {
            }
            outcomes[i] = file.place(Placement::KeepExisting);
        };
        std::thread first(writer, 0), second(writer, 1);
        first.join();
        second.join();
        ASSERT_NE(outcomes[0], outcomes[1]) << "round " << round;
        const char winner = outcomes[0] == PlaceOutcome::Placed ? 'A' : 'B';
        EXPECT_EQ(readBytes(under(dir, name)), QByteArray(4096, winner));
    }
    EXPECT_EQ(entries(dir).size(), 30);
}

TEST_P(OutputFileTest, ALinkAtTheNameIsNeverWrittenThroughAndOnlyReplacedItself)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("victim")));
    writeBytes(under(dir, "victim/kept.txt"), "victim");
    ASSERT_EQ(::symlink("victim/new.txt", under(dir, "dangling.amr").constData()), 0);
    ASSERT_EQ(::symlink("victim/kept.txt", under(dir, "toFile.amr").constData()), 0);

    for (const QByteArray &name : {QByteArray("dangling.amr"), QByteArray("toFile.amr")}) {
        OutputFile kept = written(name, "new");
        EXPECT_EQ(kept.place(Placement::KeepExisting), PlaceOutcome::NameTaken) << name.data();
        EXPECT_TRUE(isLink(under(dir, name)));

        OutputFile replacing = written(name, "new");
        EXPECT_EQ(replacing.place(Placement::ReplaceExisting), PlaceOutcome::Placed);
        EXPECT_FALSE(isLink(under(dir, name)));
        EXPECT_EQ(readBytes(under(dir, name)), QByteArray("new"));
    }
    EXPECT_FALSE(exists(under(dir, "victim/new.txt")));
    EXPECT_EQ(readBytes(under(dir, "victim/kept.txt")), QByteArray("victim"));
    EXPECT_EQ(entries(dir), (QStringList{QStringLiteral("dangling.amr"),
                                         QStringLiteral("toFile.amr"), QStringLiteral("victim")}));
}

TEST_P(OutputFileTest, AFailingWriteLeavesNoFileAndNoTemporary)
{
    {
        const FileSizeLimit full(1000);
        OutputFile direct(*folder, "direct.amr", GetParam());
        EXPECT_THROW(direct.write(QByteArray(4000, 'x')), ExtractError);
        EXPECT_THROW(direct.place(Placement::KeepExisting), ExtractError);

        OutputFile encoded(*folder, "encoded.amr", GetParam());
        encoded.device().write(QByteArray(4000, 'x'));
        EXPECT_THROW(encoded.finishWriting(), ExtractError);
    }
    EXPECT_EQ(entries(dir), QStringList());
}

TEST_P(OutputFileTest, NamesWithAFolderPartAreRefused)
{
    for (const QByteArray &name : {QByteArray(""), QByteArray(".."), QByteArray("a/b.amr")})
        EXPECT_THROW(OutputFile(*folder, name, GetParam()), ExtractError) << name.data();
}

INSTANTIATE_TEST_SUITE_P(Temporaries, OutputFileTest,
                         ::testing::Values(OutputFile::Temporary::Automatic,
                                           OutputFile::Temporary::Named),
                         [](const auto &info) {
                             return info.param == OutputFile::Temporary::Named ? "Named"
                                                                               : "Unnamed";
                         });

} // namespace
