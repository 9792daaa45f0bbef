// The main window's recording tools: what each recording holds (the recording list's tool
// tips), the clean cut of the save commands, listening and saving as WAV.
#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/BackgroundWork.h"
#include "app/QtAudioOutput.h"
#include "app/RecordingListModel.h"
#include "app/RecordingPresentation.h"
#include "extract/FileErrors.h"
#include "extract/RawFileName.h"
#include "extract/analysis/AmrDecoder.h"

#include <QAction>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QScopeGuard>

#include <algorithm>

#include <sys/stat.h>

namespace vocafetch {

namespace {

QString playingText(const QString &recording)
{
    return TForm1::tr("Прослушивание: %1").arg(recording);
}

QString playStoppedText()
{
    return TForm1::tr("Прослушивание остановлено");
}

QString playFinishedText()
{
    return TForm1::tr("Прослушивание завершено");
}

QString noAudioDeviceText()
{
    return TForm1::tr("Нет устройства для воспроизведения звука");
}

QString playFailedText()
{
    return TForm1::tr("Не удалось воспроизвести запись");
}

QString cannotDecodeText()
{
    return TForm1::tr("Запись не удаётся декодировать");
}

QString savedText(int saved, int total)
{
    return TForm1::tr("Сохранено %1 из %2").arg(saved).arg(total);
}

// The recordings a save left out because their audio cannot be converted, by number.
QString skippedText(const QVector<vocafetch::SkippedRecording> &skipped)
{
    QStringList numbers;
    for (const vocafetch::SkippedRecording &recording : skipped)
        numbers << QString::number(recording.recording + 1);
    return TForm1::tr("Остальные записи сохранены. Не удаётся преобразовать записи: %1")
        .arg(numbers.join(QLatin1String(", ")));
}

constexpr int PlayImage = 7;
constexpr int SaveImage = 1;
constexpr int SaveAllImage = 2;

} // namespace

void TForm1::createCleanCutItem()
{
    // No picture: the menu draws the check mark in its place.
    CleanCut1 = new QAction(tr("Сохранять только звук"), N1);
    CleanCut1->setObjectName(QStringLiteral("CleanCut1"));
    CleanCut1->setCheckable(true);
    CleanCut1->setChecked(false);
    N1->insertAction(N7, CleanCut1);
    Headerless1 = new QAction(tr("Искать записи без заголовка"), N1);
    Headerless1->setObjectName(QStringLiteral("Headerless1"));
    Headerless1->setCheckable(true);
    Headerless1->setChecked(false);
    N1->insertAction(N7, Headerless1);
}

void TForm1::createRecordingPopupItems()
{
    Play1 = createMenuItem(suiPopupMenu1, tr("Прослушать"), PlayImage);
    Play1->setObjectName(QStringLiteral("Play1"));
    SaveAs1 = createMenuItem(suiPopupMenu1, tr("Сохранить как…"), SaveImage);
    SaveAs1->setObjectName(QStringLiteral("SaveAs1"));
    SaveAllAs1 = createMenuItem(suiPopupMenu1, tr("Сохранить все как…"), SaveAllImage);
    SaveAllAs1->setObjectName(QStringLiteral("SaveAllAs1"));
}

QString TForm1::recordingToolTip(int row)
{
    // One recording's analysis alone: the list shows few of millions at a time. A container
    // changed since it was opened has no tool tips; the next command that reads it says why.
    QVector<RecordingAnalysis> one;
    try {
        one = Session.analyseRange(row, row + 1);
    } catch (const ExtractError &) {
        return QString();
    }
    if (one.isEmpty())
        return QString();
    QString tip = vocafetch::presentation::recordingToolTip(one.first());
    if (const vocafetch::MmsMessage *message = Session.messageOf(row))
        tip += QLatin1Char('\n') +
               vocafetch::presentation::messageToolTip(*message, Session.partOf(row));
    return tip;
}

int TForm1::recordingRows() const
{
    return m_recordings->rowCount();
}

void TForm1::enableRecordingPopupItems()
{
    const bool selected = selectedRecording() >= 0;
    // While a recording plays the item stays enabled: it stops the playing.
    Play1->setEnabled(selected || (m_audioOutput && m_audioOutput->isPlaying()));
    SaveAs1->setEnabled(selected);
    SaveAllAs1->setEnabled(recordingRows() > 0);
}

int TForm1::selectedRecording() const
{
    const QModelIndexList selected = AMRFiles->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool TForm1::isRecording(int i) const
{
    return i >= 0 && i < Session.recordingCount();
}

vocafetch::OutputKind TForm1::amrKind() const
{
    return CleanCut1->isChecked() ? vocafetch::OutputKind::cleanCut()
                                  : vocafetch::OutputKind::whole();
}

void TForm1::save(vocafetch::SavePlan plan)
{
    // Nothing the user has is replaced without a yes, and then only the names asked about.
    const QStringList taken = takenNames(plan);
    if (!taken.isEmpty() && !askToReplace(taken))
        return;
    plan.placement = taken.isEmpty() ? vocafetch::Placement::KeepExisting
                                     : vocafetch::Placement::ReplaceExisting;
    std::atomic<bool> cancel{false};
    vocafetch::SaveControl control;
    control.cancel = &cancel;
    control.progress = [this](int written, int total) { showSaveProgress(written, total); };
    vocafetch::SaveOutcome outcome;
    m_saveCancel = &cancel;
    const auto finished = qScopeGuard([this] {
        m_saveCancel = nullptr;
        if (std::exchange(m_closeAfterSave, false))
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    try {
        vocafetch::runCancellableOffWindowThread(
            [&] { outcome = vocafetch::saveRecordings(Session, plan, control); }, cancel);
    } catch (const ExtractError &error) {
        // A file that cannot be written is reported as every save of the window reports it.
        if (error.kind() != vocafetch::ErrorKind::CannotCreate)
            throw;
        throw FileErrors::cannotCreateFile(error.path(), error.reason());
    }
    if (plan.recordings.size() > 1 || outcome.cancelled)
        setStatusText(savedText(outcome.placed, int(plan.recordings.size())));
    if (!outcome.failedPath.isEmpty())
        throw FileErrors::cannotCreateFile(outcome.failedPath, outcome.failedReason);
    if (!outcome.skipped.isEmpty())
        throw ExtractError(skippedText(outcome.skipped));
}

QStringList TForm1::takenNames(const vocafetch::SavePlan &plan) const
{
    QStringList taken;
    for (const QByteArray &name : plan.names) {
        struct stat info;
        // A link counts, dangling or not: it is replaced itself, never written through.
        if (lstat((plan.folder + '/' + name).constData(), &info) == 0)
            taken << vocafetch::displayName(vocafetch::nameFromBytes(name));
    }
    return taken;
}

bool TForm1::askToReplace(const QStringList &taken)
{
    const QString question = taken.size() == 1
                                 ? tr("Файл уже существует: %1. Заменить?").arg(taken.first())
                                 : tr("Файлы уже существуют: %1 и ещё %2. Заменить?")
                                       .arg(taken.first())
                                       .arg(taken.size() - 1);
    return m_dialogs.askReplace(this, AppInfo::Title, question, tr("Заменить"), tr("Отмена"));
}

void TForm1::showSaveProgress(int written, int total)
{
    // From the saving thread: the status line changes on the window's, a few times a second.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (written != total && now - m_lastProgress.load() < 100)
        return;
    m_lastProgress = now;
    QMetaObject::invokeMethod(
        this, [this, written, total] { setStatusText(savedText(written, total)); },
        Qt::QueuedConnection);
}

bool TForm1::askSaveAs(vocafetch::OutputKind &kind)
{
    if (!SaveAsDialog1.Execute())
        return false;
    // The filters are the format table's rows, in its order.
    const int chosen = vocafetch::outputFormatFilters().indexOf(SaveAsDialog1.SelectedFilter());
    const auto &formats = vocafetch::outputFormats();
    const vocafetch::OutputFormat format =
        formats[std::clamp<qsizetype>(chosen, 0, qsizetype(formats.size()) - 1)].format;
    kind =
        format == vocafetch::OutputFormat::Amr ? amrKind() : vocafetch::OutputKind::decoded(format);
    return true;
}

void TForm1::SaveAs1Click()
{
    const int i = selectedRecording();
    vocafetch::OutputKind kind;
    if (!isRecording(i) || !askSaveAs(kind))
        return;
    save(vocafetch::planSaveOne(Session, i, kind, SaveAsDialog1.FileName()));
}

void TForm1::SaveAllAs1Click()
{
    vocafetch::OutputKind kind;
    if (recordingRows() == 0 || !askSaveAs(kind))
        return;
    save(vocafetch::planSaveAll(Session, kind, SaveAsDialog1.FileName()));
}

void TForm1::Headerless1Click()
{
    Session.setFindHeaderless(Headerless1->isChecked());
    // The container shown is searched again at once.
    if (Session.size() > 0 && !Session.path().isEmpty())
        Action1Execute();
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
        setStatusText(playStoppedText());
        return;
    }
    const int i = selectedRecording();
    if (!isRecording(i))
        return;
    const PcmAudio audio = Session.decodeToPcm(i);
    if (!audio.ok()) {
        setStatusText(cannotDecodeText());
        return;
    }
    switch (output.start(audio.samples, audio.sampleRate)) {
    case AudioOutput::StartResult::Started:
        setStatusText(playingText(
            vocafetch::presentation::recordingCaption(i, Session.scan().recordingCount())));
        break;
    case AudioOutput::StartResult::NoDevice:
        setStatusText(noAudioDeviceText());
        break;
    case AudioOutput::StartResult::Refused:
        setStatusText(playFailedText());
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
    setStatusText(failed ? playFailedText() : playFinishedText());
}

} // namespace vocafetch
