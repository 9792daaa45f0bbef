#include "cli/StreamAnalysis.h"

#include "extract/ContainerSession.h"
#include "extract/analysis/AmrFrameWalker.h"
#include "extract/analysis/HeaderlessRuns.h"
#include "extract/analysis/WspPartHeader.h"

#include <algorithm>

namespace vocafetch {

namespace {

// The longest storage header: a multichannel wide-band magic and its channel field. Once this
// many bytes after a start are in, its header reads as it would with all of them.
constexpr qint64 HeaderBytes = 32;
// As analyseRecording decides a part header: more than this many frames going on past the
// part's data end mean its DataLen stops inside the audio.
constexpr qint64 MaxFramesPastPartEnd = 8;
// Bytes dropped from the front of the buffer at a time, so they are not moved for every read.
constexpr qint64 DropStep = qint64(1) << 20;

// Whether a walk stopped where bytes further on cannot change it: a frame header that is none,
// or four zero bytes, both wholly before the limit it was given.
bool settled(const FrameWalk &walk)
{
    return walk.stop == WalkStop::InvalidHeader || walk.stop == WalkStop::ZeroRun;
}

} // namespace

StreamAnalysis::StreamAnalysis(bool findHeaderless)
    : m_findHeaderless(findHeaderless), m_gathering(findHeaderless)
{
}

void StreamAnalysis::feed(const char *data, qint64 length)
{
    if (length <= 0)
        return;
    m_buffer.append(data, qsizetype(length));
    m_size += length;
    m_peakHeld = std::max<qint64>(m_peakHeld, m_buffer.size());
    process();
}

void StreamAnalysis::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    process();
    if (m_pending)
        endRecording(m_size);
    else
        gatherUncovered(m_size, true);
    m_recordings += m_headerless;
    m_headerless.clear();
    m_buffer.clear();
    m_base = m_size;
}

qint64 StreamAnalysis::decided() const
{
    if (m_finished)
        return m_size;
    return std::max<qint64>(0, m_size - (RecordingScan::RecordingStartText.size() - 1));
}

void StreamAnalysis::process()
{
    // From where the last window may have left a signature or marker half seen.
    const qint64 from = std::max(m_base, m_scannedTo - ContainerScanner::overlap());
    if (m_size > from)
        m_scanner.scanWindow(
            reinterpret_cast<const unsigned char *>(m_buffer.constData() + (from - m_base)), from,
            m_size - from);
    m_scannedTo = m_size;

    const QVector<qint64> &starts = scan().recordingStarts;
    while (m_startsSeen < starts.size()) {
        const qint64 start = starts[m_startsSeen++];
        if (m_pending)
            endRecording(start);
        else
            gatherUncovered(start, true); // the bytes before the first recording
        startRecording(start);
    }
    if (m_pending) {
        advance(*m_pending, decided(), false);
        if (m_findHeaderless && !m_gathering) {
            if (const std::optional<qint64> covered = coveredEnd(*m_pending)) {
                m_gathering = true;
                m_pieceBegin = *covered;
            }
        }
    }
    gatherUncovered(decided(), false);
    dropUnneeded();
}

void StreamAnalysis::startRecording(qint64 start)
{
    Pending pending;
    pending.start = start;
    pending.lowerBound = m_lastStart.value_or(0);
    m_lastStart = start;
    m_pending = pending;
}

void StreamAnalysis::advance(Pending &pending, qint64 limit, bool limitKnown)
{
    if (!pending.headerRead) {
        if (!limitKnown && limit - pending.start < HeaderBytes)
            return;
        readHeader(pending, limit);
    }
    RecordingAnalysis &recording = pending.recording;
    if (recording.recognised()) {
        if (pending.partPending)
            decidePartHeader(pending, limit, limitKnown);
        if (!pending.partHolds && !pending.walkSettled)
            pending.walkSettled = walk(recording.walk, limit);
    }
    if (!limitKnown)
        return;
    pending.complete = true;
    recording.limit = limit;
    if (!recording.recognised()) {
        recording.audioEnd = limit;
    } else if (pending.partHolds) {
        recording.walk = pending.partWalk;
        recording.endFrom = EndSource::PartHeader;
        recording.audioEnd = recording.walk.audioEnd;
    } else {
        recording.endFrom = EndSource::Frames;
        recording.audioEnd = recording.walk.audioEnd;
    }
}

void StreamAnalysis::readHeader(Pending &pending, qint64 limit)
{
    pending.headerRead = true;
    RecordingAnalysis &recording = pending.recording;
    const qint64 start = pending.start;
    recording.start = start;
    recording.limit = limit;
    recording.audioEnd = limit;
    recording.walk.audioEnd = start;
    const char *data = m_buffer.constData();
    recording.walk.header = readAmrHeader(data, start - m_base, limit - m_base);
    if (!recording.recognised())
        return;
    recording.walk.audioEnd = start + recording.walk.header.size;
    const std::optional<WspPartHeader> part =
        findPartHeader(data, start - m_base, std::max(pending.lowerBound, m_base) - m_base);
    if (!part)
        return;
    recording.hasPartHeader = true;
    recording.partHeader = *part;
    recording.partHeader.offset += m_base;
    recording.partHeader.dataOffset += m_base;
    recording.partHeader.mediaType.clear(); // no listing shows it; thousands of them add up
    if (recording.partHeader.dataEnd() - start >= recording.walk.header.size) {
        pending.partPending = true;
        pending.partWalk = recording.walk;
    }
}

