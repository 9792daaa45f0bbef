#include "RecordingGenerator.h"

#include <opencore-amrnb/interf_enc.h>

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace RecGen {

namespace {

constexpr int NarrowBandSamplesPerFrame = 160;
constexpr int NarrowBandRate = 8000;
constexpr int FramesPerSecond = 50;
constexpr double Pi = 3.14159265358979323846;

// Whether frame f of a one-second cycle falls in the pause at its end.
bool inPause(int frame)
{
    return frame % FramesPerSecond >= 30;
}

// 160 samples of a synthetic voice: a gliding fundamental with falling harmonics, or a quiet
// hiss during pauses.
void synthesiseFrame(int frame, Rng &rng, short *samples)
{
    for (int n = 0; n < NarrowBandSamplesPerFrame; ++n) {
        const double t = double(frame * NarrowBandSamplesPerFrame + n) / NarrowBandRate;
        double value = double(rng.below(17)) - 8.0;
        if (!inPause(frame)) {
            const double f0 = 130.0 + 40.0 * std::sin(2 * Pi * 0.7 * t);
            for (int k = 1; k <= 12; ++k)
                value += 5000.0 / k * std::sin(2 * Pi * k * f0 * t);
        }
        samples[n] = short(std::lround(std::clamp(value, -32767.0, 32767.0)));
    }
}

void appendPlain(QByteArray &bytes, const QByteArray &text)
{
    bytes.append(text);
    bytes.append('\0');
}

} // namespace

quint32 Rng::next()
{
    // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

QByteArray Rng::bytes(int count)
{
    QByteArray result(count, Qt::Uninitialized);
    for (int i = 0; i < count; ++i)
        result[i] = char(next() >> 24);
    return result;
}

quint8 frameHeaderByte(int frameType, bool good)
{
    return quint8(((frameType & 0x0F) << 3) | (good ? 0x04 : 0x00));
}

QByteArray randomFrame(bool wideBand, int frameType, bool good, Rng &rng)
{
    const int size = amrFrameSize(wideBand, frameType);
    QByteArray frame = rng.bytes(qMax(size, 1));
    frame[0] = char(frameHeaderByte(frameType, good));
    return frame;
}

QList<QByteArray> encodedSpeechFrames(int frameCount, const QVector<int> &modes, bool dtx)
{
    QList<QByteArray> frames;
    void *encoder = Encoder_Interface_init(dtx ? 1 : 0);
    Rng rng(12345);
    short samples[NarrowBandSamplesPerFrame];
    unsigned char out[64];
    for (int f = 0; f < frameCount; ++f) {
        synthesiseFrame(f, rng, samples);
        const int mode = modes.isEmpty() ? 7 : modes[(f / FramesPerSecond) % modes.size()];
        const int size = Encoder_Interface_Encode(encoder, Mode(mode), samples, out, 0);
        frames.append(QByteArray(reinterpret_cast<const char *>(out), size));
    }
    Encoder_Interface_exit(encoder);
    return frames;
}

QByteArray amrHeader(AmrFormat format, int channels)
{
    switch (format) {
    case AmrFormat::NarrowBand:
        return QByteArrayLiteral("#!AMR\n");
    case AmrFormat::WideBand:
        return QByteArrayLiteral("#!AMR-WB\n");
    case AmrFormat::MultiChannelNarrowBand:
    case AmrFormat::MultiChannelWideBand: {
        QByteArray header = format == AmrFormat::MultiChannelNarrowBand
                                ? QByteArrayLiteral("#!AMR_MC1.0\n")
                                : QByteArrayLiteral("#!AMR-WB_MC1.0\n");
        char field[4];
        qToBigEndian(quint32(channels & 0x0F), field);
        header.append(field, 4);
        return header;
    }
    case AmrFormat::Unknown:
        break;
    }
    return QByteArrayLiteral("#!AMR?");
}

Recording makeRecording(AmrFormat format, int channels, const QList<QByteArray> &frames)
{
    Recording recording;
    recording.format = format;
    recording.channels = isMultiChannel(format) ? channels : 1;
    recording.bytes = amrHeader(format, recording.channels);
    bool blockDamaged = false;
    for (int i = 0; i < frames.size(); ++i) {
        const AmrFrameHeader header = parseFrameHeader(quint8(frames[i].at(0)));
        recording.bytes.append(frames[i]);
        recording.frameTypes |= quint16(1u << header.frameType);
        blockDamaged = blockDamaged || !header.good;
        if ((i + 1) % recording.channels == 0) {
            ++recording.frames;
            recording.damaged += blockDamaged ? 1 : 0;
            blockDamaged = false;
        }
    }
    return recording;
}

QList<QByteArray> randomFrames(bool wideBand, int frameCount, const QVector<int> &types,
                               int damagedEvery, Rng &rng)
{
    QList<QByteArray> frames;
    for (int i = 0; i < frameCount; ++i) {
        const bool damaged = damagedEvery > 0 && (i + 1) % damagedEvery == 0;
        frames.append(randomFrame(wideBand, types[i % types.size()], !damaged, rng));
    }
    return frames;
}

QList<QByteArray> phoneLikeFrames(bool wideBand, int frameCount, Rng &rng)
{
    const QVector<int> modes =
        wideBand ? QVector<int>{2, 2, 8, 1, 6, 0} : QVector<int>{7, 7, 7, 5, 4, 2, 0, 6};
    const int sid = wideBand ? 9 : 8;
    QList<QByteArray> frames;
    auto add = [&](int type) {
        frames.append(randomFrame(wideBand, type, rng.below(300) != 0, rng));
    };
    while (frames.size() < frameCount) {
        const int mode = modes[rng.below(int(modes.size()))];
        for (int n = 50 + rng.below(200); n > 0 && frames.size() < frameCount; --n)
            add(mode);
        for (int n = 10 + rng.below(90); n > 0 && frames.size() < frameCount; --n)
            add(n % 8 == 0 ? sid : 15);
    }
    return frames;
}

QByteArray uintvar(quint32 value)
{
    QByteArray bytes(1, char(value & 0x7F));
    for (value >>= 7; value != 0; value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

QByteArray audioContentType(const QByteArray &mediaType, const QByteArray &name)
{
    QByteArray value;
    appendPlain(value, mediaType);
    value.append(char(0x85)); // Name parameter
    appendPlain(value, name);
    return QByteArray(1, char(0x1F)) + uintvar(quint32(value.size())) + value;
}

QByteArray imageContentType()
{
    return QByteArray(1, char(0x9E)); // image/jpeg
}

QByteArray wspPart(const QByteArray &contentType, const QByteArray &data, qint64 dataLength)
{
    QByteArray headers = contentType;
    headers.append(char(0x8E)); // Content-Location
    appendPlain(headers, "part");
    QByteArray part = uintvar(quint32(headers.size()));
    part.append(uintvar(quint32(dataLength >= 0 ? dataLength : data.size())));
    part.append(headers);
    part.append(data);
    return part;
}

ContainerBuilder &ContainerBuilder::bytes(const QByteArray &raw)
{
    QByteArray scrubbed = raw;
    scrubbed.replace('#', '~');
    m_data.append(scrubbed);
    return *this;
}

ContainerBuilder &ContainerBuilder::randomBytes(int count, Rng &rng)
{
    if (count <= 0)
        return *this;
    QByteArray raw = rng.bytes(count);
    raw[0] = char(0xFF);
    return bytes(raw);
}

ContainerBuilder &ContainerBuilder::recording(const Recording &recording)
{
    PlacedRecording placed;
    placed.start = m_data.size();
    placed.audioEnd = placed.start + recording.bytes.size();
    placed.recording = recording;
    m_recordings.append(placed);
    m_data.append(recording.bytes);
    return *this;
}

ContainerBuilder &ContainerBuilder::truncatedFrame(bool wideBand, int frameType, int keep, Rng &rng)
{
    m_data.append(randomFrame(wideBand, frameType, true, rng).left(keep));
    return *this;
}

ContainerBuilder &ContainerBuilder::recordingPart(const Recording &recording, qint64 dataLength)
{
    const QByteArray part = wspPart(audioContentType(), recording.bytes, dataLength);
    PlacedRecording placed;
    placed.start = m_data.size() + part.size() - recording.bytes.size();
    placed.audioEnd = placed.start + recording.bytes.size();
    placed.inPart = dataLength < 0 || dataLength == recording.bytes.size();
    placed.recording = recording;
    m_recordings.append(placed);
    m_data.append(part);
    return *this;
}

ContainerBuilder &ContainerBuilder::imagePart(int size, Rng &rng)
{
    QByteArray image = rng.bytes(size);
    image.replace('#', '~');
    m_data.append(wspPart(imageContentType(), image));
    return *this;
}

ContainerBuilder &ContainerBuilder::entryCount(int parts)
{
    m_data.append(uintvar(quint32(parts)));
    return *this;
}

QVector<qint64> ContainerBuilder::starts() const
{
    QVector<qint64> result;
    for (const PlacedRecording &placed : m_recordings)
        result.append(placed.start);
    return result;
}

ContainerBuilder largeContainer(qint64 size, quint32 seed, bool inParts)
{
    Rng rng(seed);
    ContainerBuilder builder;
    builder.bytes(QByteArray("DRF\x01", 4)).entryCount(0);
    while (builder.data().size() < size) {
        const bool wideBand = rng.below(4) == 0;
        const int frameCount = 150 + rng.below(3000);
        const auto frames = phoneLikeFrames(wideBand, frameCount, rng);
        const Recording recording =
            makeRecording(wideBand ? AmrFormat::WideBand : AmrFormat::NarrowBand, 1, frames);
        if (!inParts) {
            builder.recording(recording);
        } else {
            builder.recordingPart(recording);
            if (rng.below(3) == 0)
                builder.imagePart(2000 + rng.below(30000), rng);
        }
        builder.randomBytes(rng.below(4096), rng);
    }
    return builder;
}

} // namespace RecGen
