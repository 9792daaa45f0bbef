#pragma once

#include "extract/analysis/RecordingAnalysis.h"

#include <QVector>

// Finding recordings whose signature is gone: runs of AMR frames (narrow or wide band) with no
// "#!AMR" before them, as left by a container that begins in the middle of a recording, a
// signature overwritten, or audio going on after damage that ended a recording's frame walk.

namespace vocafetch {

// What makes a run of frames speech rather than chance; the defaults were measured to find no
// run in random bytes, images, program binaries and container bytes.
struct HeaderlessLimits
{
    // At least this many frames (one second) ...
    int minFrames = 50;
    // ... of which at least this many speech frames with a live payload (not SID or NO_DATA).
    int minSpeechFrames = 25;
    // A run ends where a bad frame (damaged, another codec's comfort noise, or a payload of one
    // byte over and over or equal to the last one of its frame type) follows another bad frame
    // within this many frames: phones' recordings have a damaged frame in hundreds.
    int minFramesBetweenBadFrames = 16;
    // A run ends after this many NO_DATA frames in a row: a pause has a SID frame every eight.
    int maxNoDataStreak = 32;
    // A run ends where, in its last 25 speech frames, more than this share of the payload bytes
    // repeat the byte at the same place in the last frame of their type, or are zero: encoded
    // speech stays under a tenth; tables of records and program code do not.
    double maxRepeatedByteShare = 0.2;
    double maxZeroByteShare = 0.15;
    // Skip the stretches that probes a few hundred bytes apart show to hold no run's start (a
    // run is longer than the probes' spacing); false tries every offset. Both find the same.
    bool probe = true;
};

// The speech runs in data[begin, end), in ascending order and not overlapping, each analysed as
// a recording: headerless, start at its first frame, limit end, format NarrowBand or WideBand
// with a header of size 0, audio end one past its last frame, EndSource::Frames, and walk.stop
// CrossesLimit when a frame cut short by end ended it (truncated), NotSpeech when the frames
// after it stopped looking like speech, or as a frame walk stops otherwise. Safe on any bytes;
// reads nothing outside [begin, end).
QVector<RecordingAnalysis> findHeaderlessRuns(const char *data, qint64 begin, qint64 end,
                                              const HeaderlessLimits &limits = {});

// The parts of a container of size bytes that the analysed recordings' audio does not cover,
// ascending: before the first recording (the whole container when there is none), and inside
// each recording after its audio end up to its limit. An unrecognised recording covers only
// its 5-byte signature.
QVector<ByteSpan> uncoveredRegions(qint64 size, const QVector<RecordingAnalysis> &recordings);

// The headerless runs in all the uncovered regions of a container, in ascending order, given
// the analyses of its signed recordings (analyseRecordings).
QVector<RecordingAnalysis> findHeaderlessRecordings(const char *data, qint64 size,
                                                    const QVector<RecordingAnalysis> &recordings,
                                                    const HeaderlessLimits &limits = {});

} // namespace vocafetch
