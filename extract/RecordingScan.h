#pragma once

#include "extract/ByteBuffer.h"

#include <QByteArray>
#include <QVector>

namespace vocafetch {

// Finding the recordings in a loaded container: every recording start "#!AMR" and every
// content-type marker (06 1F 22 "audio/amr"), both in any letter case.
namespace RecordingScan {
inline const QByteArray RecordingStartText = QByteArrayLiteral("#!AMR");
inline const QByteArray TypeMarkerText = QByteArrayLiteral("\x06\x1f\x22"
                                                           "audio/amr");
} // namespace RecordingScan

// What one scan of a container yields, as byte offsets in ascending order.
struct ContainerScan
{
    QVector<qint64> recordingStarts; // the "#" of each "#!AMR"
    QVector<qint64> typeMarkers;     // the 06 of each content-type marker

    int recordingCount() const { return int(recordingStarts.size()); }
};

// Scans the container held by the buffer: first the recording starts, then the markers. The
// buffer ends with the cursor on the last byte of the last marker found and that marker
// selected, or, without a marker, the cursor on byte 0 and bytes 0 ... 1 selected (nothing
// selected in a container shorter than 2 bytes, which has no recordings). Never throws.
ContainerScan scanRecordings(TByteBuffer &sourceBuffer);

// One search pass: from the buffer's cursor on, finds each occurrence of text (prepared with
// ignoreCase), selects it with the cursor on its last byte and appends its offset.
void findAllOccurrences(TByteBuffer &buffer, const QByteArray &text, QVector<qint64> &offsets);

} // namespace vocafetch
