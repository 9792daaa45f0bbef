#include "extract/analysis/RunFollower.h"

#include <algorithm>

namespace vocafetch {

RunFollower::RunFollower(const BandFrames &band, const HeaderlessLimits &limits)
    : m_band(band), m_limits(limits)
{
}

void RunFollower::count(RunTally &tally, const BandFrames &band, const FrameStep &step)
{
    ++tally.frames;
    if (step.resynced) {
        ++tally.damaged;
        return;
    }
    tally.frameTypes |= quint16(1u << (step.header >> 3));
    tally.damaged += BandFrames::isGood(step.header) ? 0 : 1;
    tally.foreignSid += band.isForeign(step.header) ? 1 : 0;
}

bool RunFollower::judge(const char *data, qint64 pos, const FrameStep &step)
{
    const int type = step.resynced ? -1 : step.header >> 3;
    const bool good = !step.resynced && BandFrames::isGood(step.header);
    const bool live = good && m_band.isSpeech(step.header);
    const bool bad = !good || m_band.isForeign(step.header);
    const char *payload = data + pos + 1;
    const auto sameType = [type](const Judged &frame) {
        return type >= 0 && frame.type == type ? frame.payload : nullptr;
    };
    m_window.add(live, bad, payload, int(step.next - pos) - 1, sameType(m_previous[0]),
                 sameType(m_previous[1]));
    m_previous[1] = m_previous[0];
    m_previous[0] = {payload, type};
    return m_window.looksLikeSpeech();
}

FollowedRun RunFollower::follow(const char *data, qint64 first, const ByteExtent &extent,
                                qint64 resyncFrom, FrameMarks &marks)
{
    FollowedRun run;
    m_window.reset(m_limits);
    m_previous[0] = m_previous[1] = Judged{};
    const qint64 window = std::max(m_limits.minFrames, 1);
    qint64 pos = first;
    qint64 merged = -1; // the frame count when a marked frame was reached
    bool afterNoData = false;
    bool speech = false;
    for (;;) {
        if (!speech) {
            if (merged < 0 && marks.test(pos))
                merged = run.tally.frames;
            // Every window from the marked frame on was judged by the walk that marked it.
            if (merged >= 0 && run.tally.frames >= merged + window - 1) {
                run.end = pos;
                run.stop = WalkStop::NotSpeech;
                return run;
            }
        }
        const FrameStep step = m_band.step(data, pos, extent, afterNoData, pos >= resyncFrom);
        if (step.end == StepEnd::Undecided) {
            run.verdict = RunVerdict::Undecided;
            return run;
        }
        if (step.end == StepEnd::Stop) {
            run.stop = step.stop;
            break;
        }
        count(run.tally, m_band, step);
        if (!speech) {
            marks.set(pos);
            speech = judge(data, pos, step);
        }
        afterNoData = !step.resynced && m_band.isNoData(step.header);
        pos = step.next;
    }
    run.end = pos;
    run.verdict = speech ? RunVerdict::Speech : RunVerdict::NotSpeech;
    return run;
}

} // namespace vocafetch
