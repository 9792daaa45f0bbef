#include "cli/ScannedContainer.h"

ScannedContainer::ScannedContainer(const QString &path) : m_path(path)
{
    m_source.LoadFromFile(path);
    m_scan = scanRecordings(m_source);
}

RecordingRange ScannedContainer::range(int i) const
{
    return recordingRange(m_scan.AmrStartList, i, size());
}

QByteArray ScannedContainer::recordingBytes(int i) const
{
    const RecordingRange r = range(i);
    return QByteArray::fromRawData(m_source.Data().constData() + r.first, r.size());
}

QString oneLine(const QString &message)
{
    QString line = message;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}
