#include "extract/encode/RecordingEncoding.h"

#include "extract/ExtractError.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/AmrFrameWalker.h"
#include "extract/io/AtomicSave.h"
#include "extract/encode/WavFile.h"

namespace vocafetch {

namespace {

constexpr int BytesPerSample = 2;

// The recording's sample rate, once its header and length are known to be encodable.
int checkedSampleRate(AudioFormat format, const char *data, qint64 start, qint64 end)
{
    const FrameWalk walk = walkAmrFrames(data, start, end);
    if (walk.header.format == AmrFormat::Unknown)
        throw ExtractError(QStringLiteral("The recording does not start with a known AMR header"));
    if (format == AudioFormat::Wav)
        checkWavDataBytes(walk.frames * samplesPerFrame(walk.header.format) * BytesPerSample);
    return sampleRate(walk.header.format);
}

void encode(QIODevice &out, AudioFormat format, int rate, const char *data, qint64 start,
            qint64 end, const AudioTags &tags)
{
    encodeDecoded(out, format, rate, tags, [&](const PcmSink &sink, QString *error) {
        return decodeAmr(data, start, end, sink, error);
    });
}

} // namespace

void encodeDecoded(QIODevice &out, AudioFormat format, int rate, const AudioTags &tags,
                   const std::function<bool(const PcmSink &, QString *)> &decode)
{
    AudioEncoder encoder(out, format, rate, tags);
    QString error;
    const bool decoded = decode(
        [&](const qint16 *samples, int count) {
            encoder.write(samples, count);
            return true;
        },
        &error);
    if (!decoded)
        throw ExtractError(error);
    encoder.finish();
}

void encodeAmrRecording(QIODevice &out, AudioFormat format, const char *data, qint64 start,
                        qint64 end, const AudioTags &tags)
{
    encode(out, format, checkedSampleRate(format, data, start, end), data, start, end, tags);
}

void saveAmrRecording(const QString &path, AudioFormat format, const char *data, qint64 start,
                      qint64 end, const AudioTags &tags)
{
    const int rate = checkedSampleRate(format, data, start, end);
    saveAtomically(path,
                   [&](QIODevice &file) { encode(file, format, rate, data, start, end, tags); });
}

} // namespace vocafetch
