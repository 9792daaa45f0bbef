#include "app/MainWindow.h"

#include "app/AppInfo.h"
#include "app/ContainerDropTarget.h"
#include "app/Localization.h"
#include "app/RecordingListModel.h"
#include "phone/LoadedPhoneLibrary.h"
#include "phone/PhoneConnection.h"
#include "skin/controls/SkinnedListView.h"
#include "skin/controls/SkinnedStatusBar.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiListView.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace vocafetch {

namespace {

// Geometry of the window and of its controls on the frame.
const QSize ClientSize(317, 272);
const QRect FrameGeometry(3, 0, 311, 269);
const QRect FileDRFGeometry(8, 64, 145, 113);
const QRect AMRFilesGeometry(160, 64, 145, 113);
const QRect StatusBarGeometry(0, 250, 311, 19);
const int MenuBarHeight = 22;
// The frame's colours (0x00BBGGRR).
const quint32 FrameBorderColor = 13118464;
const quint32 FrameColor = 14609391;
const int FrameBorderWidth = 3;
const int FrameRoundCorner = 13;

// Indexes into ImageList2.
enum CommandImage
{
    RecordingImage = 0,
    SaveImage = 1,
    SaveAllImage = 2,
    HelpImage = 3,
    ExitImage = 4,
    OpenImage = 5,
    PhoneImage = 6,
};

FileDialogRequest openDialogSettings()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    // Containers come under other names as well (a phone's "voice.bin", a copy, a dump).
    request.filter = QStringLiteral("*.drf;;") + TForm1::tr("Все файлы (*)");
    request.defaultSuffix = QStringLiteral("drf");
    request.multiSelect = true;
    return request;
}

FileDialogRequest saveDialogSettings()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = QStringLiteral("*.amr");
    request.confirmOverwrite = false;
    return request;
}

FileDialogRequest saveAsDialogSettings()
{
    FileDialogRequest request = saveDialogSettings();
    request.filter = vocafetch::outputFormatFilters().join(QLatin1String(";;"));
    return request;
}

// The lists are skinned in the window's WinXP style.
template <class List> List *createList(QWidget *parent)
{
    auto *list = new List(parent);
    list->setUIStyle(TsuiUIStyle::WinXP);
    return list;
}

// Small-icon view: 16 x 16 icons with the caption beside them, flowing left to right and
// wrapping into rows.
void configureList(QListView *list)
{
    list->setViewMode(QListView::ListMode);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setIconSize(QSize(ImageList::IconSize, ImageList::IconSize));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFont(Localization::listFont());
}

} // namespace

TForm1::TForm1(Dialogs &dialogs, QWidget *parent)
    : TForm1(dialogs, std::make_unique<LoadedPhoneLibrary>(), parent)
{
}

