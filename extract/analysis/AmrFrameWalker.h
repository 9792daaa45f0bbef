#pragma once

#include "extract/analysis/AmrFormat.h"

#include <QtGlobal>

#include <array>

namespace vocafetch {

// Walking the frames of an AMR recording to find where its audio really ends.

// Why a frame walk stopped.
enum class WalkStop
{
    NoHeader,      // the recording does not start with a known storage header
    Limit,         // the last frame ends exactly at the limit
    InvalidHeader, // a frame header with padding bits set or an unused frame type
    CrossesLimit,  // the next frame would run past the limit (a truncated last frame)
    ZeroRun,       // four zero bytes where the next frame would start
    NotSpeech,     // a headerless run: the frames after it no longer look like speech
};

struct FrameWalk
{
    AmrHeader header;
    WalkStop stop = WalkStop::NoHeader;
    // One past the last whole frame; start + header size when there is none. Equals the start
    // when the header is not recognised.
    qint64 audioEnd = 0;
    // 20 ms frames; in a multichannel recording a frame is one frame block, a frame per channel.
    qint64 frames = 0;
    // Frames marked damaged (Q = 0); a frame block counts once, however many channels are.
    qint64 damaged = 0;
    // Narrow-band comfort-noise frames of other codecs (types 9 ... 11).
    qint64 foreignSid = 0;
    // Bit t is set when a frame of type t occurred.
    quint16 frameTypesSeen = 0;

    qint64 durationMs() const { return frames * AmrFrameMs; }
};

// Walks the recording whose "#!AMR" is at data[start], reading no byte at or past limit (the
// next recording's start or the container's end). Safe on any bytes.
FrameWalk walkAmrFrames(const char *data, qint64 start, qint64 limit);

// Walks on from walk.audioEnd up to limit, adding to walk's counts and replacing its stop: a
// walk to a nearer limit, walked on, gives what one walk to the further limit gives.
void continueAmrFrames(const char *data, FrameWalk &walk, qint64 limit);

// The frame size for each possible header byte, 0 where the byte is no valid frame header.
using FrameSizeTable = std::array<quint8, 256>;
const FrameSizeTable &frameSizeTable(bool wideBand);

// Whether four zero bytes lie at data[pos], within limit: where a walk takes the audio to end.
bool startsZeroRun(const char *data, qint64 pos, qint64 limit);

// Walks frames of the single-channel format (NarrowBand or WideBand) from data[begin] on, with
// no storage header before them, reading no byte at or past limit. The walk's header is the
// format with size 0, so its counts and audio end mean what they mean after a header. Any other
// format gives a NoHeader walk ending at begin.
FrameWalk walkHeaderlessFrames(const char *data, qint64 begin, qint64 limit, AmrFormat format);

} // namespace vocafetch
