#include "AmrFrameWalker.h"

#include <cstring>

namespace {

constexpr int ZeroRunLength = 4;

bool zeroRunAt(const char *data, qint64 pos, qint64 limit)
{
    static const char zeros[ZeroRunLength] = {};
    return limit - pos >= ZeroRunLength && std::memcmp(data + pos, zeros, ZeroRunLength) == 0;
}

// Checks one frame block (a frame per channel) at pos. Returns its size, or 0 and sets stop.
qint64 readFrameBlock(const char *data, qint64 pos, qint64 limit, const AmrHeader &header,
                      FrameWalk &walk, WalkStop &stop)
{
    const bool wideBand = isWideBand(header.format);
    qint64 end = pos;
    bool damaged = false;
    quint16 types = 0;
    int foreign = 0;
    for (int channel = 0; channel < header.channels; ++channel) {
        if (end >= limit) {
            stop = WalkStop::CrossesLimit;
            return 0;
        }
        const AmrFrameHeader frame = parseFrameHeader(quint8(data[end]));
        const int size = frame.valid ? amrFrameSize(wideBand, frame.frameType) : 0;
        if (size == 0) {
            stop = WalkStop::InvalidHeader;
            return 0;
        }
        if (limit - end < size) {
            stop = WalkStop::CrossesLimit;
            return 0;
        }
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

    qint64 pos = start + walk.header.size;
    WalkStop stop = WalkStop::Limit;
    while (pos < limit) {
        if (zeroRunAt(data, pos, limit)) {
            stop = WalkStop::ZeroRun;
            break;
        }
        const qint64 blockSize = readFrameBlock(data, pos, limit, walk.header, walk, stop);
        if (blockSize == 0)
            break;
        pos += blockSize;
        ++walk.frames;
    }
    walk.stop = stop;
    walk.audioEnd = pos;
    return walk;
}
