// Recordings encoded to every format and read back by ffprobe and ffmpeg (their tags are tested
// with the saves that write them), and encoders that meet
// a full disk or a device refusing bytes.
#include "extract/encode/AudioEncoder.h"
#include "ExactBuffer.h"
#include "RecordingGenerator.h"
#include "extract/ContainerSession.h"
#include "extract/ExtractError.h"
#include "extract/SaveRun.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/encode/RecordingEncoding.h"
#include "support/Decoding.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

using namespace RecGen;
using namespace vocafetch;

namespace {

constexpr OutputFormat AllFormats[] = {OutputFormat::Wav, OutputFormat::Flac, OutputFormat::Opus,
                                       OutputFormat::Mp3};

QString extensionOf(OutputFormat format)
{
    return formatInfo(format).extension;
}

struct Sample
{
    const char *what;
    Recording recording;
    int rate;
};

QList<Sample> samples()
{
    Rng rng(41);
    return {{"narrow band speech",
             makeRecording(AmrFormat::NarrowBand, 1, encodedSpeechFrames(150, {7, 0}, true)), 8000},
            {"wide band",
             makeRecording(AmrFormat::WideBand, 1, randomFrames(true, 100, {2, 8}, 0, rng)),
             16000}};
}

QByteArray run(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QByteArray();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

QJsonObject probe(const QString &path)
{
    return QJsonDocument::fromJson(
               run(QStringLiteral("ffprobe"),
                   {"-v", "error", "-show_streams", "-show_format", "-of", "json", path}))
        .object();
}

// What a decoder plays: gapless MP3 decoding drops the encoder delay and padding.
QByteArray decodedPcm(const QString &path, int rate)
{
    return run(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-f", "s16le", "-ac", "1",
                                          "-ar", QString::number(rate), "-"});
}

// Accepts a set number of bytes, then refuses every write as a full or broken device does.
class RefusingDevice : public QBuffer
{
public:
    explicit RefusingDevice(qint64 accepted) : m_accepted(accepted) {}

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        if (pos() + size > m_accepted) {
            setErrorString(QStringLiteral("The device refuses writes"));
            return -1;
        }
        return QBuffer::writeData(data, size);
    }

private:
    qint64 m_accepted;
};

// A device that cannot seek back, as a pipe or a socket.
class PipeLike : public QBuffer
{
public:
    bool isSequential() const override { return true; }
};

// What ffprobe and ffmpeg find in a recording encoded as format at path.
void expectPlaysBack(const QString &path, OutputFormat format, const Sample &sample,
                     const QByteArray &pcm)
{
    const QMap<OutputFormat, QString> codecs = {{OutputFormat::Wav, "pcm_s16le"},
                                                {OutputFormat::Flac, "flac"},
                                                {OutputFormat::Opus, "opus"},
                                                {OutputFormat::Mp3, "mp3"}};
    SCOPED_TRACE(QString("%1 as %2").arg(sample.what, path).toStdString());
    const QJsonObject probed = probe(path);
    const QJsonObject stream = probed["streams"][0].toObject();
    EXPECT_EQ(stream["codec_name"].toString(), codecs[format]);
    // Opus always decodes at 48 kHz; the input rate is only a note in its header.
    EXPECT_EQ(stream["sample_rate"].toString().toInt(),
              format == OutputFormat::Opus ? 48000 : sample.rate);
    EXPECT_EQ(stream["channels"].toInt(), 1);

    const double expectedMs = sample.recording.frames * 20.0;
    const double probedMs = probed["format"]["duration"].toString().toDouble() * 1000;
    const QByteArray decoded = decodedPcm(path, sample.rate);
    EXPECT_NEAR(decoded.size() / 2 * 1000.0 / sample.rate, expectedMs, 40);
    if (format == OutputFormat::Mp3) {
        // ffprobe counts whole MP3 frames, encoder delay and padding included; the LAME Info
        // header lets the decoder above drop them.
        EXPECT_GE(probedMs, expectedMs - 1);
        EXPECT_LE(probedMs, expectedMs + 200);
        EXPECT_EQ(stream["bit_rate"].toString().toInt(), sample.rate == 8000 ? 32000 : 40000);
    } else {
        EXPECT_NEAR(probedMs, expectedMs, 40);
    }
    if (format == OutputFormat::Wav || format == OutputFormat::Flac) {
        EXPECT_EQ(decoded, pcm);
    }
    if (format == OutputFormat::Opus) {
        EXPECT_LT(probed["format"]["bit_rate"].toString().toInt(), 40000);
    }
}

} // namespace

