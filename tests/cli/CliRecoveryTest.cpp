// What vocafetch-cli makes of recordings people can play anywhere: every output format, a
// signature in altered case, and recordings whose signature is gone.
#include "CliFixture.h"
#include "RecordingGenerator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

using namespace vocafetch;

namespace {

using namespace RecGen;

Recording speechRecording(int frames)
{
    return makeRecording(AmrFormat::NarrowBand, 1, encodedSpeechFrames(frames, {7, 5, 2}, false));
}

QJsonObject probe(const QString &file)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-show_streams", "-show_format", "-of", "json", file});
    if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
}

class CliRecoveryTest : public CliFixture
{
protected:
    QJsonArray listed(const QStringList &arguments)
    {
        const CliRun result = run(QStringList{"list", "--json"} + arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return listedRecordings(result.out);
    }
};

TEST_F(CliRecoveryTest, EveryFormatIsReadBackWithItsCodecLengthAndTags)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty())
        GTEST_SKIP() << "ffprobe is not installed";
    const Recording recording = speechRecording(150); // 3 s
    write("voice.drf", QByteArray(40, '.') + recording.bytes + QByteArray(30, '\xff'));
    const struct
    {
        const char *format;
        const char *codec;
        double slack; // seconds a format may add (MP3's encoder delay and padding)
    } formats[] = {{"wav", "pcm_s16le", 0.04},
                   {"flac", "flac", 0.04},
                   {"opus", "opus", 0.04},
                   {"mp3", "mp3", 0.2}};
    for (const auto &f : formats) {
        SCOPED_TRACE(f.format);
        const CliRun result = run({"extract", "--format", f.format, "-o", "out", "voice.drf"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QJsonObject info = probe(path(QStringLiteral("out/voice_1.%1").arg(f.format)));
        const QJsonObject stream = info.value("streams").toArray().at(0).toObject();
        EXPECT_EQ(stream.value("codec_name").toString(), f.codec);
        EXPECT_EQ(stream.value("channels").toInt(), 1);
        const double duration =
            info.value("format").toObject().value("duration").toString().toDouble();
        EXPECT_GE(duration, 3.0 - 0.04);
        EXPECT_LE(duration, 3.0 + f.slack);
        if (QByteArray(f.format) != "wav") {
            const QJsonObject tags = info.value("format").toObject().value("tags").toObject();
            const QJsonObject streamTags = stream.value("tags").toObject();
            const auto tag = [&](const char *key) {
                for (const QJsonObject &t : {tags, streamTags})
                    for (auto it = t.begin(); it != t.end(); ++it)
                        if (it.key().compare(key, Qt::CaseInsensitive) == 0)
                            return it.value().toString();
                return QString();
            };
            EXPECT_EQ(tag("title"), QStringLiteral("Запись_1"));
            EXPECT_EQ(tag("album"), QStringLiteral("voice.drf"));
        }
    }
    EXPECT_EQ(run({"extract", "--format", "ogg", "voice.drf"}).exitCode, 2);
}

TEST_F(CliRecoveryTest, SignaturesInAlteredCaseAreAnalysedAndCleanCutsGetTheCanonicalHeader)
{
    Recording recording = speechRecording(60);
    recording.bytes.replace(0, 6, "#!aMr\n");
    write("odd.drf", QByteArray(10, '.') + recording.bytes);
    const QJsonArray recordings = listed({"odd.drf"});
    ASSERT_EQ(recordings.size(), 1);
    EXPECT_EQ(recordings[0].toObject().value("format").toString(), "amr-nb");
    EXPECT_EQ(recordings[0].toObject().value("frames").toInt(), 60);

    ASSERT_EQ(run({"extract", "--clean", "odd.drf"}).exitCode, 0);
    EXPECT_EQ(read("odd_1.amr"), "#!AMR\n" + recording.bytes.mid(6));
    // The default save stays byte for byte what the container holds.
    ASSERT_EQ(run({"extract", "-o", "whole", "odd.drf"}).exitCode, 0);
    EXPECT_EQ(read("whole/odd_1.amr"), recording.bytes);
}

TEST_F(CliRecoveryTest, HeaderlessRecordingsAreFoundOnlyWhenAskedAndSavedPlayable)
{
    const Recording signedOne = speechRecording(80);
    const Recording lost = speechRecording(120);
    // A recording whose signature and header were overwritten, then a signed one.
    QByteArray container = QByteArray(64, '\xff') + QByteArray(6, '\0') + lost.bytes.mid(6) +
                           QByteArray(16, '\xff') + signedOne.bytes;
    write("lost.drf", container);
    EXPECT_EQ(listed({"lost.drf"}).size(), 1);

    const QJsonArray recordings = listed({"--headerless", "lost.drf"});
    ASSERT_EQ(recordings.size(), 2);
    const QJsonObject found = recordings[1].toObject();
    EXPECT_TRUE(found.value("headerless").toBool());
    EXPECT_FALSE(recordings[0].toObject().value("headerless").toBool());
    EXPECT_EQ(found.value("number").toInt(), 2);
    EXPECT_NEAR(found.value("frames").toInt(), 120, 3);

    ASSERT_EQ(run({"extract", "--headerless", "-o", "out", "lost.drf"}).exitCode, 0);
    // Named apart from the intact ones, numbered in container order.
    const QByteArray saved = read("out/lost_lost_1.amr");
    EXPECT_TRUE(saved.startsWith("#!AMR\n"));
    EXPECT_TRUE(lost.bytes.endsWith(saved.mid(6))) << saved.size();
    EXPECT_EQ(read("out/lost_1.amr"), signedOne.bytes);
    EXPECT_EQ(read("out/lost_2.amr"), "<missing>");
}

} // namespace
