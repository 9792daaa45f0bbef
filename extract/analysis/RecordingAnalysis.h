#pragma once

#include "extract/ByteSpan.h"
#include "extract/analysis/AmrFrameWalker.h"
#include "extract/analysis/WspPartHeader.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace vocafetch {

// What a recording found in a container holds: its format, frames and duration, and where its
// audio really ends, so that a clean cut can write the audio and nothing else.

// How a recording's audio end was found.
enum class EndSource
{
    PartHeader, // the multipart part header's DataLen, confirmed by the frame walk
    Frames,     // the frame walk alone
    None,       // unknown header: no audio end known, the whole range is kept
};

// "part header", "frames" or "none".
QString endSourceName(EndSource source);

struct RecordingAnalysis
{
    qint64 start = 0; // the "#" of "#!AMR"; a headerless recording's first frame
    // The next recording's start or the container's end; for a headerless recording the end of
    // the region it was found in.
    qint64 limit = 0;
    // The frame walk that decided: bounded by the part's data when the part header held.
    FrameWalk walk;
    // The part header found before the recording, whether or not it added up.
    bool hasPartHeader = false;
    WspPartHeader partHeader;
    EndSource endFrom = EndSource::None;
    // One past the recording's last audio byte; the limit when the header is unknown.
    qint64 audioEnd = 0;
    // Frames no signature precedes (vocafetch::findHeaderlessRuns): the walk's header is
    // NarrowBand or WideBand with size 0, and the audio starts at start.
    bool headerless = false;

    AmrFormat format() const { return walk.header.format; }
    bool recognised() const { return format() != AmrFormat::Unknown; }
    int channels() const { return walk.header.channels; }
    qint64 frames() const { return walk.frames; }
    qint64 durationMs() const { return walk.durationMs(); }
    qint64 damaged() const { return walk.damaged; }
    // The last frame was cut short by the limit: the audio ends at the last whole frame.
    bool truncated() const { return walk.stop == WalkStop::CrossesLimit; }
};

// Analyses the recording at data[start], whose bytes end at limit (the next recording's start
// or the container's end). A part header is looked for between lowerBound (the previous
// recording's start, or 0) and start. Its DataLen gives the end when start + DataLen lies
// within the limit, the frame walk up to there ends exactly there, and no more than a few
// frames (container bytes that happen to look like frames) follow it; otherwise the frame walk
// up to the limit decides. Safe on any bytes.
RecordingAnalysis analyseRecording(const char *data, qint64 start, qint64 limit,
                                   qint64 lowerBound = 0);

// Analyses every recording of a container of size bytes, given the ascending offsets of its
// recording starts; entry i belongs to starts[i]. An offset outside the container gives an
// unrecognised recording with an empty range. threads 0 picks the count itself: one for a small
// container, up to four cores from 64 MiB on; any count gives the same result.
QVector<RecordingAnalysis> analyseRecordings(const char *data, qint64 size,
                                             const QVector<qint64> &starts, int threads = 0);
// Analyses recordings first ... last - 1 of starts into out[0 ...], on this thread.
void analyseRecordingsInto(const char *data, qint64 size, const QVector<qint64> &starts,
                           qsizetype first, qsizetype last, RecordingAnalysis *out);
// The analyses of recordings first ... last - 1 of the same starts, as analyseRecordings()
// gives them: for working through a container with many recordings a stretch at a time.
QVector<RecordingAnalysis> analyseRecordingRange(const char *data, qint64 size,
                                                 const QVector<qint64> &starts, qsizetype first,
                                                 qsizetype last, int threads = 0);
QVector<RecordingAnalysis> analyseRecordings(const QByteArray &container,
                                             const QVector<qint64> &starts, int threads = 0);

// Moves every offset of an analysis made of bytes that begin at base (a window, a piece of a
// stream) to offsets of the container.
void shiftOffsets(RecordingAnalysis &recording, qint64 base);

// The bytes a clean cut writes: from the "#!AMR" up to the audio end. A recording whose header
// is not recognised keeps its whole range up to the limit, so a clean cut never drops bytes
// that might be audio.
ByteSpan cleanRange(const RecordingAnalysis &recording);

// A clean file: header followed by the container's bytes [frames.begin, frames.end). A
// recognised or headerless recording gets its format's canonical header and its whole frames,
// so that it plays even when its stored header was in another letter case or missing. An
// unrecognised recording keeps its whole range with no header added (header empty), as
// cleanRange gives it.
struct CleanCut
{
    QByteArray header;
    ByteSpan frames;
    qint64 size() const { return header.size() + frames.size(); }
};

CleanCut cleanCut(const RecordingAnalysis &recording);

// The clean file's bytes; data is the container the recording was analysed in.
QByteArray cleanCutBytes(const char *data, const CleanCut &cut);

} // namespace vocafetch
