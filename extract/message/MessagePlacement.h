#pragma once

#include "extract/message/MmsMessage.h"

#include <QVector>

namespace vocafetch {

// Which MMS message carries which recording.

// How far before a recording the start of its message is looked for, unless the message is
// the container's own (the container begins with it).
constexpr qint64 MaxMessageDistance = qint64(1) << 20;

struct RecordingMessage
{
    int message = -1; // index into MessagePlacement::messages, -1 for none
    int part = -1;    // index into that message's parts, -1 for none

    bool operator==(const RecordingMessage &other) const
    {
        return message == other.message && part == other.part;
    }
};

struct MessagePlacement
{
    QVector<MmsMessage> messages;         // in the order of their offsets
    QVector<RecordingMessage> recordings; // one per recording asked about, in the same order
};

// The messages around recordings. data holds the container's bytes base ... base + size - 1 (the
// whole container, or a window of it); recordings are container offsets of "#!AMR" signatures
// in ascending order. A message is recognised
// - when the container begins with an MMS PDU (base is 0): its own message, whatever it holds;
//   a recording lying in one of its parts gets that part, and a recording after the point where
//   its body could no longer be read gets the message without a part;
// - elsewhere, from a PDU beginning at most MaxMessageDistance before a recording, only when its
//   body can be read and one of its parts holds that recording.
// Recordings outside the window, or with no message, get none. A window should begin at the
// container's start or MaxMessageDistance before the first recording it is asked about, and
// reach past the messages' ends; what lies past its end is read as cut short. The text parts of
// the messages found are decoded. The work is bounded: the bytes before the recordings are
// searched once for PDU starts (0x8C, a message type, then a transaction id or version), at
// most 32 candidates per recording are read, nearest first, each once, and reading them all
// costs at most a few times the bytes; past that, no further candidates are read.
MessagePlacement placeMessages(const char *data, qint64 size, const QVector<qint64> &recordings,
                               qint64 base = 0);

} // namespace vocafetch
