#include "RecordingAnalysis.h"

#include <algorithm>

namespace {

// Container bytes after a part may pass for a few frames; more than this many frames going on
// past the part's end mean its DataLen stops inside the audio.
constexpr qint64 MaxFramesPastPartEnd = 8;

// Walks the frames up to the part's end. True when they fill the part's data exactly and the
// audio does not plainly go on after it; walk then holds the frames up to the part's end.
// Otherwise walk ends at a stop of its own, from where a walk up to the limit can go on.
bool partHeaderHolds(const char *data, const RecordingAnalysis &recording,
                     const WspPartHeader &header, FrameWalk &walk)
{
    const qint64 end = header.dataEnd();
    if (end > recording.limit || end - recording.start < recording.walk.header.size)
        return false;
    continueAmrFrames(data, walk, end);
    if (walk.stop != WalkStop::Limit || walk.audioEnd != end)
        return false;
    FrameWalk after = walk;
    after.frames = 0;
    const qint64 window =
        (MaxFramesPastPartEnd + 1) * AmrMaxFrameSize * qint64(walk.header.channels);
    continueAmrFrames(data, after, std::min(recording.limit, end + window));
    return after.frames <= MaxFramesPastPartEnd;
}

} // namespace

QString endSourceName(EndSource source)
{
    switch (source) {
    case EndSource::PartHeader:
        return QStringLiteral("part header");
    case EndSource::Frames:
        return QStringLiteral("frames");
    case EndSource::None:
        break;
    }
    return QStringLiteral("none");
}

RecordingAnalysis analyseRecording(const char *data, qint64 start, qint64 limit, qint64 lowerBound)
{
    RecordingAnalysis recording;
    recording.start = start;
    recording.limit = std::max(start, limit);
    recording.audioEnd = recording.limit;
    recording.walk.audioEnd = start;
    if (start < 0 || limit <= start)
        return recording;
    // The header alone first: the frames are walked once, up to the part's end when there is
    // a part header, and on up to the limit when it does not add up.
    recording.walk.header = readAmrHeader(data, start, limit);
    if (!recording.recognised())
        return recording;
    recording.walk.audioEnd = start + recording.walk.header.size;

    const std::optional<WspPartHeader> partHeader = findPartHeader(data, start, lowerBound);
    if (partHeader) {
        recording.hasPartHeader = true;
        recording.partHeader = *partHeader;
        if (partHeaderHolds(data, recording, recording.partHeader, recording.walk)) {
            recording.endFrom = EndSource::PartHeader;
            recording.audioEnd = recording.walk.audioEnd;
            return recording;
        }
    }
    continueAmrFrames(data, recording.walk, limit);
    recording.endFrom = EndSource::Frames;
    recording.audioEnd = recording.walk.audioEnd;
    return recording;
}

QVector<RecordingAnalysis> analyseRecordings(const char *data, qint64 size,
                                             const QVector<qint32> &starts)
{
    QVector<RecordingAnalysis> result;
    result.reserve(starts.size());
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qint64 start = starts[i];
        if (start < 0 || start >= size) {
            RecordingAnalysis outside;
            outside.start = outside.limit = outside.audioEnd = std::clamp<qint64>(start, 0, size);
            result.append(outside);
            continue;
        }
        qint64 limit = size;
        if (i + 1 < starts.size() && starts[i + 1] > start)
            limit = std::min<qint64>(starts[i + 1], size);
        const qint64 previousStart = i > 0 ? std::clamp<qint64>(starts[i - 1], 0, start) : 0;
        result.append(analyseRecording(data, start, limit, previousStart));
    }
    return result;
}

QVector<RecordingAnalysis> analyseRecordings(const QByteArray &container,
                                             const QVector<qint32> &starts)
{
    return analyseRecordings(container.constData(), container.size(), starts);
}

ByteSpan cleanRange(const RecordingAnalysis &recording)
{
    return {recording.start, recording.recognised() ? recording.audioEnd : recording.limit};
}

void addAnalysisFields(QJsonObject &object, const RecordingAnalysis &recording)
{
    object.insert(QStringLiteral("format"), amrFormatName(recording.format()));
    object.insert(QStringLiteral("frames"), recording.frames());
    object.insert(QStringLiteral("duration_ms"), recording.durationMs());
    object.insert(QStringLiteral("audio_end"), recording.audioEnd);
    object.insert(QStringLiteral("end_from"), endSourceName(recording.endFrom));
    object.insert(QStringLiteral("damaged"), recording.damaged());
}
