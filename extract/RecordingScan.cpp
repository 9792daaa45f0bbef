#include "extract/RecordingScan.h"

#include <algorithm>

namespace vocafetch {

void findAllOccurrences(TByteBuffer &buffer, const QByteArray &text, QVector<qint64> &offsets)
{
    for (;;) {
        const qint32 start = std::max(0, buffer.CursorPosition());
        // Prepared before every search, as the buffer's tables may be rebuilt by it.
        const QByteArray pattern = buffer.PrepareFindData(text, true, false);
        qint32 count = static_cast<qint32>(pattern.indexOf('\0'));
        if (count < 0)
            count = static_cast<qint32>(pattern.size());
        const qint32 found = buffer.Find(pattern, count, start, buffer.DataSize() - 1, true);
        if (found < 0)
            return;
        buffer.SetSelStart(found + count - 1);
        buffer.SetSelEnd(found);
        offsets.append(found);
    }
}

namespace {

// Back to the start, so that the marker search covers the whole container.
void rewind(TByteBuffer &buffer)
{
    if (buffer.DataSize() >= 1)
        buffer.SetSelStart(0);
    if (buffer.DataSize() >= 2)
        buffer.SetSelEnd(1);
}

} // namespace

ContainerScan scanRecordings(TByteBuffer &sourceBuffer)
{
    ContainerScan result;
    findAllOccurrences(sourceBuffer, RecordingScan::RecordingStartText, result.recordingStarts);
    rewind(sourceBuffer);
    findAllOccurrences(sourceBuffer, RecordingScan::TypeMarkerText, result.typeMarkers);
    return result;
}

} // namespace vocafetch