// The part header holds when its data end lies within the limit, the frames fill the data
// exactly, and no more than a few frames go on after it (analyseRecording's rule).
void StreamAnalysis::decidePartHeader(Pending &pending, qint64 limit, bool limitKnown)
{
    const qint64 end = pending.recording.partHeader.dataEnd();
    if (limitKnown && end > limit) {
        pending.partPending = false;
        return;
    }
    FrameWalk &partWalk = pending.partWalk;
    const bool stopped = walk(partWalk, std::min(end, limit));
    if (stopped ||
        (limit >= end && (partWalk.stop != WalkStop::Limit || partWalk.audioEnd != end))) {
        pending.partPending = false;
        return;
    }
    if (limit < end)
        return;
    const qint64 window =
        (MaxFramesPastPartEnd + 1) * AmrMaxFrameSize * qint64(partWalk.header.channels);
    if (!limitKnown && limit < end + window)
        return;
    FrameWalk after = partWalk;
    after.frames = 0;
    walk(after, std::min(limit, end + window));
    pending.partPending = false;
    pending.partHolds = after.frames <= MaxFramesPastPartEnd;
}

void StreamAnalysis::endRecording(qint64 limit)
{
    Pending &pending = *m_pending;
    advance(pending, limit, true);
    RecordingAnalysis recording = pending.recording;
    if (m_findHeaderless) {
        if (!m_gathering) {
            m_gathering = true;
            m_pieceBegin = *coveredEnd(pending);
        }
        gatherUncovered(limit, true);
    }
    m_recordings.append(recording);
    ++m_signedCount;
    m_pending.reset();
}

std::optional<qint64> StreamAnalysis::coveredEnd(const Pending &pending) const
{
    const RecordingAnalysis &recording = pending.recording;
    if (!pending.headerRead)
        return std::nullopt;
    // As uncoveredRegions counts them: an unrecognised recording covers its signature alone.
    if (!recording.recognised())
        return pending.start + RecordingScan::RecordingStartText.size();
    if (pending.complete)
        return recording.audioEnd;
    if (pending.partHolds)
        return pending.partWalk.audioEnd;
    if (!pending.partPending && pending.walkSettled)
        return recording.walk.audioEnd;
    return std::nullopt;
}

bool StreamAnalysis::walk(FrameWalk &walk, qint64 limit) const
{
    if (limit <= walk.audioEnd && walk.stop != WalkStop::NoHeader)
        return settled(walk);
    walk.audioEnd -= m_base;
    continueAmrFrames(m_buffer.constData(), walk, limit - m_base);
    walk.audioEnd += m_base;
    return settled(walk);
}

void StreamAnalysis::gatherUncovered(qint64 end, bool regionEnds)
{
    if (!m_findHeaderless || !m_gathering)
        return;
    const qint64 piece = ContainerSession::HeaderlessSearchPiece;
    // Pieces cut from the region's start, as the mapped search cuts them.
    while (end - m_pieceBegin >= piece) {
        searchPiece(m_pieceBegin, m_pieceBegin + piece);
        m_pieceBegin += piece;
    }
    if (!regionEnds)
        return;
    if (end > m_pieceBegin)
        searchPiece(m_pieceBegin, end);
    m_gathering = false;
}

void StreamAnalysis::searchPiece(qint64 begin, qint64 end)
{
    QVector<RecordingAnalysis> runs =
        findHeaderlessRuns(m_buffer.constData(), begin - m_base, end - m_base);
    for (RecordingAnalysis &run : runs) {
        shiftOffsets(run, m_base);
        m_headerless.append(run);
    }
}

qint64 StreamAnalysis::neededFrom() const
{
    // A start still to be found looks back this far for its part header.
    qint64 from = decided() - PartHeaderSearchWindow;
    if (m_pending) {
        const Pending &pending = *m_pending;
        const RecordingAnalysis &recording = pending.recording;
        if (!pending.headerRead)
            from = std::min(from,
                            std::max(pending.lowerBound, pending.start - PartHeaderSearchWindow));
        else if (recording.recognised()) {
            if (!pending.partHolds && !pending.walkSettled)
                from = std::min(from, recording.walk.audioEnd);
            if (pending.partPending)
                from = std::min(from, pending.partWalk.audioEnd);
        }
    }
    if (m_gathering)
        from = std::min(from, m_pieceBegin);
    return std::clamp(from, m_base, m_size);
}

void StreamAnalysis::dropUnneeded()
{
    const qint64 from = neededFrom();
    if (from - m_base < std::min<qint64>(DropStep, m_buffer.size() / 2 + 1))
        return;
    m_buffer.remove(0, qsizetype(from - m_base));
    m_base = from;
}

} // namespace vocafetch
