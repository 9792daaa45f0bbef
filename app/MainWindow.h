#pragma once

#include "app/AudioOutput.h"
#include "app/ErrorBoundary.h"
#include "app/FileDialog.h"
#include "app/ImageList.h"
#include "extract/ByteBuffer.h"
#include "extract/ContainerSession.h"
#include "extract/SaveRun.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "phone/PhoneCopyRegistry.h"
#include "phone/PhoneDownloadJob.h"
#include "phone/PhoneLibrary.h"
#include "skin/chrome/TsuiForm.h"
#include "skin/chrome/TsuiMainMenu.h"
#include "skin/chrome/TsuiPopupMenu.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

#include <atomic>
#include <memory>

class QAbstractButton;
class QAction;
class QListView;
class QListWidget;
class QMenu;
class QTimer;

namespace vocafetch {

class Dialogs;
class PhoneConnection;
class TForm2;
struct PhoneDownloadResult;
class RecordingListModel;
class SkinnedStatusBar;

// TForm1: the main window. It owns all working state: the container list and the recording
// list, the two byte buffers, the hidden lists of offsets, paths and phone copies, the menus,
// buttons, status line and the phone timer. Controls and handlers keep the names the rest of
// the program knows them by, so that skinned controls can take their place. The phone side
// (connection, download, clean-up of the copies) lives in MainWindowPhone.cpp.
//
// Every handler that a control, menu item or timer runs goes through errorBoundary(): a
// failure is shown in a message box and the window stays usable. Called directly, handlers
// throw (ExtractError and the like).
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // Reads the phone through the phone-access library loaded at run time.
    explicit TForm1(Dialogs &dialogs, QWidget *parent = nullptr);
    // Reads the phone through `phoneLibrary` (tests pass a scripted one).
    TForm1(Dialogs &dialogs, std::unique_ptr<PhoneLibrary> phoneLibrary, QWidget *parent = nullptr);
    ~TForm1() override;

    // The About box that "О Программе" shows; the application creates it after this window.
    void setAboutBox(TForm2 *form2) { Form2 = form2; }

    QString statusText() const;
    void setStatusText(const QString &text);

    const ErrorBoundary &errorBoundary() const { return m_errorBoundary; }

    // True from a phone download's start until its copies are listed; reading the phone is
    // disabled meanwhile.
    bool isReadingPhone() const;

    // Controls, at their places on the frame.
    TsuiForm *suiForm1;
    QListWidget *FileDRF;
    // One row per recording of the loaded container, from the model behind it.
    QListView *AMRFiles;
    QAbstractButton *suiButton1; // "Считать с телефона"
    QAbstractButton *suiButton2; // "Сохранить"
    QAbstractButton *suiButton3; // "Сохранить все"
    QAbstractButton *suiButton4; // "Открыть"
    vocafetch::SkinnedStatusBar *StatusBar1;

    // Each menu item names its picture in ImageList2 under this property.
    static constexpr const char *ImageIndexProperty = "imageIndex";

    // The main menu and its items; N1 and N4 are the submenus "Файл" and "Справка".
    TsuiMainMenu *suiMainMenu1;
    QMenu *N1;
    QAction *N2;    // "&Открыть", Ctrl+O
    QAction *AMR1;  // "Со&хранить все", Ctrl+S
    QAction *N7;    // "Считать с телефона", Ctrl+R
    QAction *N3;    // separator
    QAction *Dsjl1; // "Вы&ход", Ctrl+X
    QMenu *N4;
    QAction *N8; // "О Программе"

    // The recording list's pop-up menu.
    TsuiPopupMenu *suiPopupMenu1;
    QAction *N5; // "Сохранить"
    QAction *N6; // "Сохранить все"

    // Recording tools (MainWindowRecordings.cpp): the File menu's checkable clean cut and
    // headerless search, and the pop-up menu's listening and saving in a format of choice.
    QAction *CleanCut1; // "Сохранять только звук": saves write only the audio; off at start
    QAction *Headerless1; // "Искать записи без заголовка": off at start
    QAction *Play1;       // "Прослушать": plays the selected recording, or stops playing
    QAction *SaveAs1; // "Сохранить как…": the selected recording, in the format chosen
    QAction *SaveAllAs1; // "Сохранить все как…": every recording, in the format chosen
    // Plays through output instead of the system's default audio device.
    void setAudioOutput(std::unique_ptr<AudioOutput> output);

    // ActionList1: the scan and the phone download.
    QAction *Action1;
    QAction *Action2;

    // Polls the phone connection: 100 ms, disabled until a connection starts.
    QTimer *Timer1;

    FileDialog OpenDialog1;
    FileDialog SaveDialog1;
    // The save dialog of SaveAs1 and SaveAllAs1: its filters (AMR, WAV, FLAC, Opus, MP3) choose
    // the format.
    FileDialog SaveAsDialog1;

    ImageList ImageList1; // the container list's icons
    ImageList ImageList2; // the recording list's and the menus' icons

    // Hidden lists: offsets of the loaded container (the scan's numbers, shared with the
    // session), paths of FileDRF's entries (index-aligned with it), and the names and sizes of
    // the copies read from the phone.
    QVector<qint64> AmrStartList;
    QVector<qint64> TypeMarkerList;
    QStringList DrfPathList;
    QStringList PhoneNameList;
    QStringList PhoneSizeList;

