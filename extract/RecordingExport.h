#pragma once

#include "extract/ByteSpan.h"

#include <QVector>

namespace vocafetch {

// The byte range and the file name of each recording of a scanned container.

// Recording i's bytes: from its start s_i up to the next recording's "#" (not included) or the
// container's end. Throws ExtractError "List index out of bounds (%1)" with i when the list has
// no entry i.
ByteSpan recordingRange(const QVector<qint64> &recordingStarts, int i, qint64 containerSize);

} // namespace vocafetch
