#include "extract/ContainerSession.h"

#include "extract/ContainerFileScan.h"
#include "extract/ExtractError.h"
#include "extract/FileErrors.h"
#include "extract/NameTemplate.h"
#include "extract/RawFileName.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/HeaderlessContainerSearch.h"
#include "extract/analysis/HeaderlessRuns.h"
#include "extract/analysis/WorkerThreads.h"
#include "extract/encode/RecordingEncoding.h"
#include "extract/encode/WavFile.h"
#include "extract/io/ContainerSource.h"
#include "extract/io/IoErrors.h"
#include "extract/io/MappedAccessGuard.h"
#include "extract/io/OutputFile.h"
#include "extract/message/MmsReader.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <functional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vocafetch {

QString outputFileName(const QString &chosenName, int k, OutputKind kind)
{
    return chosenName + QLatin1Char('_') + QString::number(k) + QLatin1Char('.') +
           kind.info().extension;
}

namespace {

constexpr qsizetype MaxCommentLength = 64 * 1024;

} // namespace

AudioTags recordingTags(int k, const QString &containerPath, const MmsMessage *message,
                        const MmsPart *part)
{
    AudioTags tags;
    if (part)
        tags.title = partTitle(*part);
    if (tags.title.isEmpty())
        tags.title = QStringLiteral("Запись_%1").arg(k);
    tags.track = k;
    if (message) {
        tags.artist = message->from;
        tags.album = message->subject.trimmed();
        // Bounded so that the tags of a WAV file stay within its room for them.
        tags.comment = message->text.trimmed().left(MaxCommentLength);
        tags.date = message->date;
    }
    if (tags.album.isEmpty())
        tags.album =
            displayName(containerPath.mid(containerPath.lastIndexOf(QLatin1Char('/')) + 1));
    return tags;
}

