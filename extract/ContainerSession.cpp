#include "extract/ContainerSession.h"

#include "extract/ExtractError.h"
#include "extract/analysis/WavFile.h"

namespace vocafetch {

QString outputFileName(const QString &chosenName, int k, OutputKind kind)
{
    if (kind != OutputKind::Wav)
        return recordingFileName(chosenName, k);
    return chosenName + QLatin1Char('_') + QString::number(k) + QStringLiteral(".wav");
}

ContainerSession::ContainerSession(const QString &path)
{
    load(path);
}

void ContainerSession::load(const QString &path)
{
    loadWithoutScan(path);
    rescan();
}

void ContainerSession::loadWithoutScan(const QString &path)
{
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
    m_scan = scanRecordings(m_source);
}

RecordingRange ContainerSession::range(int i) const
{
    return recordingRange(m_scan.recordingStarts, i, size());
}

QByteArray ContainerSession::recordingBytes(int i) const
{
    const RecordingRange r = range(i);
    return QByteArray::fromRawData(m_source.Data().constData() + r.first, r.size());
}

const QVector<RecordingAnalysis> &ContainerSession::analyses()
{
    if (!m_analysed) {
        m_analyses = analyseRecordings(m_source.Data(), m_scan.recordingStarts);
        m_analysed = true;
    }
    return m_analyses;
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
    switch (kind) {
    case OutputKind::Whole: {
        const RecordingRange r = range(i);
        if (r.last < r.first)
            throw ExtractError(QStringLiteral("Invalid selection end"));
        ExportRange(m_source, m_output, qint32(r.first), qint32(r.last), path);
        return;
    }
    case OutputKind::Clean: {
        const ByteSpan span = cleanRange(analysis(i));
        ExportRange(m_source, m_output, qint32(span.begin), qint32(span.end - 1), path);
        return;
    }
    case OutputKind::Wav: {
        const RecordingAnalysis &recording = analysis(i);
        if (!recording.recognised())
            throw ExtractError(QStringLiteral("recording %1 does not start with a known AMR "
                                              "header; %2 not written")
                                   .arg(i + 1)
                                   .arg(path));
        const ByteSpan span = cleanRange(recording);
        QString error;
        if (!writeAmrAsWav(path, m_source.Data().constData(), span.begin, span.end, &error))
            throw ExtractError(error);
        return;
    }
    }
}

QString oneLine(const QString &message)
{
    QString line = message;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace vocafetch