TEST(OutputFormat, EachFormatIsOneRowChosenByItsNameInAnyCase)
{
    EXPECT_EQ(outputFormatNames(), QStringList({"amr", "wav", "flac", "opus", "mp3"}));
    EXPECT_EQ(outputFormatFilters().value(4), "MP3 (*.mp3)");
    for (const OutputFormatInfo &info : outputFormats()) {
        EXPECT_EQ(outputFormatNamed(info.name), info.format);
        EXPECT_EQ(outputFormatNamed(QString(info.name).toUpper()), info.format);
        // Only AMR is saved without an encoder.
        EXPECT_EQ(info.codec == 0, info.format == OutputFormat::Amr);
    }
    for (const char *other : {"", "ogg", "wave", " mp3"})
        EXPECT_FALSE(outputFormatNamed(other).has_value()) << other;
    EXPECT_EQ(OutputKind::named("AMR", true), OutputKind::cleanCut());
    EXPECT_EQ(OutputKind::named("wav", true), OutputKind::decoded(OutputFormat::Wav));
}

TEST(AudioEncoder, EveryFormatPlaysBackWithItsCodecRateAndLength)
{
    if (QStandardPaths::findExecutable("ffprobe").isEmpty() ||
        QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    for (const Sample &sample : samples()) {
        const ExactBuffer buffer(sample.recording.bytes);
        const PcmAudio pcm = decodeWhole(buffer.data(), buffer.size());
        for (OutputFormat format : AllFormats) {
            const QString path =
                dir.filePath(QString::number(sample.rate) + "." + extensionOf(format));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            encodeWhole(file, format, buffer.data(), buffer.size());
            file.close();
            expectPlaysBack(path, format, sample, pcm.samples);
        }
    }
}

TEST(AudioEncoder, AFullDiskThrowsAndKeepsTheOldFile)
{
    const Recording recording = samples().first().recording;
    QTemporaryDir dir;
    const QString container = dir.filePath("c.drf");
    {
        QFile file(container);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(recording.bytes));
    }
    ContainerSession session(container);
    for (OutputFormat format : AllFormats) {
        const QString path = dir.filePath("old_1." + extensionOf(format));
        {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        SavePlan plan = planSaveAll(session, OutputKind::decoded(format), dir.filePath("old"));
        plan.placement = Placement::ReplaceExisting;
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit full = saved;
        full.rlim_cur = 1500; // more than any header, less than any of the encoded files
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
        ErrorKind kind = ErrorKind::Other;
        try {
            saveRecordings(session, plan);
        } catch (const ExtractError &e) {
            kind = e.kind();
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);

        EXPECT_EQ(kind, ErrorKind::CannotCreate) << qPrintable(path);
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old")) << qPrintable(path);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

TEST(AudioEncoder, ADeviceRefusingBytesThrowsWithItsReason)
{
    const Recording recording = samples().first().recording;
    const ExactBuffer buffer(recording.bytes);
    for (OutputFormat format : AllFormats) {
        for (qint64 accepted : {0, 20, 1000}) {
            RefusingDevice device(accepted);
            ASSERT_TRUE(device.open(QIODevice::WriteOnly));
            try {
                encodeWhole(device, format, buffer.data(), buffer.size());
                ADD_FAILURE() << "no error for " << qPrintable(extensionOf(format)) << " after "
                              << accepted << " bytes";
            } catch (const ExtractError &error) {
                EXPECT_TRUE(error.message().contains("The device refuses writes")) << error.what();
            }
        }
    }
}

TEST(AudioEncoder, RefusesWhatItCannotEncode)
{
    QBuffer closed;
    EXPECT_THROW({ AudioEncoder e(closed, OutputFormat::Flac, 8000); }, ExtractError);
    PipeLike pipe;
    ASSERT_TRUE(pipe.open(QIODevice::WriteOnly));
    EXPECT_THROW({ AudioEncoder e(pipe, OutputFormat::Opus, 8000); }, ExtractError);
    QBuffer out;
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    EXPECT_THROW({ AudioEncoder e(out, OutputFormat::Mp3, 44100); }, ExtractError);
    EXPECT_EQ(out.size(), 0);

    AudioEncoder encoder(out, OutputFormat::Wav, 16000);
    const qint16 silence[320] = {};
    encoder.write(silence, 320);
    encoder.finish();
    EXPECT_EQ(out.size(), 44 + 640);
    EXPECT_THROW(encoder.write(silence, 320), ExtractError);
    EXPECT_THROW(encoder.finish(), ExtractError);

    const ExactBuffer unknown(QByteArray("#!AMR-XX\n0123456789"));
    QBuffer never;
    ASSERT_TRUE(never.open(QIODevice::WriteOnly));
    EXPECT_THROW(encodeWhole(never, OutputFormat::Opus, unknown.data(), unknown.size()),
                 ExtractError);
    EXPECT_EQ(never.size(), 0);
}
