#pragma once

#include "extract/ContainerFileScan.h"
#include "extract/RecordingScan.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QByteArray>
#include <QVector>

#include <optional>

namespace vocafetch {

// A container that can be read only once, front to back (a pipe, standard input), scanned and
// analysed as its bytes arrive: the recordings, markers and analyses are those a mapped file of
// the same bytes gives (ContainerSession::openMapped), while only the bytes the analyses still
// need are held: the part-header search window before the newest bytes, the frame the walks
// wait on and, when headerless recordings are looked for, the uncovered piece being gathered.

class StreamAnalysis
{
public:
    explicit StreamAnalysis(bool findHeaderless);
    StreamAnalysis(const StreamAnalysis &) = delete;
    StreamAnalysis &operator=(const StreamAnalysis &) = delete;

    // The next bytes of the stream.
    void feed(const char *data, qint64 length);
    // The stream ended: the last recording runs up to here.
    void finish();

    qint64 size() const { return m_size; }
    const ContainerScan &scan() const { return m_scanner.result(); }
    // After finish(): every recording's analysis, the signed ones in order, then the headerless
    // ones (as ContainerSession::analyses() gives them).
    const QVector<RecordingAnalysis> &recordings() const { return m_recordings; }
    int signedCount() const { return m_signedCount; }
    // The most stream bytes held at once.
    qint64 peakHeld() const { return m_peakHeld; }

private:
    // The signed recording whose limit (the next start, or the end) is not known yet.
    struct Pending
    {
        qint64 start = 0;
        qint64 lowerBound = 0; // the previous recording's start, or 0
        bool headerRead = false;
        RecordingAnalysis recording; // its walk runs on towards the limit
        bool walkSettled = false;    // it stopped where no later byte can move it
        // The part header's own walk up to its data end, while the header may still hold.
        bool partPending = false;
        FrameWalk partWalk;
        bool partHolds = false;
        bool complete = false; // its limit is known and its analysis done
    };

    void process();
    // No recording start lies before this offset that has not been found.
    qint64 decided() const;
    void startRecording(qint64 start);
    // Takes the pending recording as far as the bytes up to limit allow; with limitKnown,
    // limit is its own and its analysis is complete.
    void advance(Pending &pending, qint64 limit, bool limitKnown);
    void readHeader(Pending &pending, qint64 limit);
    void decidePartHeader(Pending &pending, qint64 limit, bool limitKnown);
    void endRecording(qint64 limit);
    // Where the pending recording's covered bytes end, once that is known.
    std::optional<qint64> coveredEnd(const Pending &pending) const;
    // Walks on up to limit over the bytes held; true when the walk stopped for good.
    bool walk(FrameWalk &walk, qint64 limit) const;
    void gatherUncovered(qint64 end, bool regionEnds);
    void searchPiece(qint64 begin, qint64 end);
    qint64 neededFrom() const;
    void dropUnneeded();

    bool m_findHeaderless;
    ContainerScanner m_scanner;
    qint64 m_scannedTo = 0;
    int m_startsSeen = 0;
    bool m_finished = false;

    // m_buffer holds the stream's bytes [m_base, m_size).
    QByteArray m_buffer;
    qint64 m_base = 0;
    qint64 m_size = 0;
    qint64 m_peakHeld = 0;

    std::optional<Pending> m_pending;
    std::optional<qint64> m_lastStart;
    QVector<RecordingAnalysis> m_recordings;
    int m_signedCount = 0;

    // The uncovered region being gathered for the headerless search: the bytes from
    // m_pieceBegin on, its start known.
    bool m_gathering = false;
    qint64 m_pieceBegin = 0;
    QVector<RecordingAnalysis> m_headerless;
};

} // namespace vocafetch
