// The skinned form frame on a window dressed like the main window: its place, the border on
// the host, run-time setters, the menu bar and its buttons, shortcuts through the frameless
// window, and sizing a sizeable host from its edges.
#include "ChromeTestHost.h"
#include "skin/chrome/FramelessHost.h"
#include "skin/chrome/TsuiFormMessages.h"
#include "skin/chrome/TsuiPopupMenu.h"

#include <QFrame>
#include <QSignalSpy>
#include <QTest>

using namespace vocafetch;

using namespace chrome_test;

namespace {

const QColor BorderColor = BgrToQColor(13118464);

void expectBorder(const QImage &shot, const QColor &color, int width)
{
    const int w = shot.width();
    const int h = shot.height();
    for (int i = 0; i < width; ++i) {
        for (int y : {30, 100, h - 1 - width}) {
            EXPECT_EQ(shot.pixelColor(i, y), color) << "left " << i << "," << y;
            EXPECT_EQ(shot.pixelColor(w - 1 - i, y), color) << "right " << i << "," << y;
        }
        for (int x : {10, 150, 300})
            EXPECT_EQ(shot.pixelColor(x, h - 1 - i), color) << "bottom " << x << "," << i;
    }
}

} // namespace

TEST(FormFrame, MainWindowPlaceAndBorder)
{
    MainWindowChrome c = makeMainWindowChrome();
    EXPECT_EQ(c.host->size(), QSize(317, 272));
    EXPECT_EQ(c.frame->geometry(), QRect(3, 0, 311, 269));
    EXPECT_TRUE(c.host->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(c.frame->BorderColor(), 13118464u);
    EXPECT_EQ(c.frame->BorderWidth(), 3);
    EXPECT_EQ(c.frame->Color(), 14609391u);
    EXPECT_EQ(c.frame->MenuBarColor(), 14609391u);
    EXPECT_EQ(c.frame->Version(), QStringLiteral("4.06"));
    const QImage shot = grabImage(c.host.get());
    expectBorder(shot, BorderColor, 3);
    EXPECT_NE(shot.pixelColor(3, 100), BorderColor);
    EXPECT_EQ(shot.pixelColor(100, 200), BgrToQColor(14609391));
    // The menu bar under the title bar.
    ASSERT_NE(c.frame->MenuBar(), nullptr);
    EXPECT_EQ(c.frame->MenuBar()->geometry(), QRect(0, 29, 311, 22));
}

TEST(FormFrame, HostWithCustomisedTitleButtonsBecomesFramelessToo)
{
    QWidget host;
    host.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
    new TsuiForm(&host);
    EXPECT_TRUE(host.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(host.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(host.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(FormFrame, WidthAndHeightWritesSizeTheHost)
{
    MainWindowChrome c = makeMainWindowChrome(false);
    c.frame->setFrameHeight(269);
    EXPECT_EQ(c.host->height(), 273);
    c.frame->setFrameWidth(311);
    EXPECT_EQ(c.host->width(), 317);
    EXPECT_EQ(c.frame->geometry(), QRect(3, 0, 311, 270));
}

TEST(FormFrame, HidingTheTitleBarMovesTheFrame)
{
    MainWindowChrome c = makeMainWindowChrome();
    c.frame->setTitleBarVisible(false);
    EXPECT_EQ(c.frame->geometry(), QRect(3, 3, 311, 266));
    EXPECT_EQ(c.frame->MenuBar()->y(), 0);
    const QImage shot = grabImage(c.host.get());
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(shot.pixelColor(150, y), BorderColor);
    c.frame->setTitleBarVisible(true);
    EXPECT_EQ(c.frame->geometry(), QRect(3, 0, 311, 269));
    EXPECT_EQ(c.frame->MenuBar()->y(), 29);
}

TEST(FormFrame, BorderWidthAndColourAtRunTime)
{
    MainWindowChrome c = makeMainWindowChrome();
    c.frame->setBorderColor(0x0000FF);
    c.frame->setBorderWidth(5);
    EXPECT_EQ(c.frame->x(), 5);
    EXPECT_EQ(c.frame->width(), c.host->width() - 10);
    expectBorder(grabImage(c.host.get()), QColor(255, 0, 0), 5);
}

TEST(FormFrame, RunTimeSwitchToMacOs)
{
    MainWindowChrome c = makeMainWindowChrome();
    c.frame->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(c.frame->BorderColor(), 8355711u);
    EXPECT_EQ(c.frame->BorderWidth(), 1);
    EXPECT_EQ(c.frame->Color(), 15198183u);
    EXPECT_EQ(c.menu->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ(c.menu->MenuItemHeight(), 20);
    EXPECT_EQ(c.bar()->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ(c.bar()->height(), 23);
    EXPECT_EQ(c.frame->MenuBar()->y(), 23);
    const QImage shot = grabImage(c.host.get());
    EXPECT_EQ(shot.pixelColor(0, 150), BgrToQColor(8355711));
    EXPECT_EQ(shot.pixelColor(c.host->width() - 1, 150), BgrToQColor(8355711));
    // The patterned background: the frame repeats the 8 x 8 picture.
    const QImage pattern = LoadSkinResource(QStringLiteral("MACOS_FORM_BACKGROUND"));
    ASSERT_EQ(pattern.size(), QSize(8, 8));
    const QImage frameShot = grabImage(c.frame);
    for (int y = 120; y < 136; ++y) {
        for (int x = 40; x < 56; ++x)
            EXPECT_EQ(frameShot.pixel(x, y), pattern.pixel(x % 8, y % 8)) << x << "," << y;
    }
}

TEST(FormFrame, MenuNoneFreesTheMenuBarAndBack)
{
    MainWindowChrome c = makeMainWindowChrome();
    const QList<TsuiMenuBarButton *> buttons = c.frame->MenuBar()->buttons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Файл"));
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Справка"));
    EXPECT_LT(buttons[0]->x(), buttons[1]->x());
    EXPECT_EQ(buttons[0]->height(), 22);

    c.frame->setMenu(nullptr);
    EXPECT_EQ(c.frame->MenuBar(), nullptr);
    // A detached menu's changes no longer reach the frame.
    c.menu->Loaded();
    c.helpMenu->menuAction()->setText(QStringLiteral("Помощь"));
    EXPECT_EQ(c.frame->MenuBar(), nullptr);
    c.helpMenu->menuAction()->setText(QStringLiteral("Справка"));
    c.frame->setMenu(c.menu);
    ASSERT_NE(c.frame->MenuBar(), nullptr);
    ASSERT_EQ(c.frame->MenuBar()->buttons().size(), 2);
    EXPECT_EQ(c.frame->MenuBar()->buttons()[1]->text(), QStringLiteral("Справка"));

    // Item changes reach the bar.
    c.helpMenu->menuAction()->setEnabled(false);
    EXPECT_FALSE(c.frame->MenuBar()->buttons()[1]->isEnabled());
    c.menu->addMenu(QStringLiteral("Вид"));
    EXPECT_EQ(c.frame->MenuBar()->buttons().size(), 3);

    // The menu's end takes the menu bar with it.
    delete c.menu;
    EXPECT_EQ(c.frame->Menu(), nullptr);
    EXPECT_EQ(c.frame->MenuBar(), nullptr);
}

TEST(FormFrame, MenuBarButtonHotAndPressedBoxes)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiFormMenuBar *bar = c.frame->MenuBar();
    TsuiMenuBarButton *file = bar->buttons()[0];
    const QColor background = BgrToQColor(14609391);
    const QColor fill = BgrToQColor(15717318);
    const QColor frame = BgrToQColor(13003057);
    const int w = file->width();
    auto shoot = [&]() { return grabImage(bar).copy(file->geometry()); };
    // First row and column holding caption pixels (anything but the given background).
    auto firstInk = [](const QImage &image, const QColor &back, bool rows) {
        const int outer = rows ? image.height() : image.width();
        const int inner = rows ? image.width() : image.height();
        for (int i = 1; i < outer - 1; ++i)
            for (int j = 1; j < inner - 3; ++j)
                if (image.pixelColor(rows ? j : i, rows ? i : j) != back)
                    return i;
        return -1;
    };
    const QImage rest = shoot();
    EXPECT_EQ(rest.pixelColor(0, 0), background);
    EXPECT_EQ(rest.pixelColor(w - 1, 21), background);

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(file, &enter);
    const QImage hot = shoot();
    EXPECT_EQ(hot.pixelColor(0, 0), frame);
    EXPECT_EQ(hot.pixelColor(w - 1, 21), frame);
    EXPECT_EQ(hot.pixelColor(1, 1), fill);
    // Centred in the box less its top two rows.
    EXPECT_EQ(firstInk(hot, fill, true), firstInk(rest, background, true) + 1);
    EXPECT_EQ(firstInk(hot, fill, false), firstInk(rest, background, false));

    QTest::mousePress(file, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(c.fileMenu));
    EXPECT_TRUE(file->menuOpen());
    EXPECT_EQ(c.fileMenu->pos(), file->mapToGlobal(QPoint(0, 22)));
    const QImage pressed = shoot();
    // Two pixels narrower on the right; the caption centred between x 2 and the new edge.
    EXPECT_EQ(pressed.pixelColor(w - 3, 10), frame);
    EXPECT_EQ(pressed.pixelColor(w - 2, 10), background);
    EXPECT_EQ(pressed.pixelColor(w - 1, 10), background);
    EXPECT_EQ(firstInk(pressed, fill, true), firstInk(hot, fill, true));
    EXPECT_EQ(firstInk(pressed, fill, false), firstInk(hot, fill, false));
    // Closed with the mouse elsewhere: the button rests again.
    QCursor::setPos(c.host->mapToGlobal(QPoint(150, 150)));
    c.fileMenu->hide();
    EXPECT_FALSE(file->menuOpen());
    EXPECT_FALSE(file->hot());
    EXPECT_EQ(shoot().pixelColor(w - 1, 10), background);
}

TEST(FormFrame, ShortcutsWorkWhileTheWindowIsActiveOnly)
{
    MainWindowChrome c = makeMainWindowChrome();
    QSignalSpy opened(c.open, &QAction::triggered);
    QTest::keyClick(c.host.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opened.size(), 1);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(c.frame->IsFormActive());
    QTest::keyClick(c.host.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opened.size(), 1);
}

TEST(FormFrame, SecondFrameOnOneWindowIsRefused)
{
    MainWindowChrome c = makeMainWindowChrome(false);
    try {
        new TsuiForm(c.host.get());
        FAIL() << "a second frame was accepted";
    } catch (const TsuiFormError &error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Sorry, You can create only one TsuiForm component in one form!"));
    }
    int frames = 0;
    for (QObject *child : c.host->children())
        frames += qobject_cast<TsuiForm *>(child) != nullptr;
    EXPECT_EQ(frames, 1);
}

TEST(FormFrame, FormPanelFillsTheClientAreaAndTheFrameItselfIsRefused)
{
    QStringList messages;
    const auto previous = SetSkinErrorHandler([&](const QString &text) { messages << text; });
    MainWindowChrome c = makeMainWindowChrome(false);
    c.frame->setFormPanel(c.frame);
    EXPECT_EQ(c.frame->FormPanel(), nullptr);
    EXPECT_EQ(messages, QStringList({QStringLiteral(
                            "Sorry, you can't select the Form assign to FormPanel property")}));
    auto *panel = new QFrame(c.frame);
    panel->setFrameShape(QFrame::Box);
    c.frame->setFormPanel(panel);
    EXPECT_EQ(panel->geometry(), QRect(0, 51, 311, 269 - 51));
    EXPECT_EQ(panel->frameShape(), QFrame::NoFrame);
    SetSkinErrorHandler(previous);
}

TEST(FormFrame, ArrowKeysMoveAlongTheMenuBar)
{
    MainWindowChrome c = makeMainWindowChrome();
    const QList<TsuiMenuBarButton *> buttons = c.frame->MenuBar()->buttons();
    buttons[0]->openMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(c.fileMenu));
    QTest::keyClick(c.fileMenu, Qt::Key_Right);
    EXPECT_FALSE(c.fileMenu->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&]() { return c.helpMenu->isVisible(); }));
    EXPECT_TRUE(buttons[1]->menuOpen());
    QTest::keyClick(c.helpMenu, Qt::Key_Left);
    EXPECT_TRUE(QTest::qWaitFor([&]() { return c.fileMenu->isVisible(); }));
    c.fileMenu->hide();
}

TEST(FormFrame, NewControlsStartInTheFrameStyle)
{
    MainWindowChrome c = makeMainWindowChrome(false);
    TsuiPopupMenu popup(c.host.get());
    EXPECT_EQ(popup.UIStyle(), TsuiUIStyle::WinXP);
    EXPECT_EQ(c.menu->UIStyle(), TsuiUIStyle::WinXP);
}

TEST(FormFrame, StylePushedToDirectChildrenOnly)
{
    MainWindowChrome c = makeMainWindowChrome(false);
    auto *child = new TsuiTitleBar(c.frame); // any control with UIStyle and FileTheme
    auto *holder = new QWidget(c.frame);
    auto *grandChild = new TsuiTitleBar(holder);
    child->setUIStyle(TsuiUIStyle::WinXP);
    grandChild->setUIStyle(TsuiUIStyle::WinXP);
    c.frame->setUIStyle(TsuiUIStyle::Protein);
    EXPECT_EQ(child->UIStyle(), TsuiUIStyle::WinXP);
    c.frame->setUIStyleAutoUpdateSub(true);
    c.frame->setUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(child->UIStyle(), TsuiUIStyle::BlueGlass);
    EXPECT_EQ(grandChild->UIStyle(), TsuiUIStyle::WinXP);
}

TEST(FormFrame, SizeableHostIsSizedFromItsEdgesAndTheTitleBarsTopRows)
{
    QWidget host;
    host.resize(300, 200);
    auto *frame = new TsuiForm(&host);
    frame->setUIStyle(TsuiUIStyle::WinXP);
    EXPECT_TRUE(frame->hostSizeable());
    EXPECT_EQ(host.minimumWidth(), 150);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    FramelessHost *agent = FramelessHost::find(&host);
    ASSERT_NE(agent, nullptr);
    const QSize before = host.size();
    // The right border strip: drag 20 pixels to the right.
    const QPoint edge(host.width() - 2, 100);
    QTest::mousePress(&host, Qt::LeftButton, {}, edge);
    if (!agent->resizing())
        GTEST_SKIP() << "the platform sizes the window itself";
    QTest::mouseMove(&host, edge + QPoint(20, 0));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, edge + QPoint(20, 0));
    EXPECT_EQ(host.size(), before + QSize(20, 0));
    EXPECT_EQ(frame->width(), host.width() - 6);
    EXPECT_FALSE(agent->resizing());
    // The region follows the new size.
    EXPECT_TRUE(host.mask().contains(QPoint(host.width() - 1, host.height() - 1)));
    EXPECT_FALSE(host.mask().contains(QPoint(host.width() - 1, 0)));

    // The title bar's top rows size the host upwards; the bar itself never sees the press.
    TsuiTitleBar *bar = frame->TitleBar();
    const int height = host.height();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(100, 2));
    EXPECT_TRUE(agent->resizing());
    EXPECT_FALSE(bar->Pressed());
    QTest::mouseMove(bar, QPoint(100, -8));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(100, -8));
    EXPECT_EQ(host.height(), height + 10);
    EXPECT_FALSE(agent->resizing());
}

