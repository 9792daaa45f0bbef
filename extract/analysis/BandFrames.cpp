#include "extract/analysis/BandFrames.h"

#include <algorithm>
#include <array>

namespace vocafetch {

namespace {

// What a band's frame sizes give, the same for every search: worked out once.
struct BandShape
{
    std::array<quint8, 256> noData{};
    std::array<quint8, 16> resyncSizes{}; // the band's frame sizes, ascending
    int resyncSizeCount = 0;
    int largest = 0;
    int smallestSpeech = AmrMaxFrameSize;
};

BandShape makeShape(bool wideBand)
{
    BandShape shape;
    const FrameSizeTable &sizes = frameSizeTable(wideBand);
    for (int byte = 0; byte < 256; ++byte) {
        const int size = sizes[size_t(byte)];
        if (size == 0)
            continue;
        const int type = byte >> 3;
        shape.noData[size_t(byte)] = quint8(type == 15 || (wideBand && type == 14));
        shape.largest = std::max(shape.largest, size);
        if (type <= (wideBand ? 8 : 7))
            shape.smallestSpeech = std::min(shape.smallestSpeech, size);
    }
    for (int type = 0; type < 16; ++type) {
        const int size = amrFrameSize(wideBand, type);
        const auto end = shape.resyncSizes.begin() + shape.resyncSizeCount;
        if (size > 0 && std::find(shape.resyncSizes.begin(), end, size) == end)
            shape.resyncSizes[size_t(shape.resyncSizeCount++)] = quint8(size);
    }
    std::sort(shape.resyncSizes.begin(), shape.resyncSizes.begin() + shape.resyncSizeCount);
    return shape;
}

const BandShape &bandShape(bool wideBand)
{
    static const BandShape shapes[2] = {makeShape(false), makeShape(true)};
    return shapes[wideBand ? 1 : 0];
}

} // namespace

BandFrames::BandFrames(bool wideBand, const HeaderlessLimits &limits)
    : m_wideBand(wideBand), m_sizes(&frameSizeTable(wideBand)),
      m_maxNoDataStreak(std::max(limits.maxNoDataStreak, 0)),
      m_resyncFrames(std::max(limits.resyncFrames, 1))
{
    const BandShape &shape = bandShape(wideBand);
    m_noData = shape.noData;
    m_resyncSizes = shape.resyncSizes;
    m_resyncSizeCount = shape.resyncSizeCount;
    m_largest = shape.largest;
    m_smallestSpeech = shape.smallestSpeech;
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
