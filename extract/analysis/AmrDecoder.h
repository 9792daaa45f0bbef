#pragma once

#include "extract/analysis/AmrFormat.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace vocafetch {

// Decoding AMR recordings to 16-bit mono PCM through the opencore AMR decoders: narrow band to
// 160 samples at 8 kHz per 20 ms frame, wide band to 320 samples at 16 kHz. A multichannel
// recording decodes its first channel only (the left one of a stereo pair).

// One decoder state for one recording's frames, in order.
class AmrFrameDecoder
{
public:
    explicit AmrFrameDecoder(bool wideBand);
    ~AmrFrameDecoder();
    AmrFrameDecoder(const AmrFrameDecoder &) = delete;
    AmrFrameDecoder &operator=(const AmrFrameDecoder &) = delete;

    // False when the decoder could not be set up (out of memory); decode must not be called.
    bool isValid() const { return m_state != nullptr; }
    int samplesPerFrame() const { return m_wideBand ? 320 : 160; }
    // Decodes one storage-format frame (header byte first, size bytes, as the frame walk
    // accepted it) into samplesPerFrame() samples. A damaged frame (Q = 0) is concealed;
    // comfort-noise frames of other codecs are decoded as missing frames.
    void decode(const char *frame, int size, qint16 *samples);

private:
    bool m_wideBand;
    void *m_state;
};

// Receives each decoded 20 ms of audio; returning false stops the decode.
using PcmSink = std::function<bool(const qint16 *samples, int count)>;

struct PcmAudio
{
    QByteArray samples; // 16-bit little-endian mono samples
    int sampleRate = 0; // 8000 or 16000
    qint64 frames = 0;
    QString error; // empty on success

    bool ok() const { return error.isEmpty(); }
    qint64 sampleCount() const { return samples.size() / 2; }
};

// The largest decode kept in memory: about nine hours of narrow band.
constexpr qint64 MaxPcmBytesInMemory = qint64(1) << 30;

struct RecordingAnalysis;

// Decodes an analysed recording's clean range, from its header or, when headerless, from its
// first frame; data is the container it was analysed in.
bool decodeRecording(const char *data, const RecordingAnalysis &recording, const PcmSink &sink,
                     QString *error);
// Decodes it into memory, for listening. Fails with a message for an unknown header or a
// recording whose samples would exceed MaxPcmBytesInMemory.
PcmAudio decodeRecordingToPcm(const char *data, const RecordingAnalysis &recording);

} // namespace vocafetch
