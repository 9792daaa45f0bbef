#pragma once

namespace vocafetch {

// What the search for recordings without a signature takes for speech, and how far it reads.

// The defaults were measured to find no run in random bytes, program libraries, fonts, images,
// compressed text and encoded media, and every real recording whole.
struct HeaderlessLimits
{
    // A run holds at least one stretch of this many frames (one second) ...
    int minFrames = 50;
    // ... with at least this many live speech frames (a speech mode, Q = 1) ...
    int minSpeechFrames = 25;
    // ... at most this many damaged or foreign frames ...
    int maxBadFrames = 2;
    // ... and payloads that look like encoded speech: at most this share of their bytes lie
    // within one of the byte at the same place in one of the two frames before when those are
    // of the same type (tables of records count up or repeat; speech stays under a seventh),
    // at most this share of the frames have the byte at any one place do so (a field of a
    // table; speech stays under two thirds), and at most this share of their bytes are zero.
    // Outside that stretch a run takes every frame that chains, quiet ones included, as a
    // frame walk after a signature does.
    double maxNearByteShare = 0.2;
    double maxNearAtOnePlace = 0.9;
    double maxZeroByteShare = 0.15;
    // A run ends before more NO_DATA frames in a row than this: a pause has a SID every eight.
    int maxNoDataStreak = 32;
    // A run goes on across a damaged frame header when this many good frames chain from a
    // frame size's distance after it.
    int resyncFrames = 4;
    // Skip the stretches that probes a few hundred bytes apart show to hold no run's start (a
    // run is longer than the probes' spacing); false tries every offset. Both find the same.
    bool probe = true;
};

} // namespace vocafetch
