#include "cli/FileAnalysis.h"

#include "extract/ByteBuffer.h"
#include "extract/FileErrors.h"
#include "extract/PatternSearch.h"
#include "extract/RecordingScan.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace {

// Moves a recording's offsets, found in bytes read from base on, to container offsets.
void shift(RecordingAnalysis &recording, qint64 base)
{
    recording.start += base;
    recording.limit += base;
    recording.audioEnd += base;
    recording.walk.audioEnd += base;
    if (recording.hasPartHeader) {
        recording.partHeader.offset += base;
        recording.partHeader.dataOffset += base;
    }
}

// Reads each recording's bytes, and before them as far back as a part header may stand (not
// past the previous recording's start), and analyses them.
QVector<RecordingAnalysis> analyseByReading(QFile &file, qint64 size, const QVector<qint64> &starts)
{
    QVector<RecordingAnalysis> result;
    result.reserve(starts.size());
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qint64 start = std::clamp<qint64>(starts[i], 0, size);
        const qint64 limit =
            i + 1 < starts.size() ? std::clamp<qint64>(starts[i + 1], start, size) : size;
        const qint64 previous = i > 0 ? std::clamp<qint64>(starts[i - 1], 0, start) : 0;
        const qint64 base = std::max(previous, start - PartHeaderSearchWindow);
        QByteArray bytes;
        if (file.seek(base))
            bytes = file.read(limit - base);
        const qint64 held = base + bytes.size();
        RecordingAnalysis recording = analyseRecording(
            bytes.constData(), start - base, std::min(limit, held) - base, previous - base);
        shift(recording, base);
        result.append(recording);
    }
    return result;
}

} // namespace

QVector<RecordingAnalysis> analyseContainerFile(const QString &path, qint64 size,
                                                const QVector<qint64> &starts, FileAccess access)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileErrors::cannotOpen(path, file.errorString());
    // The file may have shrunk since it was scanned: no recording reads past its end.
    size = std::min(size, file.size());
    size = std::max<qint64>(size, 0);
    if (size == 0 || access == FileAccess::ReadEachRecording)
        return analyseByReading(file, size, starts);
    const uchar *mapped = file.map(0, size);
    if (!mapped)
        return analyseByReading(file, size, starts);
    QVector<RecordingAnalysis> result =
        analyseRecordings(reinterpret_cast<const char *>(mapped), size, starts);
    file.unmap(const_cast<uchar *>(mapped));
    return result;
}

namespace {

// Below this size the analysis is quick enough after the scan.
constexpr qint64 AnalysisAheadSize = 8 * 1024 * 1024;

} // namespace

RecordingAnalysisAhead::RecordingAnalysisAhead(const QString &path) : m_path(path), m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = m_file.size();
    // Containers the scan refuses are not worth the work.
    if (size < AnalysisAheadSize || size > std::numeric_limits<qint32>::max())
        return;
    m_map = m_file.map(0, size);
    if (!m_map)
        return;
    m_mapSize = size;
    m_worker = std::thread(&RecordingAnalysisAhead::findAndAnalyse, this);
}

RecordingAnalysisAhead::~RecordingAnalysisAhead()
{
    finish();
    if (m_map)
        m_file.unmap(const_cast<uchar *>(m_map));
}

void RecordingAnalysisAhead::finish()
{
    if (m_worker.joinable())
        m_worker.join();
}

void RecordingAnalysisAhead::findAndAnalyse()
{
    // The scan's own search: every "#!AMR" in any letter case.
    QByteArray pattern = RecordingScan::RecordingStartText;
    for (char &c : pattern)
        c = char(TByteBuffer::lowercaseTable()[quint8(c)]);
    const auto *pat = reinterpret_cast<const unsigned char *>(pattern.constData());
    const auto count = qint32(pattern.size());
    for (qint64 from = 0;;) {
        const qint64 found = PatternSearch::find(m_map, from, m_mapSize - 1, pat, count,
                                                 TByteBuffer::lowercaseTable());
        if (found < 0)
            break;
        m_starts.append(found);
        from = found + count;
    }
    // One core: the other one scans.
    m_analyses = analyseRecordings(reinterpret_cast<const char *>(m_map), m_mapSize, m_starts, 1);
}

QVector<RecordingAnalysis> RecordingAnalysisAhead::results(qint64 size,
                                                           const QVector<qint64> &starts)
{
    finish();
    if (m_map && size == m_mapSize && starts == m_starts)
        return m_analyses;
    if (m_map && size <= m_mapSize)
        return analyseRecordings(reinterpret_cast<const char *>(m_map), size, starts);
    return analyseContainerFile(m_path, size, starts);
}