TEST(FormFrame, CustomAndHelpButtonClicksOfTheTitleBarReachTheFrame)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    addPlainButton(bar, TsuiTitleBarBtnType::suiCustom);
    addPlainButton(bar, TsuiTitleBarBtnType::suiHelp);
    QSignalSpy custom(c.frame, &TsuiForm::OnTitleBarCustomBtnsClick);
    QSignalSpy help(c.frame, &TsuiForm::OnTitleBarHelpBtnClick);
    const QRect customRect = bar->buttonLayout().rects[3];
    const QRect helpRect = bar->buttonLayout().rects[4];
    ASSERT_FALSE(customRect.intersects(helpRect));
    QTest::mouseClick(bar, Qt::LeftButton, {}, customRect.center());
    ASSERT_EQ(custom.size(), 1);
    EXPECT_EQ(custom[0][0].value<QObject *>(), bar);
    EXPECT_EQ(custom[0][1].toInt(), 3);
    EXPECT_EQ(help.size(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, helpRect.center());
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0][1].toInt(), 4);
    EXPECT_EQ(custom.size(), 1);
    EXPECT_EQ(c.host->closeQueries, 0);
}

TEST(FormFrame, FontMenuButtonsAndSectionsAreProperties)
{
    MainWindowChrome c = makeMainWindowChrome(false);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(15);
    ASSERT_TRUE(c.frame->setProperty("Font", font));
    EXPECT_EQ(c.bar()->font(), font);
    EXPECT_EQ(c.frame->property("Font").value<QFont>(), font);

    EXPECT_EQ(c.frame->property("Menu").value<TsuiMainMenu *>(), c.menu);
    ASSERT_TRUE(c.frame->setProperty("Menu", QVariant::fromValue<TsuiMainMenu *>(nullptr)));
    EXPECT_EQ(c.frame->MenuBar(), nullptr);
    ASSERT_TRUE(c.frame->setProperty("Menu", QVariant::fromValue(c.menu)));
    ASSERT_NE(c.frame->MenuBar(), nullptr);

    // Written collections are copied: later changes of the source leave the frame's alone.
    EXPECT_EQ(c.frame->property("TitleBarButtons").value<TsuiTitleBarButtons *>(),
              &c.bar()->Buttons());
    TsuiTitleBar other;
    other.Buttons().removeAt(0);
    ASSERT_EQ(other.Buttons().count(), 3);
    ASSERT_TRUE(c.frame->setProperty("TitleBarButtons", QVariant::fromValue(&other.Buttons())));
    other.Buttons().clear();
    ASSERT_EQ(c.bar()->Buttons().count(), 3);
    EXPECT_EQ(c.bar()->Buttons().item(0)->ButtonType(), TsuiTitleBarBtnType::suiClose);

    TsuiTitleBarSections sections(nullptr);
    TsuiTitleBarSection *only = sections.add();
    only->setWidth(40);
    ASSERT_TRUE(c.frame->setProperty("TitleBarSections", QVariant::fromValue(&sections)));
    only->setWidth(7);
    ASSERT_EQ(c.bar()->Sections().count(), 1);
    EXPECT_EQ(c.bar()->Sections().item(0)->Width(), 40);
    EXPECT_EQ(c.frame->property("TitleBarSections").value<TsuiTitleBarSections *>(),
              &c.bar()->Sections());
}
