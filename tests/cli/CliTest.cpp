#include "CliFixture.h"
#include "SampleContainer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

class CliTest : public CliFixture
{
protected:
    SampleGen::Layout writeContainer(const QString &name, int recordings, quint32 seed)
    {
        SampleGen::Random random(seed);
        QVector<QByteArray> parts;
        for (int k = 0; k < recordings; ++k)
            parts.append(SampleGen::amrRecording(20 + 15 * k, 7 - k % 3, random));
        SampleGen::Layout layout = SampleGen::container(parts, random);
        write(name, layout.bytes);
        return layout;
    }
    QStringList amrFiles(const QString &sub = QStringLiteral(".")) const
    {
        return QDir(path(sub)).entryList({"*.amr"}, QDir::Files, QDir::Name);
    }
};

TEST_F(CliTest, ListJsonDescribesEveryContainer)
{
    const SampleGen::Layout layout = writeContainer("calls.drf", 3, 11);
    write("empty.drf", QByteArray());
    const CliRun result = run({"list", "--json", "calls.drf", "empty.drf", "missing.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("vocafetch-cli: missing.drf: Cannot open missing.drf."))
        << result.err.toStdString();

    const QJsonArray containers =
        QJsonDocument::fromJson(result.out).object().value("containers").toArray();
    ASSERT_EQ(containers.size(), 3) << result.outText().toStdString();
    const QJsonObject calls = containers[0].toObject();
    EXPECT_EQ(calls.value("path").toString(), "calls.drf");
    EXPECT_EQ(calls.value("size").toInt(), layout.bytes.size());
    QJsonArray markers;
    for (qint32 marker : layout.markers)
        markers.append(marker);
    EXPECT_EQ(calls.value("markers").toArray(), markers);
    const QJsonArray recordings = calls.value("recordings").toArray();
    ASSERT_EQ(recordings.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject recording = recordings[i].toObject();
        EXPECT_EQ(recording.value("number").toInt(), i + 1);
        EXPECT_EQ(recording.value("offset").toInt(), layout.recordingStarts[i]);
        EXPECT_EQ(recording.value("size").toInt(), layout.recordingSizes[i]);
    }
    EXPECT_TRUE(containers[1].toObject().value("recordings").toArray().isEmpty());
    const QJsonObject missing = containers[2].toObject();
    EXPECT_EQ(missing.value("path").toString(), "missing.drf");
    EXPECT_TRUE(missing.value("error").toString().startsWith("Cannot open missing.drf."));
    EXPECT_FALSE(missing.contains("recordings"));

    const CliRun text = run({"list", "calls.drf"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.outText().startsWith(
        QStringLiteral("calls.drf: %1 bytes, 3 recordings, 3 markers").arg(layout.bytes.size())))
        << text.outText().toStdString();
}

TEST_F(CliTest, ExtractWritesEachRecordingByteForByte)
{
    const SampleGen::Layout layout = writeContainer("calls.v2.drf", 4, 5);
    const CliRun result = run({"extract", "calls.v2.drf"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    ASSERT_EQ(amrFiles(), QStringList({"calls.v2_1.amr", "calls.v2_2.amr", "calls.v2_3.amr",
                                       "calls.v2_4.amr"}));
    for (int i = 0; i < 4; ++i) {
        const QByteArray bytes = read(QStringLiteral("calls.v2_%1.amr").arg(i + 1));
        EXPECT_EQ(bytes, layout.bytes.mid(layout.recordingStarts[i], layout.recordingSizes[i]));
        EXPECT_TRUE(bytes.startsWith("#!AMR\n"));
    }
}

TEST_F(CliTest, ExtractNeverOverwritesWithoutForce)
{
    const SampleGen::Layout first = writeContainer("a.drf", 2, 1);
    const SampleGen::Layout second = writeContainer("b.drf", 2, 2);
    QDir(dir.path()).mkdir("out");
    write("out/a_2.amr", "keep me");

    CliRun result = run({"extract", "-o", "out", "a.drf", "b.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("vocafetch-cli: a.drf: "));
    EXPECT_TRUE(result.err.contains("a_2.amr exists")) << result.err.toStdString();
    // The refused container wrote nothing; the other one still ran.
    EXPECT_EQ(amrFiles("out"), QStringList({"a_2.amr", "b_1.amr", "b_2.amr"}));
    EXPECT_EQ(read("out/a_2.amr"), "keep me");

    result = run({"extract", "-o", "out", "--force", "a.drf"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(read("out/a_2.amr"), first.bytes.mid(first.recordingStarts[1]));

    // One prefix for several containers numbers on across them, in the order given.
    result = run({"extract", "-o", "joined", "--prefix", "rec", "b.drf", "a.drf"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(amrFiles("joined"),
              QStringList({"rec_1.amr", "rec_2.amr", "rec_3.amr", "rec_4.amr"}));
    EXPECT_EQ(read("joined/rec_2.amr"), second.bytes.mid(second.recordingStarts[1]));
    EXPECT_EQ(read("joined/rec_3.amr"),
              first.bytes.mid(first.recordingStarts[0], first.recordingSizes[0]));
    // A second run numbers from 1 again and finds its names taken.
    result = run({"extract", "-o", "joined", "--prefix", "rec", "a.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("rec_1.amr exists")) << result.err.toStdString();

    // Without a prefix two containers of one name would write the same files: the second is
    // refused, even with --force.
    QDir(dir.path()).mkdir("copy");
    write("copy/a.drf", second.bytes);
    result = run({"extract", "-o", "twice", "--force", "a.drf", "copy/a.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("vocafetch-cli: copy/a.drf: ") &&
                result.err.contains("was just written from another container"))
        << result.err.toStdString();
    EXPECT_EQ(read("twice/a_1.amr"),
              first.bytes.mid(first.recordingStarts[0], first.recordingSizes[0]));
}

TEST_F(CliTest, BadPathsAndUsage)
{
    writeContainer("ok.drf", 1, 3);
    CliRun result = run({"extract", "nothere.drf", ".", "ok.drf"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("vocafetch-cli: nothere.drf: Cannot open nothere.drf. (No "
                                    "such file or directory.)"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("vocafetch-cli: .: Cannot open"));
    EXPECT_EQ(amrFiles(), QStringList({"ok_1.amr"}));

    // The output folder cannot be made: a file stands in its way.
    write("blocker", "x");
    result = run({"extract", "-o", "blocker/sub", "ok.drf"});
    EXPECT_EQ(result.exitCode, 1);

    for (const QStringList &bad :
         {QStringList{}, QStringList{"list"}, QStringList{"frob", "x"},
          QStringList{"list", "--nope", "ok.drf"}, QStringList{"extract", "-o"}}) {
        result = run(bad);
        EXPECT_EQ(result.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(result.err.startsWith("vocafetch-cli: ")) << result.err.toStdString();
    }
    result = run({"--version"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outText().trimmed(), "vocafetch-cli " VOCAFETCH_VERSION);
    result = run({"extract", "--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.outText().contains("--prefix"));
}

} // namespace
