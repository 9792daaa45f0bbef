// What vocafetch-cli prints: the help, counts in words, names that cannot break a line, and
// output that cannot be written, which is an error and never a success.
#include "CliFixture.h"
#include "SampleContainer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

using namespace vocafetch;

namespace {

class CliOutputTest : public CliFixture
{
protected:
    QByteArray container(int recordings, quint32 seed)
    {
        SampleGen::Random random(seed);
        QVector<QByteArray> parts;
        for (int k = 0; k < recordings; ++k)
            parts.append(SampleGen::amrRecording(12 + 5 * k, 7, random));
        return SampleGen::container(parts, random).bytes;
    }
    // The long names of the options a help text lists.
    static QSet<QString> optionsIn(const QString &help)
    {
        QSet<QString> names;
        const QRegularExpression option(QStringLiteral("^  (?:-\\S+, )*(--[a-z-]+)"),
                                        QRegularExpression::MultilineOption);
        for (auto it = option.globalMatch(help); it.hasNext();)
            names.insert(it.next().captured(1));
        return names;
    }
    CliRun runInto(const QString &stdoutFile, const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setStandardOutputFile(stdoutFile);
        process.start(QStringLiteral(VOCAFETCH_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        CliRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
};

TEST_F(CliOutputTest, TheHelpWithoutACommandNamesEveryOptionOfBoth)
{
    const CliRun list = run({"list", "--help"});
    const CliRun extract = run({"extract", "--help"});
    ASSERT_EQ(list.exitCode, 0);
    ASSERT_EQ(extract.exitCode, 0);
    const QSet<QString> every = optionsIn(list.outText()) + optionsIn(extract.outText());
    EXPECT_TRUE(every.contains("--json") && every.contains("--prefix") &&
                every.contains("--headerless"));
    for (const QStringList &arguments : {QStringList{"--help"}, QStringList{"--help-all"},
                                         QStringList{"list", "--help-all"}, QStringList{"-h"}}) {
        const CliRun help = run(arguments);
        EXPECT_EQ(help.exitCode, 0) << arguments.join(' ').toStdString() << help.err.toStdString();
        EXPECT_EQ(optionsIn(help.outText()), every) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(run({"--help"}).outText().contains("extract: Replace files that exist."));
}

TEST_F(CliOutputTest, CountsAreWordedInTheSingularAndThePlural)
{
    write("one.drf", container(1, 1));
    write("two.drf", container(2, 2));
    const QString listing = run({"list", "one.drf", "two.drf"}).outText();
    EXPECT_TRUE(listing.contains(QRegularExpression("^one.drf: \\d+ bytes, 1 recording, 1 marker\n",
                                                    QRegularExpression::MultilineOption)))
        << listing.toStdString();
    EXPECT_TRUE(listing.contains(QRegularExpression(
        "^two.drf: \\d+ bytes, 2 recordings, 2 markers\n", QRegularExpression::MultilineOption)));
    const CliRun extracted = run({"extract", "-o", "out", "one.drf", "two.drf"});
    EXPECT_TRUE(extracted.outText().contains("one.drf: 1 recording written to out\n"))
        << extracted.outText().toStdString();
    EXPECT_TRUE(extracted.outText().contains("two.drf: 2 recordings written to out\n"));
    const QString walked = run({"list", "-r", "out"}).outText();
    EXPECT_TRUE(walked.contains("3 files looked at: 3 recordings found, 0 files without "
                                "recordings"))
        << walked.toStdString();
}

TEST_F(CliOutputTest, ControlCharactersInNamesAreEscapedSoNoLineIsForged)
{
    // A name that, printed as it is, would end the line and add one that looks like a listing.
    const QString forged = QStringLiteral("a\nb.drf: 9 bytes, 9 recordings, 0 markers\x1b[2J.drf");
    write(forged, container(1, 3));
    const CliRun list = run({"list", forged, "missing\tfile\r.drf"});
    EXPECT_EQ(list.exitCode, 1);
    const QStringList lines = list.outText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << list.outText().toStdString();
    EXPECT_TRUE(lines[0].startsWith("a\\nb.drf: 9 bytes, 9 recordings, 0 markers\\x1b[2J.drf: "))
        << lines[0].toStdString();
    EXPECT_EQ(list.err.count('\n'), 1) << list.err.toStdString();
    EXPECT_TRUE(list.err.startsWith("vocafetch-cli: missing\\tfile\\r.drf: Cannot open "))
        << list.err.toStdString();

    // JSON keeps the name whole, escaped its own way.
    const CliRun json = run({"list", "--json", forged});
    EXPECT_EQ(listedRecordings(json.out).size(), 1);
    EXPECT_TRUE(json.outText().contains("\"path\":\"a\\nb.drf"));

    const CliRun extract = run({"extract", "-o", "out", forged});
    EXPECT_EQ(extract.exitCode, 0) << extract.err.toStdString();
    EXPECT_EQ(extract.outText().count('\n'), 1) << extract.outText().toStdString();
}

TEST_F(CliOutputTest, OutputThatCannotBeWrittenIsAnError)
{
    write("v.drf", container(2, 4));
    for (const QStringList &arguments :
         {QStringList{"list", "--json", "v.drf"}, QStringList{"list", "v.drf"},
          QStringList{"extract", "-o", "out", "--force", "v.drf"}, QStringList{"--help"}}) {
        const CliRun full = runInto(QStringLiteral("/dev/full"), arguments);
        EXPECT_EQ(full.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(full.err.contains("vocafetch-cli: cannot write the output: No space left on "
                                      "device"))
            << arguments.join(' ').toStdString() << full.err.toStdString();
    }
    // The same into a file that can be written succeeds.
    EXPECT_EQ(runInto(path("listing.json"), {"list", "--json", "v.drf"}).exitCode, 0);
    EXPECT_EQ(listedRecordings(read("listing.json")).size(), 2);
}

} // namespace
