#include "ExactBuffer.h"
#include "SampleContainers.h"
#include "extract/ExtractError.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "extract/encode/WavFile.h"
#include "support/Decoding.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

using namespace vocafetch;

using namespace RecGen;

namespace {

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

double rms(const QByteArray &pcm, qint64 firstSample, qint64 count)
{
    double sum = 0;
    for (qint64 i = firstSample; i < firstSample + count; ++i) {
        const double s = qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
        sum += s * s;
    }
    return std::sqrt(sum / double(count));
}

PcmAudio decode(const Recording &recording)
{
    const ExactBuffer buffer(recording.bytes);
    return decodeWhole(buffer.data(), buffer.size());
}

} // namespace

TEST(Decode, GivesTwentyMillisecondsOfSamplesPerFrame)
{
    Rng rng(31);
    struct Case
    {
        const char *what;
        Recording recording;
        int rate;
        int samplesPerFrame;
    };
    const Case cases[] = {
        {"narrow band, damaged, foreign SID",
         makeRecording(
             AmrFormat::NarrowBand, 1,
             randomFrames(false, 120, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15}, 7, rng)),
         8000, 160},
        {"wide band, speech lost",
         makeRecording(AmrFormat::WideBand, 1,
                       randomFrames(true, 90, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15}, 5, rng)),
         16000, 320},
        {"two-channel narrow band",
         makeRecording(AmrFormat::MultiChannelNarrowBand, 2,
                       randomFrames(false, 2 * 70, {7, 4}, 0, rng)),
         8000, 160},
        {"three-channel wide band",
         makeRecording(AmrFormat::MultiChannelWideBand, 3,
                       randomFrames(true, 3 * 30, {8, 2, 9}, 0, rng)),
         16000, 320},
        {"header only", makeRecording(AmrFormat::NarrowBand, 1, {}), 8000, 160},
    };
    for (const Case &c : cases) {
        const PcmAudio audio = decode(c.recording);
        ASSERT_TRUE(audio.ok()) << c.what << ": " << qPrintable(audio.error);
        EXPECT_EQ(audio.sampleRate, c.rate) << c.what;
        EXPECT_EQ(audio.frames, c.recording.frames) << c.what;
        EXPECT_EQ(audio.sampleCount(), c.recording.frames * c.samplesPerFrame) << c.what;
        if (audio.sampleCount() > 0) {
            EXPECT_GT(rms(audio.samples, 0, audio.sampleCount()), 10.0) << c.what;
        }
    }
}

TEST(Decode, RestoresTheVoiceOfRealSpeechFrames)
{
    // One second cycles: 30 frames of voice, then 20 of pause (SID and NO_DATA).
    const Recording speech =
        makeRecording(AmrFormat::NarrowBand, 1, encodedSpeechFrames(100, {7, 0}, true));
    ASSERT_TRUE(speech.frameTypes & (1 << 8));
    ASSERT_TRUE(speech.frameTypes & (1 << 15));
    const PcmAudio audio = decode(speech);
    ASSERT_TRUE(audio.ok());
    ASSERT_EQ(audio.sampleCount(), 100 * 160);
    for (int second = 0; second < 2; ++second) {
        const double voice = rms(audio.samples, (second * 50 + 10) * 160, 15 * 160);
        const double pause = rms(audio.samples, (second * 50 + 38) * 160, 10 * 160);
        EXPECT_GT(voice, 2000.0) << second;
        EXPECT_LT(pause, voice / 20) << second;
    }
}

TEST(Decode, RefusesAnUnknownHeader)
{
    const ExactBuffer buffer(QByteArray("#!AMR?\n<0123456789012345678901234567890"));
    const PcmAudio audio = decodeWhole(buffer.data(), buffer.size());
    EXPECT_FALSE(audio.ok());
    EXPECT_EQ(audio.sampleCount(), 0);
    QBuffer never;
    ASSERT_TRUE(never.open(QIODevice::WriteOnly));
    EXPECT_THROW(encodeWhole(never, vocafetch::OutputFormat::Wav, buffer.data(), buffer.size()),
                 ExtractError);
    EXPECT_EQ(never.size(), 0);
}

TEST(Wav, WritesAStandardHeaderAndAllSamples)
{
    Rng rng(32);
    const Recording wide =
        makeRecording(AmrFormat::WideBand, 1, randomFrames(true, 40, {2, 8}, 0, rng));
    const ExactBuffer buffer(wide.bytes);
    QBuffer streamed;
    ASSERT_TRUE(streamed.open(QIODevice::WriteOnly));
    encodeWhole(streamed, vocafetch::OutputFormat::Wav, buffer.data(), buffer.size());
    const PcmAudio audio = decodeWhole(buffer.data(), buffer.size());

    const QByteArray wav = streamed.data();
    const quint32 dataBytes = 40 * 320 * 2;
    ASSERT_EQ(wav.size(), 44 + dataBytes);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(le32(wav, 4), 36 + dataBytes);
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 16), 16u);
    EXPECT_EQ(le16(wav, 20), 1); // PCM
    EXPECT_EQ(le16(wav, 22), 1); // mono
    EXPECT_EQ(le32(wav, 24), 16000u);
    EXPECT_EQ(le32(wav, 28), 32000u);
    EXPECT_EQ(le16(wav, 32), 2);
    EXPECT_EQ(le16(wav, 34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(le32(wav, 40), dataBytes);
    EXPECT_EQ(wav.mid(44), audio.samples);
}

// ffprobe, where installed, must read every clean cut and WAV file with its full duration.
TEST(Decode, FfprobeReadsCleanFilesWithTheExpectedDuration)
{
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty())
        GTEST_SKIP() << "ffprobe is not installed";
    // The packets' last end: container-level durations of AMR files are only estimates.
    auto probedMs = [&](const QString &path) {
        QProcess probe;
        probe.start(ffprobe, {"-v", "error", "-show_entries", "packet=pts_time,duration_time",
                              "-of", "csv=p=0", path});
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
            return -1.0;
        const QList<QByteArray> last =
            probe.readAllStandardOutput().trimmed().split('\n').last().split(',');
        return last.size() == 2 ? (last[0].toDouble() + last[1].toDouble()) * 1000.0 : -1.0;
    };
    QTemporaryDir dir;
    int checked = 0;
    for (const ContainerBuilder &builder : {multipartSample(), mixedSample()}) {
        const ExactBuffer buffer(builder.data());
        for (const RecordingAnalysis &recording :
             analyseRecordings(buffer.data(), buffer.size(), builder.starts())) {
            const ByteSpan span = cleanRange(recording);
            const QString name = dir.filePath(QString::number(++checked));
            {
                QFile wav(name + ".wav");
                ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
                encodeWhole(wav, vocafetch::OutputFormat::Wav, buffer.data() + span.begin,
                            span.size());
            }
            EXPECT_NEAR(probedMs(name + ".wav"), double(recording.durationMs()), 1.0) << checked;
            // ffprobe reads no multichannel AMR; every single-channel clean cut it must.
            if (isMultiChannel(recording.format()))
                continue;
            writeFile(name + ".amr", builder.data().mid(span.begin, span.size()));
            EXPECT_NEAR(probedMs(name + ".amr"), double(recording.durationMs()), 1.0) << checked;
        }
    }
    EXPECT_EQ(checked, 6);
}
