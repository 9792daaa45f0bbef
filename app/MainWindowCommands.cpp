// The main window's commands: opening and loading containers, the enabling rules, saving
// recordings (MainWindowRecordings.cpp decides their bytes) and the About box.
#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/RecordingPresentation.h"
#include "extract/RawFileName.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <stdexcept>

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
    DrfPathList.clear();
    FileDRF->clear();
    for (const QString &path : paths) {
        FileDRF->addItem(new QListWidgetItem(ImageList1.icon(0),
                                             vocafetch::displayName(QFileInfo(path).fileName())));
        DrfPathList << path;
    }
}

void TForm1::suiButton4Click()
{
    N2->trigger();
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
    Session.loadWithoutScan(DrfPathList.at(index));
    Action1Execute();
    suiButton3->setEnabled(AMRFiles->count() > 0);
}

// Before a container loads, nothing of the previous one is left: should the load fail, the
// window shows an empty list with nothing to save, and no recording of the old one plays on.
void TForm1::forgetRecordings()
{
    stopPlayback();
    AmrStartList.clear();
    TypeMarkerList.clear();
    AMRFiles->clear();
    setStatusText(QString());
    AMR1->setEnabled(false);
    updateSaveButtons();
}

void TForm1::Action1Execute()
{
    namespace words = vocafetch::presentation;
    Session.rescan();
    const vocafetch::ContainerScan &scan = Session.scan();
    AmrStartList = words::offsetList(scan.recordingStarts);
    TypeMarkerList = words::offsetList(scan.typeMarkers);
    setStatusText(words::scanStatusText(Session.recordingCount()));
    AMR1->setEnabled(Session.recordingCount() > 0);
    AMRFiles->clear();
    for (int k = 1; k <= Session.recordingCount(); ++k)
        AMRFiles->addItem(new QListWidgetItem(ImageList2.icon(0), words::recordingCaption(k)));
    showRecordingToolTips();
}

void TForm1::AMRFilesSelectItem()
{
    updateSaveButtons();
}

void TForm1::suiPopupMenu1Popup()
{
    N5->setEnabled(!AMRFiles->selectedItems().isEmpty());
    N6->setEnabled(AMRFiles->count() > 0);
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
    const QList<QListWidgetItem *> selected = AMRFiles->selectedItems();
    if (selected.isEmpty())
        return;
    const int i = AMRFiles->row(selected.first());
    if (!SaveDialog1.Execute())
        return;
    saveRecording(i);
}

void TForm1::N6Click()
{
    if (AMRFiles->count() == 0)
        return;
    if (!SaveDialog1.Execute())
        return;
    // One file per recording start, in order; a failure stops at that recording.
    for (int i = 0; i < Session.recordingCount(); ++i)
        saveRecording(i);
}

void TForm1::AMR1Click()
{
    if (FileDRF->count() > 0 && AMRFiles->count() > 0)
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
