#include "extract/RecordingExport.h"

#include "extract/ExtractError.h"

namespace {

qint64 offsetAt(const QVector<qint64> &list, int index)
{
    if (index < 0 || index >= list.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return list.at(index);
}

} // namespace

RecordingRange recordingRange(const QVector<qint64> &recordingStarts, int i, qint64 containerSize)
{
    RecordingRange range;
    range.first = offsetAt(recordingStarts, i);
    range.last =
        i + 1 < recordingStarts.size() ? offsetAt(recordingStarts, i + 1) - 1 : containerSize - 1;
    return range;
}

QString recordingFileName(const QString &chosenName, int k)
{
    return chosenName + QLatin1Char('_') + QString::number(k) + QStringLiteral(".amr");
}

void TransferRange(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer, qint32 first, qint32 last)
{
    Q_ASSERT(&sourceBuffer.clipboard() == &outputBuffer.clipboard());
    sourceBuffer.SetSelStart(first);
    sourceBuffer.SetSelEnd(last);

    outputBuffer.SelectAll();
    outputBuffer.CutToClipboard();
    sourceBuffer.CopyToClipboard();
    outputBuffer.CreateEmpty(QStringLiteral("temp.amr"));
    if (!outputBuffer.PasteFromClipboard() || outputBuffer.DataSize() != last - first + 1)
        throw ExtractError(QStringLiteral("The recording could not be passed to the output"));
}

void ExportRange(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer, qint32 first, qint32 last,
                 const QString &path)
{
    TransferRange(sourceBuffer, outputBuffer, first, last);
    outputBuffer.SaveToFile(path, true);
    outputBuffer.clipboard().clear();
}

void ExportRecording(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                     const QVector<qint64> &recordingStarts, int i, const QString &chosenName)
{
    const RecordingRange range = recordingRange(recordingStarts, i, sourceBuffer.DataSize());
    if (range.last < range.first)
        throw ExtractError(QStringLiteral("Invalid selection end"));
    ExportRange(sourceBuffer, outputBuffer, qint32(range.first), qint32(range.last),
                recordingFileName(chosenName, i + 1));
}

QStringList exportAllRecordings(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                                const QVector<qint64> &recordingStarts, const QString &chosenName)
{
    QStringList written;
    for (int i = 0; i < recordingStarts.size(); ++i) {
        ExportRecording(sourceBuffer, outputBuffer, recordingStarts, i, chosenName);
        written.append(recordingFileName(chosenName, i + 1));
    }
    return written;
}
