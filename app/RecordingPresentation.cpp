#include "app/RecordingPresentation.h"

namespace vocafetch::presentation {

namespace {

// "AMR-NB", "AMR-WB", with the channel count when there are several.
QString formatCaption(const RecordingAnalysis &recording)
{
    QString caption =
        isWideBand(recording.format()) ? QStringLiteral("AMR-WB") : QStringLiteral("AMR-NB");
    if (isMultiChannel(recording.format()))
        caption += QStringLiteral(", каналов: %1").arg(recording.channels());
    return caption;
}

// "M:SS,t", or "H:MM:SS,t" from an hour on.
QString durationCaption(qint64 ms)
{
    const qint64 tenths = (ms + 50) / 100;
    const qint64 seconds = tenths / 10;
    const QString secondsPart =
        QStringLiteral("%1,%2").arg(seconds % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(secondsPart);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(secondsPart);
}

} // namespace

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

QString recordingToolTip(const RecordingAnalysis &recording)
{
    if (!recording.recognised())
        return QStringLiteral("Формат не распознан");
    QString tip = formatCaption(recording) + QStringLiteral("\nДлительность: ") +
                  durationCaption(recording.durationMs());
    if (recording.damaged() > 0)
        tip += QStringLiteral("\nПовреждённых кадров: %1").arg(recording.damaged());
    if (recording.truncated())
        tip += QStringLiteral("\nобрезана");
    if (recording.headerless)
        tip += QStringLiteral("\nбез заголовка");
    return tip;
}

} // namespace vocafetch::presentation