bool plausibleFileTime(qint64 secondsSinceEpoch)
{
    const qint64 earliest = QDateTime(QDate(1995, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 latest = QDateTime::currentSecsSinceEpoch() + 24 * 60 * 60;
    return secondsSinceEpoch >= earliest && secondsSinceEpoch <= latest;
}

std::optional<MmsMessage> readContainerMessage(const QString &path)
{
    // Opened as every container is: never waiting on a pipe, regular files only.
    int fd = -1;
    try {
        fd = FileErrors::openRegularFile(path);
    } catch (const ExtractError &) {
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    // Enough for the headers and the text parts phones put before the media.
    const QByteArray head = file.read(qint64(1) << 20);
    return readMmsMessage(head.constData(), head.size());
}

namespace {

// Mapped at once to read the messages of a stretch of recordings, at most.
constexpr qint64 MessageWindow = qint64(64) << 20;

// Bytes copied into an output file at a time.
constexpr qint64 CopyChunk = qint64(1) << 20;
// Mapped at once for an analysis, at most: a stretch's recordings are mapped together.
constexpr qint64 AnalysisWindow = qint64(256) << 20;
// Read at once for the headerless search: a buffer that stays in the processor's caches.
constexpr qint64 HeaderlessReadSize = qint64(4) << 20;
// The signed recordings' analyses the headerless search worked out are kept for the listing
// that follows when there are at most this many (a few MiB): analysing them again cost as much
// as searching the space between them.
constexpr qsizetype KeptAnalyses = 16384;

// Runs work(t) for t = 0 ... threads - 1 on threads (runOnThreads) and, for a mapped container,
// each inside a guard of its own, so that a truncation meanwhile ends each in an error instead
// of the process. Throws the first failure as it was thrown (its kind tells a changed file from
// one that cannot be read), and when the file shrank.
void runGuardedOnThreads(int threads, const ContainerSource *mapped,
                         const std::function<void(int)> &work)
{
    runOnThreads(threads, [&](int t) {
        if (mapped)
            runMappedAccessGuarded(mapped->path(), [&] { work(t); });
        else
            work(t);
    });
    if (mapped)
        mapped->checkUnchanged();
}

// Opened as the window has always opened containers: regular files only, with its words.
std::unique_ptr<ContainerSource> openRegularSource(const QString &path)
{
    UniqueFd fd(FileErrors::openRegularFile(path));
    return std::make_unique<ContainerSource>(bytesFromName(path), std::move(fd));
}

ExtractError undecodable(int i)
{
    return ExtractError(
               QStringLiteral("recording %1 does not start with a known AMR header").arg(i + 1),
               ErrorKind::Undecodable)
        .forRecording(i + 1);
}

ExtractError nothingToConvert(int i)
{
    return ExtractError(QStringLiteral("recording %1 holds no audio frame").arg(i + 1),
                        ErrorKind::NothingToConvert)
        .forRecording(i + 1);
}

} // namespace

ContainerSession::ContainerSession() = default;

ContainerSession::ContainerSession(const QString &path)
{
    load(path);
}

ContainerSession::~ContainerSession() = default;

void ContainerSession::openMapped(const QString &path)
{
    openMappedWithoutScan(path);
    rescan();
}

void ContainerSession::openMapped(const QString &path, std::unique_ptr<ContainerSource> source)
{
    forgetContainer(path);
    m_mapped = std::move(source);
    rescan();
}

void ContainerSession::openMappedWithoutScan(const QString &path)
{
    forgetContainer(path);
    m_mapped = std::make_unique<ContainerSource>(bytesFromName(path));
}

void ContainerSession::openFileWithoutScan(const QString &path)
{
    forgetContainer(path);
    m_mapped = m_sourceOpener ? m_sourceOpener(path) : openRegularSource(path);
}

void ContainerSession::forgetContainer(const QString &path)
{
    m_path = path;
    m_scan = {};
    m_analyses.clear();
    m_analysed = false;
    m_source.CreateEmpty(QString());
    m_headerless.clear();
    m_messages.clear();
    m_recordingMessages.clear();
    m_scanWindow = MappedWindow();
    m_mapped.reset();
}

qint64 ContainerSession::size() const
{
    return m_mapped ? m_mapped->size() : m_source.DataSize();
}

void ContainerSession::load(const QString &path)
{
    forgetContainer(path);
    m_source.LoadFromFile(path);
    rescan();
}

void ContainerSession::rescan()
{
    m_analyses.clear();
    m_analysed = false;
    m_headerless.clear();
    m_messages.clear();
    m_recordingMessages.clear();
    if (!m_mapped) {
        m_scan = scanRecordings(m_source);
    } else {
        m_scan = {};
        m_scanWindow = MappedWindow();
        m_scan = scanMappedContainer(*m_mapped, ContainerSource::DefaultWindowSize, &m_scanWindow);
    }
    if (m_findHeaderless)
        findHeaderless();
    placeRecordingMessages();
}

void ContainerSession::placeRecordingMessages()
{
    // Every recording's first byte in container order, signed and headerless ones merged.
    QVector<qint64> offsets;
    QVector<int> recordings;
    offsets.reserve(recordingCount());
    recordings.reserve(recordingCount());
    const int signedCount = m_scan.recordingCount();
    for (int s = 0, h = 0; s < signedCount || h < m_headerless.size();) {
        const bool takeSigned =
            h == m_headerless.size() ||
            (s < signedCount && m_scan.recordingStarts[s] <= m_headerless[h].start);
        if (takeSigned) {
            offsets << m_scan.recordingStarts[s];
            recordings << s++;
        } else {
            offsets << m_headerless[h].start;
            recordings << signedCount + h++;
        }
    }
    if (offsets.isEmpty())
        return;
    if (m_mapped) {
        runGuardedOnThreads(1, m_mapped.get(), [&](int) { placeInMapped(offsets, recordings); });
        return;
    }
    adopt(placeMessages(m_source.Data().constData(), m_source.DataSize(), offsets), recordings);
}

void ContainerSession::placeInMapped(const QVector<qint64> &offsets, const QVector<int> &recordings)
{
    const qint64 size = m_mapped->size();
    // The container's own message, from the window that starts at 0; the recordings a window
    // further on finds no nearer message for may lie in its parts.
    std::optional<MmsMessage> own;
    {
        MappedWindow mapped;
        const qint64 length = std::min(size, MessageWindow);
        own = readMmsMessage(mappedBytes(0, length, mapped), length);
    }
    for (qsizetype first = 0; first < offsets.size();) {
        qint64 base = std::max<qint64>(0, offsets[first] - MaxMessageDistance);
        if (own && offsets[first] < MessageWindow)
            base = 0;
        qsizetype last = first + 1;
        while (last < offsets.size() && offsets[last] - base < MessageWindow)
            ++last;
        const qint64 end = std::min(size, offsets[last - 1] + MaxMessageDistance);
        MappedWindow mapped;
        MessagePlacement placement =
            placeMessages(mappedBytes(base, end - base, mapped), end - base,
                          offsets.mid(first, last - first), base);
        if (own && base > 0)
            for (qsizetype j = 0; j < placement.recordings.size(); ++j) {
                RecordingMessage &placed = placement.recordings[j];
                const qint64 at = offsets[first + j];
                if (placed.message >= 0)
                    continue;
                const int part = own->partHolding(at);
                const bool broke =
                    own->bodyOffset >= 0 && !own->problem.isEmpty() && at >= own->end;
                if (part >= 0 || broke) {
                    placed = {int(placement.messages.size()), part};
                    placement.messages << *own;
                }
            }
        adopt(placement, recordings.mid(first, last - first));
        first = last;
    }
}

int ContainerSession::adoptMessage(const MmsMessage &message)
{
    const auto at =
        std::lower_bound(m_messages.begin(), m_messages.end(), message.offset,
                         [](const MmsMessage &m, qint64 offset) { return m.offset < offset; });
    if (at != m_messages.end() && at->offset == message.offset)
        return int(at - m_messages.begin());
    const int index = int(at - m_messages.begin());
    m_messages.insert(index, message);
    // Later messages moved up by one.
    for (RecordingMessage &placed : m_recordingMessages)
        if (placed.message >= index)
            ++placed.message;
    return index;
}

void ContainerSession::adopt(const MessagePlacement &placement, const QVector<int> &recordings)
{
    for (qsizetype j = 0; j < placement.recordings.size() && j < recordings.size(); ++j) {
        const RecordingMessage &placed = placement.recordings[j];
        if (placed.message < 0)
            continue;
        if (m_recordingMessages.isEmpty())
            m_recordingMessages.resize(recordingCount());
        const int message = adoptMessage(placement.messages[placed.message]);
        m_recordingMessages[recordings[j]] = {message, placed.part};
    }
}

const MmsMessage *ContainerSession::messageOf(int i) const
{
    if (i < 0 || i >= m_recordingMessages.size() || m_recordingMessages[i].message < 0)
        return nullptr;
    return &m_messages[m_recordingMessages[i].message];
}

RecordingMessage ContainerSession::placementOf(int i) const
{
    return i >= 0 && i < m_recordingMessages.size() ? m_recordingMessages[i] : RecordingMessage{};
}

const MmsPart *ContainerSession::partOf(int i) const
{
    const MmsMessage *message = messageOf(i);
    const int part = message ? m_recordingMessages[i].part : -1;
    return part >= 0 && part < message->parts.size() ? &message->parts[part] : nullptr;
}

AudioTags ContainerSession::tagsOf(int i) const
{
    return recordingTags(i + 1, m_path, messageOf(i), partOf(i));
}

std::optional<qint64> ContainerSession::fileTimeOf(int i) const
{
    const MmsMessage *message = messageOf(i);
    if (message && message->date && plausibleFileTime(*message->date))
        return message->date;
    return std::nullopt;
}

void ContainerSession::findHeaderless()
{
    // The signed recordings a stretch at a time; a mapped container's bytes read a few MiB at a
    // time into a buffer for each core, more only while a run goes on: memory stays bounded as a
    // listing's does, and a copy from the page cache costs the search less than mapping every
    // page anew.
    HeaderlessContainer container;
    container.size = size();
    container.window = m_mapped ? HeaderlessReadSize : std::max<qint64>(size(), 1);
    container.largestWindow = std::max(container.window, AnalysisWindow);
    container.signedCount = m_scan.recordingCount();
    const bool keep = !m_analysed && container.signedCount <= KeptAnalyses;
    QVector<RecordingAnalysis> kept;
    container.analyses = [this, keep, &kept](qsizetype first, qsizetype last) {
        QVector<RecordingAnalysis> analysed = analyseRange(first, last);
        if (keep)
            kept += analysed;
        return analysed;
    };
    container.bytes = [this](qint64 begin, qint64 length, QByteArray &buffer) {
        if (!m_mapped)
            return m_source.Data().constData() + begin;
        if (const char *scanned = scannedBytes(begin, length))
            return scanned;
        if (buffer.size() < length)
            buffer.resize(length);
        m_mapped->readInto(begin, buffer.data(), length);
        return buffer.constData();
    };
    if (m_mapped)
        container.guarded = [this](const std::function<void()> &pass) {
            runMappedAccessGuarded(m_mapped->path(), pass);
        };
    m_headerless = findContainerHeaderless(container);
    if (keep && kept.size() == container.signedCount) {
        m_analyses = kept + m_headerless;
        m_analysed = true;
    }
}

ByteSpan ContainerSession::range(int i) const
{
    if (isHeaderless(i)) {
        const RecordingAnalysis &run = m_headerless.at(i - m_scan.recordingCount());
        return {run.start, run.audioEnd};
    }
    return recordingRange(m_scan.recordingStarts, i, size());
}

QByteArray ContainerSession::recordingBytes(int i) const
{
    const ByteSpan r = range(i);
    if (m_mapped)
        return bytes(r.begin, r.end);
    return QByteArray::fromRawData(m_source.Data().constData() + r.begin, r.size());
}

const char *ContainerSession::scannedBytes(qint64 begin, qint64 length) const
{
    const qint64 offset = begin - m_scanWindow.offset();
    if (m_scanWindow.data() == nullptr || offset < 0 || length > m_scanWindow.size() - offset)
        return nullptr;
    return m_scanWindow.data() + offset;
}

const char *ContainerSession::mappedBytes(qint64 begin, qint64 length, MappedWindow &own) const
{
    if (const char *scanned = scannedBytes(begin, length))
        return scanned;
    own = m_mapped->map(begin, length);
    return own.data();
}

QByteArray ContainerSession::bytes(qint64 first, qint64 end) const
{
    if (m_mapped)
        return m_mapped->read(first, end - first);
    return m_source.Data().mid(first, end - first);
}

const QVector<RecordingAnalysis> &ContainerSession::analyses()
{
    if (!m_analysed) {
        m_analyses = analyseRange(0, recordingCount());
        m_analysed = true;
    }
    return m_analyses;
}

QVector<RecordingAnalysis> ContainerSession::analyseRange(qsizetype first, qsizetype last)
{
    const QVector<qint64> &starts = m_scan.recordingStarts;
    first = std::clamp<qsizetype>(first, 0, recordingCount());
    last = std::clamp<qsizetype>(last, first, recordingCount());
    if (m_analysed)
        return m_analyses.mid(first, last - first);
    // The headerless ones were analysed when they were found.
    QVector<RecordingAnalysis> found;
    for (qsizetype i = std::max(first, starts.size()); i < last; ++i)
        found.append(m_headerless.at(i - starts.size()));
    last = std::min(last, starts.size());
    first = std::min(first, last);
    if (!m_mapped)
        return analyseRecordingRange(m_source.Data().constData(), m_source.DataSize(), starts,
                                     first, last) +
               found;
    QVector<RecordingAnalysis> result;
    result.reserve(last - first);
    // Stretches whose bytes fit one mapping; a longer recording is mapped on its own.
    for (qsizetype from = first; from < last;) {
        qsizetype to = from + 1;
        while (to < last && starts[to] - starts[from] < AnalysisWindow)
            ++to;
        result += analyseMapped(from, to);
        from = to;
    }
    return result + found;
}

QVector<RecordingAnalysis> ContainerSession::analyseMapped(qsizetype first, qsizetype last) const
{
    const QVector<qint64> &starts = m_scan.recordingStarts;
    const qint64 size = m_mapped->size();
    // The bytes the analyses read: back to where a part header may stand (not before the
    // previous recording), up to the last one's limit.
    const qint64 lowest = first > 0 ? std::clamp<qint64>(starts[first - 1], 0, size) : 0;
    const qint64 low =
        std::max(lowest, std::clamp<qint64>(starts[first], 0, size) - PartHeaderSearchWindow);
    const qint64 high = last < starts.size() ? std::clamp<qint64>(starts[last], low, size) : size;
    QVector<qint64> local;
    local.reserve(last - first + 2);
    if (first > 0)
        local.append(std::max<qint64>(starts[first - 1], low) - low);
    for (qsizetype i = first; i < last; ++i)
        local.append(starts[i] - low);
    if (last < starts.size())
        local.append(high - low);
    const qsizetype localFirst = first > 0 ? 1 : 0;
    const qsizetype count = last - first;
    QVector<RecordingAnalysis> result(count);
    if (count == 0 || high <= low)
        return result;

    MappedWindow mapped;
    const char *const data = mappedBytes(low, high - low, mapped);
    // Walks on several cores, each in a guard of its own: a truncation meanwhile ends each in
    // an error instead of the process.
    const int threads = high - low < (qint64(64) << 20)
                            ? 1
                            : int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    runGuardedOnThreads(threads, m_mapped.get(), [&](int t) {
        const qsizetype from = localFirst + count * t / threads;
        const qsizetype to = localFirst + count * (t + 1) / threads;
        analyseRecordingsInto(data, high - low, local, from, to,
                              result.data() + (from - localFirst));
    });
    for (RecordingAnalysis &recording : result)
        shiftOffsets(recording, low);
    return result;
}

void ContainerSession::copyRange(qint64 first, qint64 end, OutputFile &file) const
{
    if (!m_mapped) {
        file.write(m_source.Data().constData() + first, end - first);
        return;
    }
    QByteArray chunk(std::min(CopyChunk, std::max<qint64>(end - first, 0)), Qt::Uninitialized);
    for (qint64 at = first; at < end; at += chunk.size()) {
        const qint64 length = std::min<qint64>(chunk.size(), end - at);
        m_mapped->readInto(at, chunk.data(), length);
        file.write(chunk.constData(), length);
    }
}

void ContainerSession::ExportRecording(int i, OutputKind kind, OutputFile &file,
                                       const RecordingAnalysis *recording)
{
    if (kind.isWhole() && !isHeaderless(i)) {
        const ByteSpan r = range(i);
        copyRange(r.begin, r.end, file);
        return;
    }
    QVector<RecordingAnalysis> own;
    if (!recording && isHeaderless(i))
        recording = &m_headerless.at(i - m_scan.recordingCount());
    if (!recording) {
        own = analyseRange(i, i + 1);
        if (own.isEmpty())
            throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(i),
                               ErrorKind::OutOfBounds);
        recording = &own.front();
    }
    if (!kind.isDecoded()) {
        const CleanCut cut = cleanCut(*recording);
        file.write(cut.header);
        copyRange(cut.frames.begin, cut.frames.end, file);
        return;
    }
    if (!recording->recognised())
        throw undecodable(i);
    if (recording->frames() == 0)
        throw nothingToConvert(i);
    try {
        encode(file.device(), kind.format, *recording);
    } catch (const ExtractError &) {
        // A write the file refused (a full disk) is the file's failure, reported as such.
        file.finishWriting();
        throw;
    }
    file.finishWriting();
    // On the finished file, where TagLib reads what it needs and moves the audio a buffer at a
    // time: a long recording is never held in memory, as it would be if it were tagged as
    // bytes before being written.
    try {
        writeAudioTags(file.descriptor(), kind.format, tagsOf(i));
    } catch (const ExtractError &error) {
        throw fileError("write", file.path(), error.message());
    }
}

PcmAudio ContainerSession::decodeToPcm(int i)
{
    const QVector<RecordingAnalysis> one = analyseRange(i, i + 1);
    if (one.isEmpty())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(i),
                           ErrorKind::OutOfBounds);
    RecordingAnalysis shifted;
    const QByteArray data = decodableBytes(one.front(), shifted);
    return decodeRecordingToPcm(data.constData(), shifted);
}

const RecordingAnalysis &ContainerSession::analysis(int i)
{
    const QVector<RecordingAnalysis> &all = analyses();
    if (i < 0 || i >= all.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(i),
                           ErrorKind::OutOfBounds);
    return all.at(i);
}

QByteArray ContainerSession::decodableBytes(const RecordingAnalysis &recording,
                                            RecordingAnalysis &shifted) const
{
    shifted = recording;
    if (!m_mapped)
        return QByteArray::fromRawData(m_source.Data().constData(), m_source.DataSize());
    // Decoded from a copy of its bytes: a file that shrinks meanwhile fails the read, never the
    // decoder.
    shiftOffsets(shifted, -recording.start);
    return bytes(recording.start, cleanCut(recording).frames.end);
}

void ContainerSession::encode(QIODevice &out, OutputFormat format,
                              const RecordingAnalysis &recording) const
{
    if (format == OutputFormat::Wav)
        checkWavDataBytes(recording.frames() * samplesPerFrame(recording.format()) * 2);
    RecordingAnalysis shifted;
    const QByteArray data = decodableBytes(recording, shifted);
    encodeDecoded(out, format, sampleRate(recording.format()),
                  [&](const PcmSink &sink, QString *error) {
                      return decodeRecording(data.constData(), shifted, sink, error);
                  });
}

} // namespace vocafetch
