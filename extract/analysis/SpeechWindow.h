#pragma once

#include "extract/analysis/HeaderlessLimits.h"

#include <QtGlobal>

#include <array>
#include <vector>

namespace vocafetch {

// The last minFrames frames of a walk, and whether they look like encoded speech: enough live
// speech frames, few damaged ones, and payload bytes that neither follow the frames before them
// closely (tables of records, patterns), in all or in one place, nor are mostly zero. Each frame
// is compared only with the frames inside the window, so the verdict on a stretch of frames does
// not depend on where the walk began.

class SpeechWindow
{
public:
    void reset(const HeaderlessLimits &limits);

    // Adds the walk's next frame. For a live speech frame, payload holds its length bytes (the
    // first 64 compared: no AMR payload is longer than 60) and previous1 / previous2 the
    // payloads of the frames one and two before when those are of the same type (else null).
    void add(bool live, bool bad, const char *payload, int length, const char *previous1,
             const char *previous2);

    // The window is full and its frames look like speech.
    bool looksLikeSpeech() const;

private:
    struct Entry
    {
        bool live = false;
        bool bad = false;
        bool compared = false; // a frame of its type one or two before
        int length = 0;
        int zero = 0;
        int near1 = 0;      // payload bytes near the frame one before's
        int near12 = 0;     // ... near the frame one or two before's
        quint64 nearAt = 0; // bit i: byte i is
    };

    // The entries but the two oldest, whose comparisons reach outside the window: what they add
    // to the sums that compare.
    void count(const Entry &entry, int sign);

    std::vector<Entry> m_entries;
    int m_next = 0;
    int m_count = 0;
    // All entries.
    int m_live = 0;
    int m_bad = 0;
    qint64 m_length = 0;
    qint64 m_zero = 0;
    // The compared entries.
    qint64 m_near12 = 0;
    int m_compared = 0;
    std::array<int, 64> m_nearAt{};

    int m_minSpeech = 0;
    int m_maxBad = 0;
    double m_maxNear = 0;
    double m_maxZero = 0;
    double m_maxNearAtOnePlace = 0;
};

} // namespace vocafetch
