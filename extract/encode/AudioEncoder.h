#pragma once

#include "extract/encode/OutputFormat.h"

#include <QIODevice>
#include <QString>

#include <memory>

struct sf_private_tag;

namespace vocafetch {

// Encoding 16-bit mono PCM (8 kHz narrow band, 16 kHz wide band) as WAV, FLAC, Ogg Opus or MP3
// through libsndfile, block by block onto a QIODevice the caller owns. Tags are written afterwards,
// on the finished file (writeAudioTags).

class SndfileDevice;

// Opus at 24 kbit/s (variable). MP3 at constant 32 kbit/s at 8 kHz and 40 kbit/s at 16 kHz,
// the least at which LAME still writes its Info header there: with the encoder delay and padding
// it records, gapless decoders play exactly the samples written, while a player that ignores it
// adds up to about 200 ms of silence (encoder delay and padding of the last frame).
class AudioEncoder
{
public:
    // out must be open for writing, allow seeking and outlive the encoder; the file begins at its
    // current position. sampleRate is 8000 or 16000. Throws ExtractError for anything else and
    // when libsndfile cannot start the file.
    AudioEncoder(QIODevice &out, OutputFormat format, int sampleRate);
    // An encoder destroyed unfinished closes its stream; the output is incomplete.
    ~AudioEncoder();
    AudioEncoder(const AudioEncoder &) = delete;
    AudioEncoder &operator=(const AudioEncoder &) = delete;

    // Encodes count mono samples. Throws ExtractError when the device refuses bytes (a full
    // disk) or the encoder fails, and after finish().
    void write(const qint16 *samples, int count);
    // Flushes the encoder, completes the headers and flushes a file device. Throws ExtractError
    // as write() does; the output is complete only when it returns.
    void finish();

    OutputFormat format() const { return m_format; }

private:
    void close();
    void checkOpen() const;
    void throwIfFailed(const QString &fallback) const;

    QIODevice &m_out;
    OutputFormat m_format;
    std::unique_ptr<SndfileDevice> m_io;
    sf_private_tag *m_file = nullptr;
};

} // namespace vocafetch
