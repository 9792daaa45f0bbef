#pragma once

#include "extract/analysis/BandFrames.h"
#include "extract/analysis/FrameMarks.h"
#include "extract/analysis/SpeechWindow.h"

namespace vocafetch {

// Follows the frames of one band from a run's first frame to where they stop, deciding on the
// way whether they hold speech.

// What the frames of a run add up to, counted as a frame walk counts them.
struct RunTally
{
    qint64 frames = 0;
    qint64 damaged = 0; // Q = 0, or a damaged header stepped over
    qint64 foreignSid = 0;
    quint16 frameTypes = 0;
};

enum class RunVerdict
{
    Speech,
    NotSpeech,
    Undecided, // the bytes at hand end before the verdict or the run's end
};

struct FollowedRun
{
    RunVerdict verdict = RunVerdict::NotSpeech;
    qint64 end = 0; // one past the last frame
    WalkStop stop = WalkStop::Limit;
    RunTally tally;
};

class RunFollower
{
public:
    RunFollower(const BandFrames &band, const HeaderlessLimits &limits);

    // Follows the frames from first on. A damaged header is stepped over from resyncFrom on.
    // Frames passed before the verdict are marked in marks; a walk that reaches a marked frame
    // goes on as the one that marked it, which found no speech, so it stops once no window
    // that began before that frame is left to judge.
    FollowedRun follow(const char *data, qint64 first, const ByteExtent &extent, qint64 resyncFrom,
                       FrameMarks &marks);

private:
    // Adds the frame at pos to the tally; true when it is a speech window's last frame.
    bool judge(const char *data, qint64 pos, const FrameStep &step);
    static void count(RunTally &tally, const BandFrames &band, const FrameStep &step);

    const BandFrames &m_band;
    const HeaderlessLimits &m_limits;
    SpeechWindow m_window;
    // The last two frames judged: their payloads for the next one's comparisons.
    struct Judged
    {
        const char *payload = nullptr;
        int type = -1; // -1: a damaged header, no type
    };
    Judged m_previous[2];
};

} // namespace vocafetch
