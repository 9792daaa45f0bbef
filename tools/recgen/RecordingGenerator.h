#pragma once

#include "extract/analysis/AmrFormat.h"

#include <QByteArray>
#include <QList>
#include <QVector>

// Generates AMR recordings and recording containers for tests, benchmarks and sample data:
// real narrow-band speech frames from the AMR encoder, random frames of any type, the storage
// headers of every format, WSP multipart parts and containers whose true layout is known.
namespace RecGen {

using vocafetch::AmrFormat;
using vocafetch::AmrFrameHeader;
using vocafetch::amrFrameSize;
using vocafetch::parseFrameHeader;

// A small deterministic random source: the same seed gives the same files on every machine.
class Rng
{
public:
    explicit Rng(quint32 seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    quint32 next();
    // 0 ... n - 1
    int below(int n) { return int(next() % quint32(n)); }
    QByteArray bytes(int count);

private:
    quint32 m_state;
};

// The frame header byte: frame type, Q (true = good), padding zero.
quint8 frameHeaderByte(int frameType, bool good);

// One storage-format frame of the given type with a random payload.
QByteArray randomFrame(bool wideBand, int frameType, bool good, Rng &rng);

// Narrow-band frames of a synthetic voice (voiced stretches and pauses) encoded with the AMR
// encoder. Mode i of modes is used for the i-th second, cycling; with dtx the pauses come out
// as SID (type 8) and NO_DATA (type 15) frames.
QList<QByteArray> encodedSpeechFrames(int frameCount, const QVector<int> &modes, bool dtx);

// The storage header of a format; channels goes into a multichannel header's channel field.
QByteArray amrHeader(AmrFormat format, int channels = 1);

// A recording as a clean file holds it, with the facts an analysis should find.
struct Recording
{
    AmrFormat format = AmrFormat::Unknown;
    int channels = 1;
    QByteArray bytes;  // header and whole frames
    qint64 frames = 0; // 20 ms frames (frame blocks when multichannel)
    qint64 damaged = 0;
    quint16 frameTypes = 0;
};

// A recording of the given frames; in a multichannel recording, frames holds the frame blocks'
// frames one channel after another, so its length must be a multiple of channels.
Recording makeRecording(AmrFormat format, int channels, const QList<QByteArray> &frames);

// frameCount random frames of the listed types (cycled), every damagedEvery-th one damaged
// (0 = none).
QList<QByteArray> randomFrames(bool wideBand, int frameCount, const QVector<int> &types,
                               int damagedEvery, Rng &rng);

// frameCount random frames as a phone records them: talk spurts of one to five seconds, each
// in one mode, and pauses of SID frames each followed by seven NO_DATA frames; about one frame
// in 300 damaged.
QList<QByteArray> phoneLikeFrames(bool wideBand, int frameCount, Rng &rng);

// WSP multipart pieces.
QByteArray uintvar(quint32 value);
// 0x1F, a uintvar length, the media type and its zero byte, and a Name parameter.
QByteArray audioContentType(const QByteArray &mediaType = "audio/amr",
                            const QByteArray &name = "voice.amr");
// A short-integer well-known content type: image/jpeg.
QByteArray imageContentType();
// HeadersLen, DataLen, content type, a Content-Location header, then the data. dataLength
// overrides DataLen when not negative (a part header that does not add up).
QByteArray wspPart(const QByteArray &contentType, const QByteArray &data, qint64 dataLength = -1);

// Where a recording lies in a generated container and what the analysis should report.
struct PlacedRecording
{
    qint64 start = 0;
    qint64 audioEnd = 0;
    bool inPart = false; // behind a part header that adds up
    Recording recording;
};

// Builds a container piece by piece, keeping track of the recordings placed in it.
class ContainerBuilder
{
public:
    // Raw container bytes; any "#" is replaced so that they hold no recording start.
    ContainerBuilder &bytes(const QByteArray &raw);
    // Random container bytes starting with 0xFF, which no frame header can be, so a frame walk
    // ends before them.
    ContainerBuilder &randomBytes(int count, Rng &rng);
    // A recording, its bytes as they are.
    ContainerBuilder &recording(const Recording &recording);
    // The first keep bytes of one more frame of type frameType: a truncated last frame.
    ContainerBuilder &truncatedFrame(bool wideBand, int frameType, int keep, Rng &rng);
    // A recording as the data of a multipart part; dataLength as in wspPart.
    ContainerBuilder &recordingPart(const Recording &recording, qint64 dataLength = -1);
    ContainerBuilder &imagePart(int size, Rng &rng);
    // The multipart body's entry count.
    ContainerBuilder &entryCount(int parts);

    const QByteArray &data() const { return m_data; }
    const QList<PlacedRecording> &recordings() const { return m_recordings; }
    QVector<qint64> starts() const;

private:
    QByteArray m_data;
    QList<PlacedRecording> m_recordings;
};

// A container of about size bytes: narrow- and wide-band recordings of phone-like frames (a
// few seconds to a minute each), as multipart parts with image parts between, or as plain
// recordings; container bytes between them.
ContainerBuilder largeContainer(qint64 size, quint32 seed, bool inParts = true);

} // namespace RecGen
