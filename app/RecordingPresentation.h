#pragma once

#include "extract/analysis/RecordingAnalysis.h"
#include "extract/message/MmsMessage.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vocafetch {

// How the window words what a container session found: the captions
// of the recording list, the status line and the recording list's tool tips.
namespace presentation {

// "Запись_" + k + ".amr"
QString recordingCaption(int k);
// The caption of recording i of a container whose first signedCount recordings have their
// signature: "Запись_" + (i + 1) + ".amr", then for the headerless ones "Без заголовка_" + j +
// ".amr", counted from 1, so a rebuilt recording is never taken for an intact one.
QString recordingCaption(int i, int signedCount);
// "Найдено N записей", or "Звуковые записи не найдены" when there is no recording start.
QString scanStatusText(int n);
// Format, duration and damaged frames of a recording, on lines of their own.
QString recordingToolTip(const RecordingAnalysis &recording);
// The sender, the date (in the window's language, local time) and the subject of a message, on
// lines of their own, each only when the message gives it; with part, a last line naming it.
QString messageToolTip(const MmsMessage &message, const MmsPart *part = nullptr);

} // namespace presentation

} // namespace vocafetch
