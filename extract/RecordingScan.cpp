#include "extract/RecordingScan.h"

#include <algorithm>

void findAllOccurrences(TByteBuffer &buffer, const QByteArray &text, QStringList &list)
{
    for (;;) {
        const qint32 start = std::max(0, buffer.CursorPosition());
        // Prepared before every search, as the buffer's tables may be rebuilt by it.
        const QByteArray pattern = buffer.PrepareFindData(text, true, false);
        qint32 count = static_cast<qint32>(pattern.indexOf('\0'));
        if (count < 0)
            count = static_cast<qint32>(pattern.size());
        const qint32 found = buffer.Find(pattern, count, start, buffer.DataSize() - 1, true);
        if (found < 0)
            return;
        buffer.SetSelStart(found + count - 1);
        buffer.SetSelEnd(found);
        list.append(QString::number(found));
    }
}

// Back to the start, so that the marker search covers the whole container.
static void rewind(TByteBuffer &buffer)
{
    if (buffer.DataSize() >= 1)
        buffer.SetSelStart(0);
    if (buffer.DataSize() >= 2)
        buffer.SetSelEnd(1);
}

ScanResult scanRecordings(TByteBuffer &sourceBuffer)
{
    ScanResult result;
    findAllOccurrences(sourceBuffer, RecordingScan::RecordingStartText, result.AmrStartList);
    rewind(sourceBuffer);
    findAllOccurrences(sourceBuffer, RecordingScan::TypeMarkerText, result.TypeMarkerList);

    completeScan(result);
    return result;
}

void completeScan(ScanResult &result)
{
    const int n = static_cast<int>(result.AmrStartList.size());
    result.statusText = scanStatusText(n);
    result.saveAllEnabled = n > 0;
    result.captions.clear();
    for (int k = 1; k <= n; ++k)
        result.captions.append(recordingCaption(k));
}

QString recordingCaption(int k)
{
    return QStringLiteral("Запись_%1.amr").arg(k);
}

QString scanStatusText(int n)
{
    if (n <= 0)
        return QStringLiteral("Звуковые записи не найдены");
    return QStringLiteral("Найдено %1 записей").arg(n);
}

QVector<qint32> offsetsOf(const QStringList &offsetList)
{
    QVector<qint32> offsets;
    offsets.reserve(offsetList.size());
    for (const QString &entry : offsetList)
        offsets.append(entry.toInt());
    return offsets;
}
