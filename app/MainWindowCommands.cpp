// The main window's commands: opening and loading containers, the enabling rules, saving
// recordings (MainWindowRecordings.cpp decides their bytes) and the About box.
#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/BackgroundWork.h"
#include "app/ListedFiles.h"
#include "app/RecordingListModel.h"
#include "app/RecordingPresentation.h"
#include "extract/ExtractError.h"
#include "extract/RawFileName.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <optional>
#include <stdexcept>
#include <utility>

namespace vocafetch {

namespace {

// Beyond this many rows the list's pixel positions (int) would overflow.
constexpr int MaxListedRecordings = 50'000'000;

void refuseUnlistable(int count)
{
    if (count > MaxListedRecordings)
        throw ExtractError(
            TForm1::tr("В контейнере %1 записей: окно показывает не больше %2. Программа "
                       "vocafetch-cli обрабатывает контейнеры любого размера.")
                .arg(count)
                .arg(MaxListedRecordings));
}

} // namespace

void TForm1::FormCreate()
{
    updateSaveButtons();
    StartDir = QDir::currentPath();
}

void TForm1::N2Click()
{
    if (!OpenDialog1.Execute())
        return;
    ListContainers(OpenDialog1.Files());
}

void TForm1::ListContainers(const QStringList &paths)
{
    // A folder of many files is walked, and each file's message read, while the window paints.
    QStringList files;
    QVector<std::optional<MmsMessage>> messages;
    vocafetch::runOffWindowThread([&]() {
        files = filesToList(paths);
        messages.reserve(files.size());
        for (const QString &file : qAsConst(files))
            messages << readContainerMessage(file);
    });
    if (files.isEmpty()) {
        setStatusText(presentation::scanStatusText(0));
        return;
    }
    DrfPathList.clear();
    FileDRF->clear();
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto *item = new QListWidgetItem(ImageList1.icon(0),
                                         vocafetch::displayName(QFileInfo(files[i]).fileName()));
        if (messages[i])
            item->setToolTip(vocafetch::presentation::messageToolTip(*messages[i]));
        FileDRF->addItem(item);
    }
    DrfPathList = files;
}

void TForm1::suiButton4Click()
{
    N2->trigger();
}

void TForm1::FileDRFSelectionChanged()
{
    if (FileDRF->selectedItems().isEmpty())
        return;
    m_selectionLoaded = true;
    FileDRFClick();
}

void TForm1::FileDRFClicked()
{
    if (std::exchange(m_selectionLoaded, false))
        return;
    FileDRFClick();
}

void TForm1::FileDRFKeyLoad()
{
    QListWidgetItem *current = FileDRF->currentItem();
    if (!current)
        return;
    if (current->isSelected())
        FileDRFClick();
    else
        FileDRF->setCurrentItem(current, QItemSelectionModel::ClearAndSelect); // which loads it
}

void TForm1::FileDRFClick()
{
    const QList<QListWidgetItem *> selected = FileDRF->selectedItems();
    if (selected.isEmpty())
        return;
    forgetRecordings();

    const int index = FileDRF->row(selected.first());
    if (index < 0 || index >= DrfPathList.size())
        throw std::out_of_range(
            QStringLiteral("List index out of bounds (%1)").arg(index).toStdString());
    const QString path = DrfPathList.at(index);
    // Read where it lies, mapped, never copied: the scan reads it a window at a time while the
    // window keeps painting.
    vocafetch::runOffWindowThread([this, &path]() { Session.openFileWithoutScan(path); });
    Action1Execute();
    suiButton3->setEnabled(recordingRows() > 0);
}

// Before a container loads, nothing of the previous one is left: should the load fail, the
// window shows an empty list with nothing to save, and no recording of the old one plays on.
void TForm1::forgetRecordings()
{
    stopPlayback();
    AmrStartList.clear();
    TypeMarkerList.clear();
    m_recordings->setRecordingCount(0, 0);
    setStatusText(QString());
    AMR1->setEnabled(false);
    updateSaveButtons();
}

void TForm1::Action1Execute()
{
    namespace words = vocafetch::presentation;
    // No row may ask the session for its tool tip while the scan changes it.
    m_recordings->setRecordingCount(0, 0);
    vocafetch::runOffWindowThread([this]() { Session.rescan(); });
    refuseUnlistable(Session.recordingCount());
    const vocafetch::ContainerScan &scan = Session.scan();
    AmrStartList = scan.recordingStarts;
    TypeMarkerList = scan.typeMarkers;
    setStatusText(words::scanStatusText(Session.recordingCount()));
    AMR1->setEnabled(Session.recordingCount() > 0);
    m_recordings->setRecordingCount(Session.recordingCount(), Session.scan().recordingCount());
}

void TForm1::AMRFilesSelectItem()
{
    updateSaveButtons();
}

void TForm1::suiPopupMenu1Popup()
{
    N5->setEnabled(selectedRecording() >= 0);
    N6->setEnabled(recordingRows() > 0);
    enableRecordingPopupItems();
}

void TForm1::N7Click()
{
    suiButton1->click();
}

void TForm1::Dsjl1Click()
{
    close();
}

void TForm1::N8Click()
{
    if (Form2)
        Form2->showModalCentredOn(this);
}

void TForm1::N5Click()
{
    const int i = selectedRecording();
    if (i < 0)
        return;
    if (!SaveDialog1.Execute())
        return;
    save(vocafetch::planSaveOne(Session, i, amrKind(), SaveDialog1.FileName()));
}

void TForm1::N6Click()
{
    if (recordingRows() == 0)
        return;
    if (!SaveDialog1.Execute())
        return;
    save(vocafetch::planSaveAll(Session, amrKind(), SaveDialog1.FileName()));
}

void TForm1::AMR1Click()
{
    if (FileDRF->count() > 0 && recordingRows() > 0)
        N6Click();
}

void TForm1::suiButton2Click()
{
    N5Click();
}

void TForm1::suiButton3Click()
{
    N6Click();
}

} // namespace vocafetch
