#include "extract/ContainerSession.h"

#include "extract/ContainerFileScan.h"
#include "extract/ExtractError.h"
#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/AtomicSave.h"
#include "extract/analysis/HeaderlessContainerSearch.h"
#include "extract/analysis/RecordingEncoding.h"
#include "extract/analysis/WavFile.h"
#include "extract/io/ContainerSource.h"
#include "extract/io/MappedAccessGuard.h"
#include "extract/io/OutputBatch.h"
#include "extract/io/OutputFile.h"
#include "extract/io/OutputFolder.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace vocafetch {

bool isDecoded(OutputKind kind)
{
    return kind != OutputKind::Whole && kind != OutputKind::Clean;
}

AudioFormat audioFormatOf(OutputKind kind)
{
    switch (kind) {
    case OutputKind::Flac:
        return AudioFormat::Flac;
    case OutputKind::Opus:
        return AudioFormat::Opus;
    case OutputKind::Mp3:
        return AudioFormat::Mp3;
    default:
        return AudioFormat::Wav;
    }
}

std::optional<OutputKind> outputKindNamed(const QString &name, bool clean)
{
    if (name.compare(QLatin1String("amr"), Qt::CaseInsensitive) == 0)
        return clean ? OutputKind::Clean : OutputKind::Whole;
    const std::optional<AudioFormat> format = audioFormatFromName(name);
    if (!format)
        return std::nullopt;
    for (OutputKind kind : {OutputKind::Wav, OutputKind::Flac, OutputKind::Opus, OutputKind::Mp3})
        if (audioFormatOf(kind) == *format)
            return kind;
    return std::nullopt;
}

QString outputFileName(const QString &chosenName, int k, OutputKind kind)
{
    if (!isDecoded(kind))
        return recordingFileName(chosenName, k);
    return chosenName + QLatin1Char('_') + QString::number(k) + QLatin1Char('.') +
           audioFormatExtension(audioFormatOf(kind));
}

AudioTags recordingTags(int k, const QString &containerPath)
{
    return {QStringLiteral("Запись_%1").arg(k),
            displayName(containerPath.mid(containerPath.lastIndexOf(QLatin1Char('/')) + 1))};
}