    // The folder the program was started in; phone copies are written to and deleted from it.
    QString StartDir;

    TForm2 *Form2 = nullptr;

    // The container shown, read where it lies: its scan and analyses, and how its recordings
    // are saved.
    vocafetch::ContainerSession Session;

public slots:
    void FormCreate();
    // Deletes the files and folders that phone downloads created since start, and nothing
    // else; never refuses to close.
    void FormCloseQuery(bool &CanClose);

    void N2Click();
    // Lists `paths` in FileDRF as the open command does, replacing the list: files of any name,
    // and every file below a folder (see filesToList). Used for the open command, for files
    // dropped on the window and for those a file manager opens the program with. When nothing
    // is left to list (an empty folder), the list stays and the status line says that no
    // recording was found.
    void ListContainers(const QStringList &paths);
    void suiButton4Click();
    // Loads the selected container and scans it. A container loads when the selection moves to
    // it (by mouse or keyboard), when it is clicked while selected, and on Return or Space.
    void FileDRFClick();
    void AMRFilesSelectItem();
    void suiPopupMenu1Popup();
    void N7Click();
    void Dsjl1Click();
    void N8Click();
    void N5Click();
    void N6Click();
    void AMR1Click();
    void suiButton2Click();
    void suiButton3Click();
    void Action1Execute();
    void Play1Click();
    void SaveAs1Click();
    void SaveAllAs1Click();
    void Headerless1Click();

    // The phone connection and download. The download copies on a thread of its own; the
    // lists take its copies when it has finished.
    void suiButton1Click();
    void Timer1Timer();
    void Action2Execute();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Return and Space on the container list; mouse presses on it (see FileDRFClicked).
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createFrame();
    void createLists();
    void createButtons();
    void createStatusBar();
    void createMainMenu();
    void createPopupMenu();
    void createActions();
    void connectHandlers();
    // Names and descriptions for assistive technology, and the title bar's own words, in the
    // window's language (MainWindowAccessibility.cpp).
    void describeControls();
    void describeTitleBar();
    // The container list's selection moved: the newly selected container loads.
    void FileDRFSelectionChanged();
    // A click on a container: it loads unless the click's press selected it, which loaded it.
    void FileDRFClicked();
    // Return or Space: selects the current container, or loads it again when it is selected.
    void FileDRFKeyLoad();
    void placeOnDesktop();
    void createPhone(std::unique_ptr<PhoneLibrary> phoneLibrary);
    void showPhoneCopies(const PhoneDownloadResult &result);
    void phoneDownloadFinished();
    void enablePhoneRead(bool enabled);

    QAbstractButton *createButton(const QString &caption, int glyph, const QRect &geometry);
    QAction *createMenuItem(QMenu *menu, const QString &caption, int image,
                            const QKeySequence &shortcut = {});
    void updateSaveButtons();
    void forgetRecordings();

    void createCleanCutItem();
    void createRecordingPopupItems();
    // The tool tip of recording row, worked out when the list asks for it.
    QString recordingToolTip(int row);
    // How many recordings AMRFiles shows.
    int recordingRows() const;
    void enableRecordingPopupItems();
    int selectedRecording() const;
    // The AMR kind the save commands write: the whole range, or with the clean cut on only
    // the audio.
    vocafetch::OutputKind amrKind() const;
    // Saves as the plan says, off the window's thread with its progress in the status line;
    // Escape or closing the window stops it (what was written is placed whole). Existing files
    // are replaced only when the user says so; a recording whose audio cannot be converted is
    // reported after the others are saved.
    void save(vocafetch::SavePlan plan);
    // The plan's names that are taken (a file, a folder, a link) in its folder.
    QStringList takenNames(const vocafetch::SavePlan &plan) const;
    bool askToReplace(const QStringList &taken);
    void showSaveProgress(int written, int total);
    // Whether recording i is one the loaded container has.
    bool isRecording(int i) const;
    // Asks for a name and format in SaveAsDialog1; false when cancelled.
    bool askSaveAs(vocafetch::OutputKind &kind);
    AudioOutput &audioOutput();
    void stopPlayback();
    void playbackFinished(bool failed);

    template <class Signal, class Sender>
    void connectHandler(Sender *sender, Signal signal, void (TForm1::*handler)());

    Dialogs &m_dialogs;
    ErrorBoundary m_errorBoundary;
    // Set while a save runs: closing the window stops it first.
    std::atomic<bool> *m_saveCancel = nullptr;
    bool m_closeAfterSave = false;
    std::atomic<qint64> m_lastProgress{0};
    vocafetch::RecordingListModel *m_recordings = nullptr;
    bool m_placed = false;
    // Set when a move of the container list's selection loaded a container, cleared by every
    // mouse press on the list: the click that follows such a press loads nothing more.
    bool m_selectionLoaded = false;

    // The library outlives the connection that calls it.
    std::unique_ptr<PhoneLibrary> m_phoneLibrary;
    std::unique_ptr<PhoneConnection> m_phoneConnection;
    PhoneCopyRegistry m_phoneCopies;
    // Declared after the library and the registry it uses, so it is stopped before they go.
    std::unique_ptr<vocafetch::PhoneDownloadJob> m_phoneDownload;

    // Created on the first listening unless set beforehand.
    std::unique_ptr<AudioOutput> m_audioOutput;
};

} // namespace vocafetch
