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

} // namespace vocafetch
