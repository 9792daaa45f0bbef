#include "extract/analysis/AmrDecoder.h"

#include "extract/analysis/AmrFrameWalker.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QtEndian>

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrwb/dec_if.h>

#include <cstring>
#include <vector>

namespace vocafetch {

namespace {

constexpr int NoDataFrameType = 15;
constexpr int BadFrame = 1;

QString unknownHeaderMessage()
{
    return QStringLiteral("The recording does not start with a known AMR header");
}

// Visits the first channel's frame of each frame block of a walked recording.
template <typename Visit>
bool forEachFirstChannelFrame(const char *data, const FrameWalk &walk, qint64 start, Visit visit)
{
    const bool wideBand = isWideBand(walk.header.format);
    qint64 pos = start + walk.header.size;
    for (qint64 block = 0; block < walk.frames; ++block) {
        for (int channel = 0; channel < walk.header.channels; ++channel) {
            const int frameType = parseFrameHeader(quint8(data[pos])).frameType;
            const int size = amrFrameSize(wideBand, frameType);
            if (channel == 0 && !visit(data + pos, size))
                return false;
            pos += size;
        }
    }
    return true;
}

} // namespace

AmrFrameDecoder::AmrFrameDecoder(bool wideBand)
    : m_wideBand(wideBand), m_state(wideBand ? D_IF_init() : Decoder_Interface_init())
{
}

AmrFrameDecoder::~AmrFrameDecoder()
{
    if (m_state == nullptr)
        return;
    if (m_wideBand)
        D_IF_exit(m_state);
    else
        Decoder_Interface_exit(m_state);
}

void AmrFrameDecoder::decode(const char *frame, int size, qint16 *samples)
{
    // The decoders read as many bytes as the frame type says; a zeroed copy keeps them inside.
    unsigned char bytes[AmrMaxFrameSize + 3] = {};
    std::memcpy(bytes, frame, size_t(qBound(0, size, AmrMaxFrameSize)));
    const AmrFrameHeader header = parseFrameHeader(bytes[0]);
    if (isForeignSid(m_wideBand, header.frameType))
        bytes[0] = quint8((NoDataFrameType << 3) | 0x04);
    const int bfi = header.good ? 0 : BadFrame;
    if (m_wideBand)
        D_IF_decode(m_state, bytes, samples, bfi);
    else
        Decoder_Interface_Decode(m_state, bytes, samples, bfi);
}

namespace {

// Decodes the walked frames from data[start] + the walk's header size on.
bool decodeWalk(const char *data, qint64 start, const FrameWalk &walk, const PcmSink &sink,
                QString *error)
{
    if (walk.header.format == AmrFormat::Unknown) {
        if (error)
            *error = unknownHeaderMessage();
        return false;
    }
    AmrFrameDecoder decoder(isWideBand(walk.header.format));
    if (!decoder.isValid()) {
        if (error)
            *error = QStringLiteral("The AMR decoder cannot be started");
        return false;
    }
    std::vector<qint16> samples(size_t(decoder.samplesPerFrame()));
    const bool completed =
        forEachFirstChannelFrame(data, walk, start, [&](const char *frame, int size) {
            decoder.decode(frame, size, samples.data());
            return sink(samples.data(), decoder.samplesPerFrame());
        });
    if (!completed && error)
        *error = QStringLiteral("Decoding was stopped");
    return completed;
}

PcmAudio decodeWalkToPcm(const char *data, qint64 start, const FrameWalk &walk)
{
    PcmAudio audio;
    if (walk.header.format == AmrFormat::Unknown) {
        audio.error = unknownHeaderMessage();
        return audio;
    }
    const qint64 bytes = walk.frames * samplesPerFrame(walk.header.format) * 2;
    if (bytes > MaxPcmBytesInMemory) {
        audio.error = QStringLiteral("The recording is too long to be decoded in memory");
        return audio;
    }
    audio.sampleRate = sampleRate(walk.header.format);
    audio.frames = walk.frames;
    audio.samples.reserve(bytes);
    decodeWalk(
        data, start, walk,
        [&](const qint16 *samples, int count) {
            const qsizetype at = audio.samples.size();
            audio.samples.resize(at + count * 2);
            qToLittleEndian<qint16>(samples, count, audio.samples.data() + at);
            return true;
        },
        &audio.error);
    return audio;
}

// The frame walk a recording's decode follows: from its header, or from its first frame when
// it has none.
FrameWalk decodeWalkOf(const char *data, const RecordingAnalysis &recording)
{
    const ByteSpan range = cleanRange(recording);
    if (recording.headerless)
        return vocafetch::walkHeaderlessFrames(data, range.begin, range.end, recording.format());
    return walkAmrFrames(data, range.begin, range.end);
}

} // namespace

bool decodeRecording(const char *data, const RecordingAnalysis &recording, const PcmSink &sink,
                     QString *error)
{
    return decodeWalk(data, recording.start, decodeWalkOf(data, recording), sink, error);
}

PcmAudio decodeRecordingToPcm(const char *data, const RecordingAnalysis &recording)
{
    return decodeWalkToPcm(data, recording.start, decodeWalkOf(data, recording));
}

} // namespace vocafetch
