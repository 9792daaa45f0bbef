#include "extract/encode/AudioEncoder.h"

#include "extract/ExtractError.h"
#include "extract/encode/SndfileDevice.h"

#include <QFileDevice>

#include <sndfile.h>

namespace vocafetch {

namespace {

constexpr int OpusBitsPerSecond = 24000;
constexpr int Mp3NarrowBandKbps = 32;
constexpr int Mp3WideBandKbps = 40;

QString formatName(OutputFormat format)
{
    return formatInfo(format).label;
}

void checkArguments(const QIODevice &out, OutputFormat format, int sampleRate)
{
    if (sampleRate != 8000 && sampleRate != 16000)
        throw ExtractError(
            QStringLiteral("Cannot encode audio of %1 Hz; 8000 or 16000 Hz is expected")
                .arg(sampleRate));
    if (!out.isWritable())
        throw ExtractError(
            QStringLiteral("The %1 output is not open for writing").arg(formatName(format)));
    // Every format's header or trailer is completed by seeking back at the end.
    if (out.isSequential())
        throw ExtractError(
            QStringLiteral("The %1 output does not allow seeking").arg(formatName(format)));
}

// libsndfile maps a compression level of 0 to 1 linearly onto a bit-rate range: Opus 6 to
// 256 kbit/s, MP3 8 to 64 kbit/s at 8 kHz and 8 to 160 kbit/s at 16 kHz. The half unit keeps
// its rounding down from landing one below the target.
double compressionLevel(double target, double lowest, double highest)
{
    return (highest - target - 0.5) / (highest - lowest);
}

void command(SNDFILE *file, int what, double value, const QString &failure)
{
    if (sf_command(file, what, &value, sizeof value) != SF_TRUE)
        throw ExtractError(failure);
}

void setBitRate(SNDFILE *file, OutputFormat format, int sampleRate)
{
    if (format == OutputFormat::Opus) {
        command(file, SFC_SET_COMPRESSION_LEVEL, compressionLevel(OpusBitsPerSecond, 6000, 256000),
                QStringLiteral("The Opus encoder refused the bit rate"));
    } else if (format == OutputFormat::Mp3) {
        const bool wideBand = sampleRate == 16000;
        command(file, SFC_SET_COMPRESSION_LEVEL,
                compressionLevel(wideBand ? Mp3WideBandKbps : Mp3NarrowBandKbps, 8,
                                 wideBand ? 160 : 64),
                QStringLiteral("The MP3 encoder refused the bit rate"));
        // After the level: libsndfile derives the bit rate from both.
        int mode = SF_BITRATE_MODE_CONSTANT;
        if (sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode) != SF_TRUE)
            throw ExtractError(QStringLiteral("The MP3 encoder refused a constant bit rate"));
    }
}

ExtractError writeFailed(const QString &reason)
{
    return ExtractError(QStringLiteral("Writing the audio failed: %1").arg(reason));
}

} // namespace

AudioEncoder::AudioEncoder(QIODevice &out, OutputFormat format, int sampleRate)
    : m_out(out), m_format(format)
{
    checkArguments(out, format, sampleRate);
    if (formatInfo(format).codec == 0)
        throw ExtractError(QStringLiteral("%1 is not an encoded format").arg(formatName(format)));
    m_io = std::make_unique<SndfileDevice>(out);

    SF_INFO info = {};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = formatInfo(format).codec;
    m_file = sf_open_virtual(SndfileDevice::callbacks(), SFM_WRITE, &info, m_io.get());
    if (m_file == nullptr) {
        throwIfFailed(QString());
        throw ExtractError(QStringLiteral("Cannot start the %1 file: %2")
                               .arg(formatName(format), QString::fromUtf8(sf_strerror(nullptr))));
    }
    try {
        setBitRate(m_file, format, sampleRate);
    } catch (...) {
        close();
        throw;
    }
}

AudioEncoder::~AudioEncoder()
{
    close();
}

void AudioEncoder::close()
{
    if (m_file == nullptr)
        return;
    sf_close(m_file);
    m_file = nullptr;
}

void AudioEncoder::throwIfFailed(const QString &fallback) const
{
    if (m_io && m_io->failed())
        throw writeFailed(m_io->failure());
    if (!fallback.isEmpty())
        throw ExtractError(fallback);
}

void AudioEncoder::checkOpen() const
{
    if (m_file == nullptr)
        throw ExtractError(
            QStringLiteral("The %1 file is already finished").arg(formatName(m_format)));
}

void AudioEncoder::write(const qint16 *samples, int count)
{
    checkOpen();
    const sf_count_t wrote = sf_write_short(m_file, samples, count);
    throwIfFailed(wrote == count
                      ? QString()
                      : QStringLiteral("Encoding the %1 file failed: %2")
                            .arg(formatName(m_format), QString::fromUtf8(sf_strerror(m_file))));
}

void AudioEncoder::finish()
{
    checkOpen();
    const int closed = sf_close(m_file);
    m_file = nullptr;
    throwIfFailed(closed == SF_ERR_NO_ERROR
                      ? QString()
                      : QStringLiteral("Completing the %1 file failed: %2")
                            .arg(formatName(m_format), QString::fromUtf8(sf_error_number(closed))));
    // Bytes still in a file's buffer are the ones a full disk refuses last.
    if (auto *file = qobject_cast<QFileDevice *>(&m_out)) {
        if (!file->flush())
            throw writeFailed(file->errorString());
    }
}

} // namespace vocafetch
