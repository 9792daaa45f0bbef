#include "app/RecordingPresentation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

namespace vocafetch {

namespace presentation {

namespace {

// The translation context of the words below.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RecordingPresentation)
};

// "AMR-NB", "AMR-WB", with the channel count when there are several.
QString formatCaption(const RecordingAnalysis &recording)
{
    QString caption =
        isWideBand(recording.format()) ? QStringLiteral("AMR-WB") : QStringLiteral("AMR-NB");
    if (isMultiChannel(recording.format()))
        caption += Words::tr(", каналов: %1").arg(recording.channels());
    return caption;
}

// "M:SS,t", or "H:MM:SS,t" from an hour on.
QString durationCaption(qint64 ms)
{
    const qint64 tenths = (ms + 50) / 100;
    const qint64 seconds = tenths / 10;
    // The decimal separator follows the window's language.
    const QString secondsPart = Words::tr("%1,%2", "seconds,tenths")
                                    .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                    .arg(tenths % 10);
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
    return Words::tr("Запись_%1.amr").arg(k);
}

QString recordingCaption(int i, int signedCount)
{
    if (i < signedCount)
        return recordingCaption(i + 1);
    return Words::tr("Без заголовка_%1.amr").arg(i - signedCount + 1);
}

QString scanStatusText(int n)
{
    if (n <= 0)
        return Words::tr("Звуковые записи не найдены");
    return Words::tr("Найдено %n записей", nullptr, n);
}

QString recordingToolTip(const RecordingAnalysis &recording)
{
    if (!recording.recognised())
        return Words::tr("Формат не распознан");
    QString tip = formatCaption(recording) + QLatin1Char('\n') +
                  Words::tr("Длительность: %1").arg(durationCaption(recording.durationMs()));
    if (recording.damaged() > 0)
        tip += QLatin1Char('\n') + Words::tr("Повреждённых кадров: %1").arg(recording.damaged());
    if (recording.truncated())
        tip += QLatin1Char('\n') + Words::tr("обрезана");
    if (recording.headerless)
        tip += QLatin1Char('\n') + Words::tr("без заголовка");
    return tip;
}

QString messageToolTip(const MmsMessage &message, const MmsPart *part)
{
    QStringList lines;
    if (!message.from.isEmpty())
        lines << Words::tr("От: %1").arg(message.from);
    if (message.date)
        lines << Words::tr("Дата: %1")
                     .arg(QLocale().toString(QDateTime::fromSecsSinceEpoch(*message.date),
                                             QLocale::ShortFormat));
    if (!message.subject.trimmed().isEmpty())
        lines << Words::tr("Тема: %1").arg(message.subject.trimmed());
    if (part) {
        const QString name = !part->name.isEmpty()       ? part->name
                             : !part->location.isEmpty() ? part->location
                                                         : part->contentId;
        if (!name.isEmpty())
            lines << Words::tr("Часть сообщения: %1").arg(name);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace presentation

} // namespace vocafetch
