#include "extract/encode/WavFile.h"

#include "extract/ExtractError.h"
#include "extract/io/AtomicSave.h"
#include "extract/encode/AudioEncoder.h"
#include "extract/encode/RecordingEncoding.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

using namespace vocafetch;

namespace {

constexpr qsizetype SamplesPerBlock = 4096;

// Hands little-endian samples to the encoder a block at a time in the machine's byte order.
void encodeLittleEndian(AudioEncoder &encoder, const QByteArray &samples)
{
    const qsizetype total = samples.size() / 2;
    std::vector<qint16> block(size_t(std::min(total, SamplesPerBlock)));
    for (qsizetype done = 0; done < total;) {
        const qsizetype count = std::min(total - done, SamplesPerBlock);
        qFromLittleEndian<qint16>(samples.constData() + 2 * done, count, block.data());
        encoder.write(block.data(), int(count));
        done += count;
    }
}

} // namespace

void checkWavDataBytes(qint64 dataBytes)
{
    if (dataBytes > WavMaxDataBytes)
        throw ExtractError(QStringLiteral("The recording is too long for a WAV file"));
}

void writeWavFile(const QString &path, const QByteArray &samples, int sampleRate)
{
    checkWavDataBytes(samples.size());
    saveAtomically(path, [&](QIODevice &file) {
        AudioEncoder encoder(file, AudioFormat::Wav, sampleRate);
        encodeLittleEndian(encoder, samples);
        encoder.finish();
    });
}

void writeAmrAsWav(const QString &path, const char *data, qint64 start, qint64 end)
{
    saveAmrRecording(path, AudioFormat::Wav, data, start, end, AudioTags());
}
