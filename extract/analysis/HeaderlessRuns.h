#pragma once

#include "extract/analysis/HeaderlessLimits.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QVector>

#include <memory>

namespace vocafetch {

// Finding recordings whose signature is gone: runs of AMR frames (narrow or wide band) with no
// "#!AMR" before them, as left by a container that begins in the middle of a recording, a
// signature overwritten, or audio going on after damage that ended a recording's frame walk.
//
// A run starts at the first offset from which frames chain, its first frame a good one, up to a
// stretch that looks like speech (HeaderlessLimits); a few leading frames of another mode than
// the frames after them are container bytes that chain into it by chance and are left out. It
// ends where the frames stop: a header no frame has (unless good frames resume a frame's
// length after it, a damaged header), four zero bytes, the region's end, a payload of one or
// two bytes over and over, or a long NO_DATA streak. Each rule looks only at the frame and the
// bytes after it, so a walk that meets frames another walk passed goes on as that one did;
// that keeps the search linear in the bytes, whatever they hold.

// The search, reusable from region to region (it keeps its working memory), that can stop where
// the bytes at hand end and go on from there once the next ones are at hand.
class HeaderlessSearch
{
public:
    explicit HeaderlessSearch(const HeaderlessLimits &limits = {});
    ~HeaderlessSearch();
    HeaderlessSearch(const HeaderlessSearch &) = delete;
    HeaderlessSearch &operator=(const HeaderlessSearch &) = delete;

    // Searches the region data[from, regionEnd) for runs that start before stopAt (regionEnd
    // when negative), up to where the bytes at hand end, reading nothing at or past
    // readableEnd (at most regionEnd). Appends the runs found, ascending, each limited by
    // regionEnd (the last may end past stopAt), and returns the offset from which the search
    // goes on with the bytes from there on at hand: stopAt or more once every offset before it
    // is decided. decideFirst decides an offset at from whose frames go on past readableEnd
    // with the bytes at hand (when more cannot be had at once), so that the search moves on.
    // What the search finds from an offset depends on that offset alone: searches of a region
    // begun at different offsets agree on every run they both find past both starts.
    qint64 search(const char *data, qint64 from, qint64 readableEnd, qint64 regionEnd,
                  QVector<RecordingAnalysis> &runs, bool decideFirst = false, qint64 stopAt = -1);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

// How far past the offset whose frames a search tried a run found from there may start: the
// leading frames it leaves out as container bytes.
qint64 headerlessRunLead();

// The speech runs in data[begin, end), in ascending order and not overlapping, each analysed as
// a recording: headerless, start at its first frame, limit end, format NarrowBand or WideBand
// with a header of size 0, audio end one past its last frame, EndSource::Frames, and walk.stop
// CrossesLimit when a frame cut short by end ended it (truncated), NotSpeech when a dead
// payload or a long NO_DATA streak did, or as a frame walk stops otherwise. The walk counts a
// damaged header stepped over as one damaged frame. Safe on any bytes; reads nothing outside
// [begin, end).
QVector<RecordingAnalysis> findHeaderlessRuns(const char *data, qint64 begin, qint64 end,
                                              const HeaderlessLimits &limits = {});

// Where a signed recording's cover ends: at its audio end, or after its 5-byte signature when
// its header is not recognised.
qint64 coveredEnd(const RecordingAnalysis &recording);

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
