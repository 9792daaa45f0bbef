// Pieces of the generated containers the headerless tests search.
#pragma once

#include "RecordingGenerator.h"

#include <QByteArray>
#include <QList>

namespace vocafetch {

inline QByteArray joined(const QList<QByteArray> &frames)
{
    QByteArray bytes;
    for (const QByteArray &frame : frames)
        bytes.append(frame);
    return bytes;
}

// Container bytes that no frame walk enters and no signature hides in: 0xFF first, then random
// bytes with no '#'.
inline QByteArray filler(qint64 count, RecGen::Rng &rng)
{
    QByteArray bytes = rng.bytes(int(count));
    bytes.replace('#', '~');
    bytes[0] = char(0xFF);
    return bytes;
}

// Narrow-band DTX silence, as a phone writes a pause: a SID frame, then seven NO_DATA frames,
// over and over, at least count frames.
inline QList<QByteArray> dtxSilence(int count, RecGen::Rng &rng)
{
    QList<QByteArray> silence;
    while (silence.size() < count) {
        silence.append(RecGen::randomFrame(false, 8, true, rng));
        for (int i = 0; i < 7; ++i)
            silence.append(QByteArray(1, char(RecGen::frameHeaderByte(15, true))));
    }
    return silence;
}

} // namespace vocafetch
