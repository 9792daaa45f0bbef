#include "RecordingAnalysis.h"

#include <algorithm>

namespace {

// Container bytes after a part may pass for a few frames; more than this many frames going on
// past the part's end mean its DataLen stops inside the audio.
constexpr qint64 MaxFramesPastPartEnd = 8;

// The part header's end holds when it lies within the recording's bytes, the frames fill the
// part's data exactly, and the audio does not plainly go on after it.
bool partHeaderHolds(const char *data, const RecordingAnalysis &recording,
                     const WspPartHeader &header, FrameWalk &bounded)
{
    const qint64 end = header.dataEnd();
    if (end > recording.limit || end - recording.start < recording.walk.header.size)
        return false;
    bounded = walkAmrFrames(data, recording.start, end);
    return bounded.stop == WalkStop::Limit && bounded.audioEnd == end &&
           recording.walk.frames - bounded.frames <= MaxFramesPastPartEnd;
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
    recording.limit = limit;
    recording.walk = walkAmrFrames(data, start, limit);
    if (!recording.recognised()) {
        recording.audioEnd = limit;
        return recording;
    }
    recording.endFrom = EndSource::Frames;
    recording.audioEnd = recording.walk.audioEnd;

    recording.partHeader = findPartHeader(data, start, lowerBound);
    FrameWalk bounded;
    if (recording.partHeader && partHeaderHolds(data, recording, *recording.partHeader, bounded)) {
        recording.walk = bounded;
        recording.endFrom = EndSource::PartHeader;
        recording.audioEnd = bounded.audioEnd;
    }
    return recording;
}

QVector<RecordingAnalysis> analyseRecordings(const char *data, qint64 size,
                                             const QVector<qint32> &starts)
{
    QVector<RecordingAnalysis> result;
    result.reserve(starts.size());
    qint64 previousStart = 0;
    for (int i = 0; i < starts.size(); ++i) {
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
        result.append(analyseRecording(data, start, limit, previousStart));
        previousStart = start;
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