TForm1::TForm1(Dialogs &dialogs, std::unique_ptr<PhoneLibrary> phoneLibrary, QWidget *parent)
    : QWidget(parent), OpenDialog1(dialogs, this, openDialogSettings()),
      SaveDialog1(dialogs, this, saveDialogSettings()),
      SaveAsDialog1(dialogs, this, saveAsDialogSettings()), ImageList1(ImageList::containerIcons()),
      ImageList2(ImageList::commandIcons()), m_dialogs(dialogs), m_errorBoundary(dialogs, this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(AppInfo::Title);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ClientSize);
    setFont(Localization::windowFont());

    createFrame();
    createActions();
    createPhone(std::move(phoneLibrary));
    createMainMenu();
    createPopupMenu();
    createLists();
    createButtons();
    createStatusBar();
    connectHandlers();
    describeControls();
    new ContainerDropTarget(this);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createFrame()
{
    // The frame takes over the window's caption, border and menu bar. Its values arrive in the
    // order the window description stores them: the size, the style, then the explicit values
    // (each border width write sizes the window again).
    suiForm1 = new TsuiForm(this);
    suiForm1->setObjectName(QStringLiteral("suiForm1"));
    suiForm1->setFrameWidth(FrameGeometry.width());
    suiForm1->setFrameHeight(FrameGeometry.height());
    suiForm1->setUIStyle(TsuiUIStyle::WinXP);
    suiForm1->setBorderColor(FrameBorderColor);
    suiForm1->setBorderWidth(FrameBorderWidth);
    suiForm1->setColor(FrameColor);
    suiForm1->setMenuBarColor(FrameColor);
    suiForm1->setMenuBarHeight(MenuBarHeight);
    suiForm1->setRoundCorner(FrameRoundCorner);
    suiForm1->setCaption(AppInfo::Title);
    // Control box, close and minimise: the window cannot be maximised from its title bar.
    TsuiTitleBarButtons &buttons = suiForm1->TitleBar()->Buttons();
    for (int i = buttons.count() - 1; i >= 0; --i) {
        if (buttons.item(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
            buttons.removeAt(i);
    }
}

void TForm1::createActions()
{
    Action1 = new QAction(QStringLiteral("Action1"), this);
    Action1->setObjectName(QStringLiteral("Action1"));
    Action2 = new QAction(QStringLiteral("Action2"), this);
    Action2->setObjectName(QStringLiteral("Action2"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
}

QAction *TForm1::createMenuItem(QMenu *menu, const QString &caption, int image,
                                const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(ImageList2.icon(image), caption);
    item->setProperty(ImageIndexProperty, image);
    item->setShortcut(shortcut);
    // Also on the window itself, so the shortcuts work whatever shows the menu bar.
    if (!shortcut.isEmpty())
        addAction(item);
    return item;
}

void TForm1::createMainMenu()
{
    suiMainMenu1 = new TsuiMainMenu(this);
    suiMainMenu1->setObjectName(QStringLiteral("suiMainMenu1"));
    suiMainMenu1->setFlatMenu(true);
    suiMainMenu1->setImagesAssigned(true);

    N1 = suiMainMenu1->addMenu(tr("Файл"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = createMenuItem(N1, tr("&Открыть"), OpenImage, QKeySequence(Qt::CTRL | Qt::Key_O));
    AMR1 =
        createMenuItem(N1, tr("Со&хранить все"), SaveAllImage, QKeySequence(Qt::CTRL | Qt::Key_S));
    N7 = createMenuItem(N1, tr("Считать с телефона"), PhoneImage,
                        QKeySequence(Qt::CTRL | Qt::Key_R));
    N3 = N1->addSeparator();
    Dsjl1 = createMenuItem(N1, tr("Вы&ход"), ExitImage, QKeySequence(Qt::CTRL | Qt::Key_X));
    // Ctrl+Q quits too, as elsewhere on the desktop; the menu shows the first shortcut only.
    Dsjl1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::CTRL | Qt::Key_Q)});

    // A plain menu bar would show the picture instead of the caption, so the top-level item
    // only names its picture for the menu painting.
    N4 = suiMainMenu1->addMenu(tr("Справка"));
    N4->setObjectName(QStringLiteral("N4"));
    N4->menuAction()->setProperty(ImageIndexProperty, int(HelpImage));
    N8 = createMenuItem(N4, tr("О Программе"), HelpImage);

    const std::pair<QAction *, const char *> names[] = {{N2, "N2"}, {AMR1, "AMR1"},   {N7, "N7"},
                                                        {N3, "N3"}, {Dsjl1, "Dsjl1"}, {N8, "N8"}};
    for (const auto &[item, name] : names)
        item->setObjectName(QString::fromLatin1(name));
    createCleanCutItem();
    suiMainMenu1->Loaded();
    // The frame shows the menu's top-level items on its menu bar.
    suiForm1->setMenu(suiMainMenu1);
}

void TForm1::createPopupMenu()
{
    suiPopupMenu1 = new TsuiPopupMenu(this);
    suiPopupMenu1->setObjectName(QStringLiteral("suiPopupMenu1"));
    suiPopupMenu1->setFlatMenu(true);
    suiPopupMenu1->setImagesAssigned(true);
    N5 = createMenuItem(suiPopupMenu1, tr("Сохранить"), SaveImage);
    N5->setObjectName(QStringLiteral("N5"));
    N6 = createMenuItem(suiPopupMenu1, tr("Сохранить все"), SaveAllImage);
    N6->setObjectName(QStringLiteral("N6"));
    createRecordingPopupItems();
    suiPopupMenu1->AttachItemHandlers(suiPopupMenu1);
}

void TForm1::createLists()
{
    FileDRF = createList<TsuiListView>(suiForm1);
    FileDRF->setObjectName(QStringLiteral("FileDRF"));
    FileDRF->setGeometry(FileDRFGeometry);
    configureList(FileDRF);
    // A folder of thousands of files lays out a batch at a time between events.
    FileDRF->setLayoutMode(QListView::Batched);

    AMRFiles = createList<vocafetch::SkinnedListView>(suiForm1);
    AMRFiles->setObjectName(QStringLiteral("AMRFiles"));
    AMRFiles->setGeometry(AMRFilesGeometry);
    configureList(AMRFiles);
    // Every row has the same size: millions of rows lay out without asking each, a batch at a
    // time between events.
    AMRFiles->setUniformItemSizes(true);
    AMRFiles->setLayoutMode(QListView::Batched);
    m_recordings = new vocafetch::RecordingListModel(
        ImageList2.icon(RecordingImage), [this](int row) { return recordingToolTip(row); }, this);
    AMRFiles->setModel(m_recordings);
    AMRFiles->setContextMenuPolicy(Qt::CustomContextMenu);
}

QAbstractButton *TForm1::createButton(const QString &caption, int glyph, const QRect &geometry)
{
    auto *button = new TsuiButton(suiForm1);
    button->setUIStyle(TsuiUIStyle::WinXP);
    button->setCaption(caption);
    button->setGlyph(ImageList2.picture(glyph).toImage());
    button->setGeometry(geometry);
    return button;
}

void TForm1::createButtons()
{
    suiButton4 = createButton(tr("Открыть"), OpenImage, QRect(8, 184, 145, 27));
    suiButton4->setObjectName(QStringLiteral("suiButton4"));
    suiButton1 = createButton(tr("Считать с телефона"), PhoneImage, QRect(8, 216, 145, 27));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton2 = createButton(tr("Сохранить"), SaveImage, QRect(160, 184, 145, 27));
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton3 = createButton(tr("Сохранить все"), SaveAllImage, QRect(160, 216, 145, 27));
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
}

void TForm1::createStatusBar()
{
    // One permanent text: a status bar's own messages are temporary and cleared by menu hovers.
    StatusBar1 = new vocafetch::SkinnedStatusBar(suiForm1);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(StatusBarGeometry);
    StatusBar1->setUIStyle(TsuiUIStyle::WinXP);
    StatusBar1->setText(AppInfo::Title);
}

template <class Signal, class Sender>
void TForm1::connectHandler(Sender *sender, Signal signal, void (TForm1::*handler)())
{
    connect(sender, signal, this, m_errorBoundary.guard([this, handler]() { (this->*handler)(); }));
}

void TForm1::connectHandlers()
{
    connectHandler(N2, &QAction::triggered, &TForm1::N2Click);
    connectHandler(AMR1, &QAction::triggered, &TForm1::AMR1Click);
    connectHandler(N7, &QAction::triggered, &TForm1::N7Click);
    connectHandler(Dsjl1, &QAction::triggered, &TForm1::Dsjl1Click);
    connectHandler(N8, &QAction::triggered, &TForm1::N8Click);
    connectHandler(N5, &QAction::triggered, &TForm1::N5Click);
    connectHandler(N6, &QAction::triggered, &TForm1::N6Click);
    connectHandler(Play1, &QAction::triggered, &TForm1::Play1Click);
    connectHandler(SaveAs1, &QAction::triggered, &TForm1::SaveAs1Click);
    connectHandler(SaveAllAs1, &QAction::triggered, &TForm1::SaveAllAs1Click);
    connectHandler(Headerless1, &QAction::triggered, &TForm1::Headerless1Click);
    connectHandler(Action1, &QAction::triggered, &TForm1::Action1Execute);
    connectHandler(Action2, &QAction::triggered, &TForm1::Action2Execute);

    connectHandler(suiButton1, &QAbstractButton::clicked, &TForm1::suiButton1Click);
    connectHandler(suiButton2, &QAbstractButton::clicked, &TForm1::suiButton2Click);
    connectHandler(suiButton3, &QAbstractButton::clicked, &TForm1::suiButton3Click);
    connectHandler(suiButton4, &QAbstractButton::clicked, &TForm1::suiButton4Click);

    // Selecting a container loads it, by mouse or keyboard; so do a click on the selected one
    // and Return or Space. A click on empty space loads nothing.
    connectHandler(FileDRF, &QListWidget::itemSelectionChanged, &TForm1::FileDRFSelectionChanged);
    connectHandler(FileDRF, &QListWidget::clicked, &TForm1::FileDRFClicked);
    FileDRF->installEventFilter(this);
    FileDRF->viewport()->installEventFilter(this);
    connectHandler(AMRFiles->selectionModel(), &QItemSelectionModel::selectionChanged,
                   &TForm1::AMRFilesSelectItem);
    connectHandler(suiPopupMenu1, &QMenu::aboutToShow, &TForm1::suiPopupMenu1Popup);
    connect(AMRFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        suiPopupMenu1->popup(AMRFiles->viewport()->mapToGlobal(pos));
    });

    connectHandler(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
}

void TForm1::placeOnDesktop()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    const QPoint offset = pos() - frame.topLeft();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft() + offset);
}

void TForm1::showEvent(QShowEvent *event)
{
    // Centred once, when first shown: only a created window knows its frame.
    if (!m_placed) {
        m_placed = true;
        placeOnDesktop();
    }
    QWidget::showEvent(event);
}

QString TForm1::statusText() const
{
    return StatusBar1->text();
}

void TForm1::setStatusText(const QString &text)
{
    StatusBar1->setText(text);
}

void TForm1::updateSaveButtons()
{
    suiButton2->setEnabled(selectedRecording() >= 0);
    suiButton3->setEnabled(recordingRows() > 0);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FileDRF->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                           event->type() == QEvent::MouseButtonDblClick)) {
        m_selectionLoaded = false;
    } else if (watched == FileDRF && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool loadKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                             key->key() == Qt::Key_Space;
        if (loadKey && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_errorBoundary.run([this]() { FileDRFKeyLoad(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_saveCancel) {
        // The save stops first; the window closes once what was written is placed.
        *m_saveCancel = true;
        m_closeAfterSave = true;
        event->ignore();
        return;
    }
    bool canClose = true;
    m_errorBoundary.run([&]() { FormCloseQuery(canClose); });
    if (canClose) {
        stopPlayback();
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace vocafetch