namespace {

// Bytes copied into an output file at a time.
constexpr qint64 CopyChunk = qint64(1) << 20;
// Mapped at once for an analysis, at most: a stretch's recordings are mapped together.
constexpr qint64 AnalysisWindow = qint64(256) << 20;
// Read at once for the headerless search: a buffer that stays in the processor's caches.
constexpr qint64 HeaderlessReadSize = qint64(4) << 20;

// Moves a recording's offsets, found in bytes mapped from base on, to container offsets.
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

// Runs work(t) for t = 0 ... threads - 1, each on a thread of its own (0 on this one) and, for a
// mapped container, inside a guard of its own, so that a truncation meanwhile ends each in an
// error instead of the process. Throws the first failure, and when the file shrank.
void runOnThreads(int threads, const ContainerSource *mapped, const std::function<void(int)> &work)
{
    std::vector<QString> failures(static_cast<size_t>(std::max(threads, 1)));
    const auto run = [&](int t) {
        failures[size_t(t)] = failureOf([&] {
            if (mapped)
                runMappedAccessGuarded(mapped->path(), [&] { work(t); });
            else
                work(t);
        });
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(run, t);
    run(0);
    for (std::thread &worker : workers)
        worker.join();
    for (const QString &failure : failures)
        if (!failure.isEmpty())
            throw ExtractError(failure);
    if (mapped)
        mapped->checkUnchanged();
}

// Recording i cannot be decoded into the file at path.
ExtractError undecodable(int i, const QString &path)
{
    return ExtractError(QStringLiteral("recording %1 does not start with a known AMR header; %2 "
                                       "not written")
                            .arg(i + 1)
                            .arg(displayName(path)));
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

void ContainerSession::openMappedWithoutScan(const QString &path)
{
    m_path = path;
    m_scan = {};
    m_analyses.clear();
    m_analysed = false;
    m_source.CreateEmpty(QString());
    m_headerless.clear();
    m_mapped.reset();
    m_mapped = std::make_unique<ContainerSource>(bytesFromName(path));
}

qint64 ContainerSession::size() const
{
    return m_mapped ? m_mapped->size() : m_source.DataSize();
}

void ContainerSession::load(const QString &path)
{
    loadWithoutScan(path);
    rescan();
}

void ContainerSession::loadWithoutScan(const QString &path)
{
    m_mapped.reset();
    m_headerless.clear();
    m_path = path;
    m_scan = {};
    m_analyses.clear();
    m_analysed = false;
    m_source.LoadFromFile(path);
}

void ContainerSession::rescan()
{
    m_analyses.clear();
    m_analysed = false;
    m_headerless.clear();
    if (!m_mapped) {
        m_scan = scanRecordings(m_source);
        if (m_findHeaderless)
            findHeaderless();
        return;
    }
    m_scan = {};
    m_scan = scanMappedContainer(*m_mapped);
    if (m_findHeaderless)
        findHeaderless();
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
    container.analyses = [this](qsizetype first, qsizetype last) {
        return analyseRange(first, last);
    };
    container.bytes = [this](qint64 begin, qint64 length, QByteArray &buffer) {
        if (!m_mapped)
            return m_source.Data().constData() + begin;
        if (buffer.size() < length)
            buffer.resize(length);
        m_mapped->readInto(begin, buffer.data(), length);
        return buffer.constData();
    };
    m_headerless = findContainerHeaderless(container);
}

RecordingRange ContainerSession::range(int i) const
{
    if (i >= m_scan.recordingCount() && i < recordingCount()) {
        const RecordingAnalysis &run = m_headerless.at(i - m_scan.recordingCount());
        return {run.start, run.audioEnd - 1};
    }
    return recordingRange(m_scan.recordingStarts, i, size());
}

QByteArray ContainerSession::recordingBytes(int i) const
{
    const RecordingRange r = range(i);
    if (m_mapped)
        return bytes(r.first, r.last + 1);
    return QByteArray::fromRawData(m_source.Data().constData() + r.first, r.size());
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

    const MappedWindow window = m_mapped->map(low, high - low);
    // Walks on several cores, each in a guard of its own: a truncation meanwhile ends each in
    // an error instead of the process.
    const int threads = high - low < (qint64(64) << 20)
                            ? 1
                            : int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    runOnThreads(threads, m_mapped.get(), [&](int t) {
        const qsizetype from = localFirst + count * t / threads;
        const qsizetype to = localFirst + count * (t + 1) / threads;
        analyseRecordingsInto(window.data(), window.size(), local, from, to,
                              result.data() + (from - localFirst));
    });
    for (RecordingAnalysis &recording : result)
        shift(recording, low);
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

void ContainerSession::writeTo(int i, OutputKind kind, const RecordingAnalysis *recording,
                               OutputFile &file)
{
    if (kind == OutputKind::Whole && !isHeaderless(i)) {
        const RecordingRange r = range(i);
        copyRange(r.first, r.last + 1, file);
        return;
    }
    if (!recording && isHeaderless(i))
        recording = &m_headerless.at(i - m_scan.recordingCount());
    if (!recording)
        throw ExtractError(QStringLiteral("recording %1 was not analysed").arg(i + 1));
    if (!isDecoded(kind)) {
        const CleanCut cut = cleanCut(*recording);
        file.write(cut.header);
        copyRange(cut.frames.begin, cut.frames.end, file);
        return;
    }
    if (!recording->recognised())
        throw undecodable(i, nameFromBytes(file.path()));
    encode(file.device(), kind, i, *recording);
}

const RecordingAnalysis &ContainerSession::analysis(int i)
{
    const QVector<RecordingAnalysis> &all = analyses();
    if (i < 0 || i >= all.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return all.at(i);
}

void ContainerSession::write(int i, OutputKind kind, const QString &path)
{
    if (kind == OutputKind::Whole && !isHeaderless(i) && !m_mapped) {
        const RecordingRange r = range(i);
        if (r.last < r.first)
            throw ExtractError(QStringLiteral("Invalid selection end"));
        ExportRange(m_source, m_output, qint32(r.first), qint32(r.last), path);
        return;
    }
    const RecordingAnalysis &recording = analysis(i);
    if (isDecoded(kind)) {
        if (!recording.recognised())
            throw undecodable(i, path);
        saveAtomically(path, [&](QIODevice &out) { encode(out, kind, i, recording); });
        return;
    }
    const CleanCut cut = cleanCut(recording);
    const qint64 headerStart = cut.frames.begin - cut.header.size();
    // A stored header that is already the canonical one: the clean file is one range of the
    // container, exported as the whole ones are.
    if (!m_mapped && !recording.headerless && headerStart >= 0 &&
        m_source.Data().mid(headerStart, cut.header.size()) == cut.header) {
        ExportRange(m_source, m_output, qint32(headerStart), qint32(cut.frames.end - 1), path);
        return;
    }
    saveAtomically(path, [&](QIODevice &out) {
        const QByteArray frames = bytes(cut.frames.begin, cut.frames.end);
        if (out.write(cut.header) != cut.header.size() || out.write(frames) != frames.size())
            throw ExtractError(out.errorString());
    });
}

void ContainerSession::writeAll(OutputKind kind, const QString &chosenName)
{
    const QString folderPath = QFileInfo(chosenName).absolutePath();
    QString current;
    // A failure names the file and the system's reason, as a save always has.
    const auto cannotCreate = [&](const ExtractError &error) {
        const QString reason = error.message().section(QStringLiteral("\": "), 1);
        return FileErrors::cannotCreateFile(current, reason.isEmpty() ? error.message() : reason);
    };
    try {
        current = folderPath;
        const OutputFolder folder = OutputFolder::open(bytesFromName(folderPath));
        OutputBatch batch(Placement::ReplaceExisting);
        const QVector<RecordingAnalysis> all =
            kind == OutputKind::Whole ? QVector<RecordingAnalysis>() : analyses();
        for (int i = 0; i < recordingCount(); ++i) {
            current = outputFileName(chosenName, i + 1, kind);
            OutputFile file(folder, bytesFromName(QFileInfo(current).fileName()));
            if (kind == OutputKind::Whole && !isHeaderless(i) && !m_mapped) {
                // The whole recording travels through the buffers, as every save has.
                const RecordingRange r = range(i);
                if (r.last < r.first)
                    throw ExtractError(QStringLiteral("Invalid selection end"));
                TransferRange(m_source, m_output, qint32(r.first), qint32(r.last));
                file.write(m_output.Data());
                m_output.clipboard().clear();
            } else {
                const RecordingAnalysis &recording = analysis(i);
                if (isDecoded(kind) && !recording.recognised())
                    throw undecodable(i, current);
                writeTo(i, kind, &recording, file);
            }
            batch.add(std::move(file));
        }
        for (const OutputResult &result : batch.commit()) {
            current = nameFromBytes(result.path);
            if (result.outcome != OutputOutcome::Placed)
                throw ExtractError(result.message);
        }
    } catch (const ExtractError &error) {
        if (error.message().startsWith(QLatin1String("recording ")))
            throw;
        throw cannotCreate(error);
    }
}

QByteArray ContainerSession::decodableBytes(const RecordingAnalysis &recording,
                                            RecordingAnalysis &shifted) const
{
    shifted = recording;
    if (!m_mapped)
        return QByteArray::fromRawData(m_source.Data().constData(), m_source.DataSize());
    // Decoded from a copy of its bytes: a file that shrinks meanwhile fails the read, never the
    // decoder.
    shift(shifted, -recording.start);
    return bytes(recording.start, cleanCut(recording).frames.end);
}

void ContainerSession::encode(QIODevice &out, OutputKind kind, int i,
                              const RecordingAnalysis &recording) const
{
    const AudioFormat format = audioFormatOf(kind);
    if (format == AudioFormat::Wav)
        checkWavDataBytes(recording.frames() * samplesPerFrame(recording.format()) * 2);
    RecordingAnalysis shifted;
    const QByteArray data = decodableBytes(recording, shifted);
    // A WAV file keeps its plain 44-byte header, which every program reads; the other formats
    // carry the tags music players show.
    encodeDecoded(out, format, sampleRate(recording.format()),
                  format == AudioFormat::Wav ? AudioTags{} : recordingTags(i + 1, m_path),
                  [&](const PcmSink &sink, QString *error) {
                      return decodeRecording(data.constData(), shifted, sink, error);
                  });
}

} // namespace vocafetch
