// The main window's recording tools: what each recording holds (the recording list's tool
// tips), the clean cut of the save commands, listening and saving as WAV.
#include "app/MainWindow.h"

#include "app/QtAudioOutput.h"
#include "extract/ExtractError.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/WavFile.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

namespace {

const QString PlayingText = QStringLiteral("Прослушивание: ");
const QString PlayStoppedText = QStringLiteral("Прослушивание остановлено");
const QString PlayFinishedText = QStringLiteral("Прослушивание завершено");
const QString NoAudioDeviceText = QStringLiteral("Нет устройства для воспроизведения звука");
const QString PlayFailedText = QStringLiteral("Не удалось воспроизвести запись");
const QString CannotDecodeText = QStringLiteral("Запись не удаётся декодировать");

constexpr int PlayImage = 7;
constexpr int SaveImage = 1;

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

QString recordingToolTip(const RecordingAnalysis &recording)
{
    if (!recording.recognised())
        return QStringLiteral("Формат не распознан");
    QString tip = formatCaption(recording) + QStringLiteral("\nДлительность: ") +
                  durationCaption(recording.durationMs());
    if (recording.damaged() > 0)
        tip += QStringLiteral("\nПовреждённых кадров: %1").arg(recording.damaged());
    return tip;
}

QString wavFileName(const QString &chosenName, int k)
{
    return chosenName + QLatin1Char('_') + QString::number(k) + QStringLiteral(".wav");
}

} // namespace

void TForm1::createCleanCutItem()
{
    // No picture: the menu draws the check mark in its place.
    CleanCut1 = new QAction(QStringLiteral("Сохранять только звук"), N1);
    CleanCut1->setObjectName(QStringLiteral("CleanCut1"));
    CleanCut1->setCheckable(true);
    CleanCut1->setChecked(false);
    N1->insertAction(N7, CleanCut1);
}

void TForm1::createRecordingPopupItems()
{
    Play1 = createMenuItem(suiPopupMenu1, QStringLiteral("Прослушать"), PlayImage);
    Play1->setObjectName(QStringLiteral("Play1"));
    SaveWav1 = createMenuItem(suiPopupMenu1, QStringLiteral("Сохранить как WAV…"), SaveImage);
    SaveWav1->setObjectName(QStringLiteral("SaveWav1"));
}

void TForm1::analyseLoadedRecordings()
{
    RecordingAnalyses = analyseRecordings(SourceBuffer.Data(), offsetsOf(AmrStartList));
    for (int row = 0; row < AMRFiles->count() && row < RecordingAnalyses.size(); ++row)
        AMRFiles->item(row)->setToolTip(recordingToolTip(RecordingAnalyses.at(row)));
}

void TForm1::enableRecordingPopupItems()
{
    const bool selected = !AMRFiles->selectedItems().isEmpty();
    // While a recording plays the item stays enabled: it stops the playing.
    Play1->setEnabled(selected || (m_audioOutput && m_audioOutput->isPlaying()));
    SaveWav1->setEnabled(selected);
}

int TForm1::selectedRecording() const
{
    const QList<QListWidgetItem *> selected = AMRFiles->selectedItems();
    return selected.isEmpty() ? -1 : AMRFiles->row(selected.first());
}

void TForm1::saveRecording(int i)
{
    if (!CleanCut1->isChecked()) {
        ExportRecording(SourceBuffer, OutputBuffer, AmrStartList, i, SaveDialog1.FileName());
        return;
    }
    if (i < 0 || i >= RecordingAnalyses.size())
        throw ExtractError(QStringLiteral("List index out of bounds (%1)").arg(i));
    const ByteSpan span = cleanRange(RecordingAnalyses.at(i));
    ExportRange(SourceBuffer, OutputBuffer, qint32(span.begin), qint32(span.end - 1),
                recordingFileName(SaveDialog1.FileName(), i + 1));
}

void TForm1::SaveWav1Click()
{
    const int i = selectedRecording();
    if (i < 0 || i >= RecordingAnalyses.size())
        return;
    if (!SaveDialog1.Execute())
        return;
    const RecordingAnalysis &recording = RecordingAnalyses.at(i);
    if (!recording.recognised())
        throw ExtractError(QStringLiteral("The recording does not start with a known AMR header"));
    const ByteSpan span = cleanRange(recording);
    writeAmrAsWav(wavFileName(SaveDialog1.FileName(), i + 1), SourceBuffer.Data().constData(),
                  span.begin, span.end);
}

void TForm1::setAudioOutput(std::unique_ptr<AudioOutput> output)
{
    stopPlayback();
    m_audioOutput = std::move(output);
    if (m_audioOutput)
        connect(m_audioOutput.get(), &AudioOutput::finished, this, [this](bool failed) {
            m_errorBoundary.run([this, failed]() { playbackFinished(failed); });
        });
}

AudioOutput &TForm1::audioOutput()
{
    if (!m_audioOutput)
        setAudioOutput(std::make_unique<QtAudioOutput>());
    return *m_audioOutput;
}

void TForm1::Play1Click()
{
    AudioOutput &output = audioOutput();
    if (output.isPlaying()) {
        output.stop();
        setStatusText(PlayStoppedText);
        return;
    }
    const int i = selectedRecording();
    if (i < 0 || i >= RecordingAnalyses.size())
        return;
    const RecordingAnalysis &recording = RecordingAnalyses.at(i);
    PcmAudio audio;
    if (recording.recognised()) {
        const ByteSpan span = cleanRange(recording);
        audio = decodeAmrToPcm(SourceBuffer.Data().constData(), span.begin, span.end);
    }
    if (!recording.recognised() || !audio.ok()) {
        setStatusText(CannotDecodeText);
        return;
    }
    switch (output.start(audio.samples, audio.sampleRate)) {
    case AudioOutput::StartResult::Started:
        setStatusText(PlayingText + AMRFiles->item(i)->text());
        break;
    case AudioOutput::StartResult::NoDevice:
        setStatusText(NoAudioDeviceText);
        break;
    case AudioOutput::StartResult::Refused:
        setStatusText(PlayFailedText);
        break;
    }
}

void TForm1::stopPlayback()
{
    if (m_audioOutput)
        m_audioOutput->stop();
}

void TForm1::playbackFinished(bool failed)
{
    setStatusText(failed ? PlayFailedText : PlayFinishedText);
}
