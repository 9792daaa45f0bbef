#pragma once

#include "extract/analysis/AmrFrameWalker.h"
#include "extract/analysis/HeaderlessLimits.h"

#include <QtGlobal>

#include <array>
#include <cstring>

namespace vocafetch {

// The frames of one band (narrow or wide) as the headerless search steps through them. Every
// rule looks at the frame and the bytes after it only, so where the frames from a position on
// stop does not depend on the frame a walk started from: walks that meet go on alike.

// The bytes at hand: readable up to readable, the region searched up to region. When the
// region goes on past the readable bytes, a step that needs bytes beyond is undecided.
struct ByteExtent
{
    qint64 readable = 0;
    qint64 region = 0;
    bool final() const { return readable >= region; }
};

enum class StepEnd : quint8
{
    None,      // a frame: next is where the one after it starts
    Stop,      // the frames stop here, for stop's reason
    Undecided, // the bytes at hand do not tell
};

struct FrameStep
{
    StepEnd end = StepEnd::None;
    WalkStop stop = WalkStop::Limit;
    quint8 header = 0;
    // The header was damaged: the frame runs up to where good frames resume.
    bool resynced = false;
    qint64 next = 0;
};

class BandFrames
{
public:
    BandFrames(bool wideBand, const HeaderlessLimits &limits);

    bool wideBand() const { return m_wideBand; }
    const FrameSizeTable &sizes() const { return *m_sizes; }
    // The band's largest frame.
    int largestFrame() const { return m_largest; }
    // The band's smallest speech frame.
    int smallestSpeechFrame() const { return m_smallestSpeech; }

    // The frame at pos. afterNoData: the walk's frame before was NO_DATA (a streak is judged
    // where it starts). mayResync: a damaged header is stepped over when good frames resume.
    FrameStep step(const char *data, qint64 pos, const ByteExtent &extent, bool afterNoData,
                   bool mayResync) const;

    // What a header byte (valid in this band) says.
    static bool isGood(quint8 header) { return (header & 0x04) != 0; }
    bool isSpeech(quint8 header) const { return (header >> 3) <= (m_wideBand ? 8 : 7); }
    bool isNoData(quint8 header) const { return m_noData[header] != 0; }
    bool isForeign(quint8 header) const { return isForeignSid(m_wideBand, header >> 3); }
    // Whether a run may start with the frame of this header: good, and neither NO_DATA nor
    // another codec's comfort noise.
    bool canStart(quint8 header) const
    {
        return (*m_sizes)[header] != 0 && isGood(header) && !isNoData(header) && !isForeign(header);
    }

private:
    FrameStep resync(const char *data, qint64 pos, const ByteExtent &extent) const;
    // Whether more than maxNoDataStreak NO_DATA frames follow each other from pos on.
    StepEnd longNoDataStreak(const char *data, qint64 pos, const ByteExtent &extent) const;

    bool m_wideBand;
    const FrameSizeTable *m_sizes;
    std::array<quint8, 256> m_noData{};
    std::array<quint8, 16> m_resyncSizes{}; // the band's frame sizes, ascending
    int m_resyncSizeCount = 0;
    int m_largest = 0;
    int m_smallestSpeech = 0;
    int m_maxNoDataStreak;
    int m_resyncFrames;
};

// Whether a payload is one or two bytes over and over, as no encoder writes and fills do.
inline bool isDeadPayload(const char *payload, int length)
{
    // Payloads shorter than five bytes (only NO_DATA's, which has none) are never dead.
    return length >= 5 && payload[0] == payload[2] && payload[1] == payload[3] &&
           std::memcmp(payload, payload + 2, size_t(length - 2)) == 0;
}

} // namespace vocafetch
