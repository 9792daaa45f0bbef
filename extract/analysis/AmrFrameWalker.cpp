#include "extract/analysis/AmrFrameWalker.h"

#include <array>
#include <cstring>

namespace vocafetch {

namespace {

constexpr int ZeroRunLength = 4;

using SizeTable = vocafetch::FrameSizeTable;

constexpr SizeTable makeSizeTable(bool wideBand)
{
    SizeTable table{};
    for (int byte = 0; byte < 256; ++byte)
        table[size_t(byte)] =
            (byte & 0x83) == 0 ? quint8(amrFrameSize(wideBand, (byte >> 3) & 0x0F)) : 0;
    return table;
}

constexpr SizeTable NarrowBandTable = makeSizeTable(false);
constexpr SizeTable WideBandTable = makeSizeTable(true);

// How many frames from pos on, the one at pos included, have the header byte of the one at pos,
// all of them within limit. A recording mostly holds long runs of one mode (and of NO_DATA in
// pauses), so four headers ahead are checked at once: their loads do not wait on each other.
qint64 sameHeaderRun(const char *data, qint64 pos, qint64 limit, quint8 byte, qint64 size)
{
    const char header = char(byte);
    qint64 next = pos + size;
    qint64 count = 1;
    while (limit - next >= 4 * size && data[next] == header && data[next + size] == header &&
           data[next + 2 * size] == header && data[next + 3 * size] == header) {
        next += 4 * size;
        count += 4;
    }
    return count;
}

// The single-channel walk, the common case, kept tight: one table look-up a frame.
void continueSingleChannel(const char *data, FrameWalk &walk, qint64 limit)
{
    const SizeTable &sizes = isWideBand(walk.header.format) ? WideBandTable : NarrowBandTable;
    const bool narrowBand = !isWideBand(walk.header.format);
    qint64 pos = walk.audioEnd;
    qint64 frames = 0, damaged = 0, foreign = 0;
    quint32 types = 0;
    WalkStop stop = WalkStop::Limit;
    while (pos < limit) {
        const quint8 byte = quint8(data[pos]);
        if (byte == 0 && vocafetch::startsZeroRun(data, pos, limit)) {
            stop = WalkStop::ZeroRun;
            break;
        }
        const int size = sizes[byte];
        if (size == 0) {
            stop = WalkStop::InvalidHeader;
            break;
        }
        if (limit - pos < size) {
            stop = WalkStop::CrossesLimit;
            break;
        }
        const qint64 count = byte == 0 ? 1 : sameHeaderRun(data, pos, limit, byte, size);
        const unsigned type = byte >> 3;
        types |= 1u << type;
        damaged += (byte & 0x04) ? 0 : count;
        foreign += (narrowBand && type - 9u < 3u) ? count : 0;
        pos += count * size;
        frames += count;
    }
    walk.frames += frames;
    walk.damaged += damaged;
    walk.foreignSid += foreign;
    walk.frameTypesSeen |= quint16(types);
    walk.audioEnd = pos;
    walk.stop = stop;
}

// Checks one frame block (a frame per channel) at pos: its size, or 0 with stop set.
qint64 readFrameBlock(const char *data, qint64 pos, qint64 limit, FrameWalk &walk, WalkStop &stop)
{
    const bool wideBand = isWideBand(walk.header.format);
    const SizeTable &sizes = wideBand ? WideBandTable : NarrowBandTable;
    qint64 end = pos;
    bool damaged = false;
    quint16 types = 0;
    int foreign = 0;
    for (int channel = 0; channel < walk.header.channels; ++channel) {
        if (end >= limit) {
            stop = WalkStop::CrossesLimit;
            return 0;
        }
        const quint8 byte = quint8(data[end]);
        const int size = sizes[byte];
        if (size == 0) {
            stop = WalkStop::InvalidHeader;
            return 0;
        }
        if (limit - end < size) {
            stop = WalkStop::CrossesLimit;
            return 0;
        }
        const AmrFrameHeader frame = parseFrameHeader(byte);
        end += size;
        damaged = damaged || !frame.good;
        types |= quint16(1u << frame.frameType);
        foreign += isForeignSid(wideBand, frame.frameType) ? 1 : 0;
    }
    walk.damaged += damaged ? 1 : 0;
    walk.frameTypesSeen |= types;
    walk.foreignSid += foreign;
    return end - pos;
}

void continueMultiChannel(const char *data, FrameWalk &walk, qint64 limit)
{
    qint64 pos = walk.audioEnd;
    WalkStop stop = WalkStop::Limit;
    while (pos < limit) {
        if (vocafetch::startsZeroRun(data, pos, limit)) {
            stop = WalkStop::ZeroRun;
            break;
        }
        const qint64 blockSize = readFrameBlock(data, pos, limit, walk, stop);
        if (blockSize == 0)
            break;
        pos += blockSize;
        ++walk.frames;
    }
    walk.stop = stop;
    walk.audioEnd = pos;
}

} // namespace

FrameWalk walkAmrFrames(const char *data, qint64 start, qint64 limit)
{
    FrameWalk walk;
    walk.audioEnd = start;
    if (start < 0 || limit <= start)
        return walk;
    walk.header = readAmrHeader(data, start, limit);
    if (walk.header.format == AmrFormat::Unknown)
        return walk;
    walk.audioEnd = start + walk.header.size;
    continueAmrFrames(data, walk, limit);
    return walk;
}

void continueAmrFrames(const char *data, FrameWalk &walk, qint64 limit)
{
    if (walk.header.format == AmrFormat::Unknown)
        return;
    if (walk.header.channels == 1)
        continueSingleChannel(data, walk, limit);
    else
        continueMultiChannel(data, walk, limit);
}

const FrameSizeTable &frameSizeTable(bool wideBand)
{
    return wideBand ? WideBandTable : NarrowBandTable;
}

bool startsZeroRun(const char *data, qint64 pos, qint64 limit)
{
    if (limit - pos < ZeroRunLength)
        return false;
    quint32 word;
    std::memcpy(&word, data + pos, sizeof word);
    return word == 0;
}

FrameWalk walkHeaderlessFrames(const char *data, qint64 begin, qint64 limit, AmrFormat format)
{
    FrameWalk walk;
    walk.audioEnd = begin;
    if (begin < 0 || limit <= begin ||
        (format != AmrFormat::NarrowBand && format != AmrFormat::WideBand))
        return walk;
    walk.header = {format, 0, 1, true};
    continueAmrFrames(data, walk, limit);
    return walk;
}

} // namespace vocafetch
