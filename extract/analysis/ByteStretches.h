#pragma once

#include <QtGlobal>

namespace vocafetch {

// Stretches of bytes the headerless search passes over in bulk, sixteen bytes at a time where
// the processor allows.

// The end of the stretch from pos on in which every byte equals the one two places on (one or
// two bytes over and over, as fills and blank space are), reading nothing at or past limit:
// the largest e <= limit with data[i] == data[i + 2] for every i in [pos, e - 2). At least
// min(pos + 2, limit).
qint64 periodTwoEnd(const char *data, qint64 pos, qint64 limit);

// The first offset from pos on whose byte could head a frame of either band (no padding bit
// set), or end.
qint64 nextFrameHeader(const char *data, qint64 pos, qint64 end);

// What the 64 bytes from data on hold: which are frame headers of each band (frameSizeTable
// not 0), bit i for data[i]; with chained (128 bytes readable), which of those a header of the
// band follows a frame's length on; whether all are zero; whether each of the first 62 equals
// the byte two places on.
struct FrameHeaderMasks
{
    quint64 narrowBand = 0;
    quint64 wideBand = 0;
    quint64 narrowChained = 0;
    quint64 wideChained = 0;
    bool zero = false;
    bool periodTwo = false;
};
// Sixty-four bytes at once where the processor has byte permutes (AVX-512 VBMI), else sixteen.
FrameHeaderMasks frameHeaderMasks(const char *data, bool chained);
// The same without the wide vectors, for any processor.
FrameHeaderMasks frameHeaderMasksSixteen(const char *data, bool chained);

} // namespace vocafetch
