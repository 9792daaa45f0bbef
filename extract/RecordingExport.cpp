#include "extract/RecordingExport.h"

#include "extract/ExtractError.h"

namespace {

qint32 offsetAt(const QStringList &list, int index)
{
    if (index < 0 || index >= list.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(index));
    bool ok = false;
    const qint32 offset = list.at(index).toInt(&ok);
    if (!ok)
        throw ExtractError(QStringLiteral("'%1' is not a valid integer value").arg(list.at(index)));
    return offset;
}

} // namespace

RecordingRange recordingRange(const QStringList &AmrStartList, int i, qint32 containerSize)
{
    RecordingRange range;
    range.first = offsetAt(AmrStartList, i);
    range.last =
        i + 1 < AmrStartList.size() ? offsetAt(AmrStartList, i + 1) - 1 : containerSize - 1;
    return range;
}

QString recordingFileName(const QString &chosenName, int k)
{
    return chosenName + QLatin1Char('_') + QString::number(k) + QStringLiteral(".amr");
}

void ExportRange(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer, qint32 first, qint32 last,
                 const QString &path)
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
    outputBuffer.SaveToFile(path, true);
    outputBuffer.clipboard().clear();
}

void ExportRecording(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                     const QStringList &AmrStartList, int i, const QString &chosenName)
{
    const RecordingRange range = recordingRange(AmrStartList, i, sourceBuffer.DataSize());
    if (range.last < range.first)
        throw ExtractError(QStringLiteral("Invalid selection end"));
    ExportRange(sourceBuffer, outputBuffer, range.first, range.last,
                recordingFileName(chosenName, i + 1));
}

QStringList exportAllRecordings(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                                const QStringList &AmrStartList, const QString &chosenName)
{
    QStringList written;
    for (int i = 0; i < AmrStartList.size(); ++i) {
        ExportRecording(sourceBuffer, outputBuffer, AmrStartList, i, chosenName);
        written.append(recordingFileName(chosenName, i + 1));
    }
    return written;
}
