#include "extract/analysis/BandFrames.h"

#include <algorithm>

namespace vocafetch {

BandFrames::BandFrames(bool wideBand, const HeaderlessLimits &limits)
    : m_wideBand(wideBand), m_sizes(&frameSizeTable(wideBand)),
      m_maxNoDataStreak(std::max(limits.maxNoDataStreak, 0)),
      m_resyncFrames(std::max(limits.resyncFrames, 1))
{
    m_smallestSpeech = AmrMaxFrameSize;
    for (int byte = 0; byte < 256; ++byte) {
        const int size = (*m_sizes)[size_t(byte)];
        if (size == 0)
            continue;
        const int type = byte >> 3;
        m_noData[size_t(byte)] = quint8(type == 15 || (wideBand && type == 14));
        m_largest = std::max(m_largest, size);
        if (isSpeech(quint8(byte)))
            m_smallestSpeech = std::min(m_smallestSpeech, size);
    }
    for (int type = 0; type < 16; ++type) {
        const int size = amrFrameSize(wideBand, type);
        const auto end = m_resyncSizes.begin() + m_resyncSizeCount;
        if (size > 0 && std::find(m_resyncSizes.begin(), end, size) == end)
            m_resyncSizes[size_t(m_resyncSizeCount++)] = quint8(size);
    }
    std::sort(m_resyncSizes.begin(), m_resyncSizes.begin() + m_resyncSizeCount);
}

FrameStep BandFrames::step(const char *data, qint64 pos, const ByteExtent &extent, bool afterNoData,
                           bool mayResync) const
{
    FrameStep step;
    const auto stopWith = [&](WalkStop stop) {
        step.end = StepEnd::Stop;
        step.stop = stop;
        return step;
    };
    const auto undecided = [&] {
        step.end = StepEnd::Undecided;
        return step;
    };
    if (pos >= extent.readable)
        return extent.final() ? stopWith(WalkStop::Limit) : undecided();
    const quint8 byte = quint8(data[pos]);
    if (byte == 0) {
        if (extent.readable - pos >= 4 && startsZeroRun(data, pos, extent.readable))
            return stopWith(WalkStop::ZeroRun);
        if (extent.readable - pos < 4 && !extent.final())
            return undecided();
    }
    const int size = (*m_sizes)[byte];
    if (size == 0)
        return mayResync ? resync(data, pos, extent) : stopWith(WalkStop::InvalidHeader);
    if (extent.readable - pos < size)
        return extent.final() ? stopWith(WalkStop::CrossesLimit) : undecided();
    if (isDeadPayload(data + pos + 1, size - 1))
        return stopWith(WalkStop::NotSpeech);
    if (!afterNoData && isNoData(byte)) {
        const StepEnd streak = longNoDataStreak(data, pos, extent);
        if (streak == StepEnd::Undecided)
            return undecided();
        if (streak == StepEnd::Stop)
            return stopWith(WalkStop::NotSpeech);
    }
    step.header = byte;
    step.next = pos + size;
    return step;
}

StepEnd BandFrames::longNoDataStreak(const char *data, qint64 pos, const ByteExtent &extent) const
{
    // NO_DATA frames are one byte long: a streak is a run of NO_DATA header bytes.
    for (int count = 0; count <= m_maxNoDataStreak; ++count) {
        if (pos + count >= extent.readable)
            return extent.final() ? StepEnd::None : StepEnd::Undecided;
        if (!isNoData(quint8(data[pos + count])))
            return StepEnd::None;
    }
    return StepEnd::Stop;
}

// A damaged header is a frame of unknown size: the smallest frame size after which
// resyncFrames good frames chain gives it, as they would after a bit error in the header.
FrameStep BandFrames::resync(const char *data, qint64 pos, const ByteExtent &extent) const
{
    FrameStep step;
    for (int i = 0; i < m_resyncSizeCount; ++i) {
        qint64 at = pos + m_resyncSizes[size_t(i)];
        bool afterNoData = false;
        int chained = 0;
        for (; chained < m_resyncFrames; ++chained) {
            const FrameStep next = this->step(data, at, extent, afterNoData, false);
            if (next.end == StepEnd::Undecided) {
                step.end = StepEnd::Undecided;
                return step;
            }
            if (next.end == StepEnd::Stop || !isGood(next.header) || isForeign(next.header))
                break;
            afterNoData = isNoData(next.header);
            at = next.next;
        }
        if (chained == m_resyncFrames) {
            step.header = quint8(data[pos]);
            step.resynced = true;
            step.next = pos + m_resyncSizes[size_t(i)];
            return step;
        }
    }
    step.end = StepEnd::Stop;
    step.stop = WalkStop::InvalidHeader;
    return step;
}

} // namespace vocafetch
