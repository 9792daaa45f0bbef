#include "extract/RecordingExport.h"

#include "extract/ExtractError.h"

namespace vocafetch {

namespace {

qint64 offsetAt(const QVector<qint64> &list, int index)
{
    if (index < 0 || index >= list.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(index),
                           vocafetch::ErrorKind::OutOfBounds);
    return list.at(index);
}

} // namespace

ByteSpan recordingRange(const QVector<qint64> &recordingStarts, int i, qint64 containerSize)
{
    ByteSpan range;
    range.begin = offsetAt(recordingStarts, i);
    range.end = i + 1 < recordingStarts.size() ? offsetAt(recordingStarts, i + 1) : containerSize;
    return range;
}

} // namespace vocafetch
