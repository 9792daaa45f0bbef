// The title bar on a window dressed like the main window: pictures, buttons under real mouse
// events, the window menu, the caption and the window region.
#include "ChromeTestHost.h"
#include "skin/chrome/TsuiFormMessages.h"
#include "skin/chrome/TsuiTitleBarPopupMenu.h"
#include "skin/style/StyleLookup.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace vocafetch;

using namespace chrome_test;

namespace {

constexpr int CloseIndex = 1;
constexpr int MinIndex = 2;
const QPoint CloseAt(288, 5);
const QPoint MinAt(266, 5);

QImage frameOfStrip(int frame)
{
    QImage image;
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::TitleBarButtonImage, &image, 18, frame);
    return image;
}

// Captures refusal messages instead of showing a box.
class MessageCatcher
{
public:
    MessageCatcher()
    {
        m_previous = SetSkinErrorHandler([this](const QString &text) { messages << text; });
    }
    ~MessageCatcher() { SetSkinErrorHandler(m_previous); }
    QStringList messages;

private:
    std::function<void(const QString &)> m_previous;
};

} // namespace

TEST(TitleBar, MainWindowBarSectionsAndButtons)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 311, 29));
    EXPECT_EQ(bar->LeftBtnXOffset(), 2);
    EXPECT_EQ(bar->RoundCorner(), 13);
    const QImage shot = grabImage(bar);
    QImage left, right;
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::TitleBarLeftImage, &left, 0, 0);
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::TitleBarRightImage, &right, 0, 0);
    ASSERT_EQ(left.size(), QSize(35, 29));
    // The ends are copied unscaled; the buttons lie over the right end, so compare its edge.
    EXPECT_TRUE(samePixels(shot, QPoint(0, 0), left.copy(0, 0, 2, 29)));
    EXPECT_TRUE(samePixels(shot, QPoint(276, 0), right.copy(0, 0, 35, 5)));
    // Pictures of the buttons at their places: control box (2, 5), close 288, minimise 266.
    EXPECT_TRUE(samePixels(shot, QPoint(2, 5), frameOfStrip(1)));
    EXPECT_TRUE(samePixels(shot, CloseAt, frameOfStrip(16)));
    EXPECT_TRUE(samePixels(shot, MinAt, frameOfStrip(13)));
    const TitleButtonLayout layout = bar->buttonLayout();
    EXPECT_EQ(layout.captionLeft, 28);
    EXPECT_EQ(layout.captionRight - layout.captionLeft, 238);
}

TEST(TitleBar, CloseButtonHoverPressAndReleaseCloses)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    const QPoint inside(298, 15);
    QTest::mouseMove(bar, inside);
    EXPECT_EQ(bar->HotButton(), CloseIndex);
    EXPECT_TRUE(samePixels(grabImage(bar), CloseAt, frameOfStrip(17)));
    // Edges included: the far corner still counts.
    QTest::mouseMove(bar, QPoint(309, 26));
    EXPECT_TRUE(samePixels(grabImage(bar), CloseAt, frameOfStrip(17)));

    QTest::mousePress(bar, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(bar->Pressed());
    EXPECT_TRUE(samePixels(grabImage(bar), CloseAt, frameOfStrip(18)));
    EXPECT_EQ(c.host->closeQueries, 0);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, inside);
    EXPECT_EQ(c.host->closeQueries, 1);
    EXPECT_FALSE(c.host->isVisible());
}

TEST(TitleBar, PressMoveOffAndReleaseElsewhereDoesNothing)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    const QPoint onMin(270, 10);
    QTest::mousePress(bar, Qt::LeftButton, {}, onMin);
    EXPECT_TRUE(samePixels(grabImage(bar), MinAt, frameOfStrip(15)));
    QTest::mouseMove(bar, QPoint(150, 15));
    EXPECT_TRUE(samePixels(grabImage(bar), MinAt, frameOfStrip(13)));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_FALSE(c.host->isMinimized());
    EXPECT_TRUE(c.host->isVisible());
    EXPECT_FALSE(bar->Pressed());

    // Back onto it before releasing: pressed picture again, and the release minimises.
    QTest::mousePress(bar, Qt::LeftButton, {}, onMin);
    QTest::mouseMove(bar, QPoint(150, 15));
    QTest::mouseMove(bar, onMin);
    EXPECT_TRUE(samePixels(grabImage(bar), MinAt, frameOfStrip(15)));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, onMin);
    EXPECT_TRUE(c.host->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(c.host->closeQueries, 0);
}

TEST(TitleBar, CaptionPressStartsAMoveAndLeavesNothingPressed)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    const QPoint before = c.host->pos();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_FALSE(bar->Pressed());
    // The platform may move the window itself; otherwise the bar follows the mouse.
    QTest::mouseMove(bar, QPoint(170, 25));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(170, 25));
    EXPECT_FALSE(bar->Pressed());
    EXPECT_EQ(bar->HotButton(), -1);
    if (c.host->pos() != before) {
        EXPECT_EQ(c.host->pos() - before, QPoint(20, 10));
    }
    EXPECT_EQ(c.host->closeQueries, 0);
}

TEST(TitleBar, ControlBoxOpensTheWindowMenuBelowTheBar)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, 12));
    TsuiTitleBarPopupMenu *menu = bar->windowMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    EXPECT_EQ(menu->pos(), bar->mapToGlobal(QPoint(0, 29)));
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Mi&nimize"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Ma&ximize/Restore"));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), QStringLiteral("&Close"));
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_TRUE(items[3]->isEnabled());
    // Drawn by the skinned menu code: 21-pixel items, a 5-pixel separator.
    EXPECT_EQ(menu->actionGeometry(items[0]).height(), 21);
    EXPECT_EQ(menu->actionGeometry(items[2]).height(), 5);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::WinXP);
    items[3]->trigger();
    EXPECT_EQ(c.host->closeQueries, 1);
    menu->hide();
}

TEST(TitleBar, DoubleClicksWithoutMaximiseButton)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_FALSE(c.host->isMaximized());
    EXPECT_EQ(c.host->closeQueries, 0);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(10, 12));
    bar->windowMenu()->hide();
    EXPECT_EQ(c.host->closeQueries, 1);
}

TEST(TitleBar, LongCaptionEndsInDotsAndStaysLeftOfTheButtons)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    c.frame->setCaption(QStringLiteral("Vocafetch — a caption far too long for this title bar"));
    const QString shown = bar->shownCaption();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
    EXPECT_LE(QFontMetrics(bar->font()).horizontalAdvance(shown), 238);
    EXPECT_EQ(c.host->windowTitle(), c.frame->Caption());
    // The minimise button's picture is untouched by the caption.
    EXPECT_TRUE(samePixels(grabImage(bar), MinAt, frameOfStrip(13)));
    c.frame->setCaption(QStringLiteral("Vocafetch"));
    EXPECT_EQ(bar->shownCaption(), QStringLiteral("Vocafetch"));
}

TEST(TitleBar, CaptionColourFollowsActivation)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    auto whitePixels = [&]() {
        const QImage shot = grabImage(bar);
        int count = 0;
        for (int y = 5; y < 26; ++y)
            for (int x = 28; x < 100; ++x)
                count += shot.pixel(x, y) == qRgb(255, 255, 255);
        return count;
    };
    EXPECT_TRUE(bar->FormActive());
    EXPECT_GT(whitePixels(), 10);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(bar->FormActive());
    EXPECT_EQ(whitePixels(), 0);
    c.host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(c.host.get()));
    EXPECT_TRUE(bar->FormActive());
    EXPECT_GT(whitePixels(), 10);
}

TEST(TitleBar, WindowRegionFollowsRoundCorner)
{
    MainWindowChrome c = makeMainWindowChrome();
    const QRegion mask = c.host->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(316, 0)));
    EXPECT_TRUE(mask.contains(QPoint(6, 6)));
    EXPECT_TRUE(mask.contains(QPoint(0, 271)));
    EXPECT_TRUE(mask.contains(QPoint(316, 271)));
    c.frame->setRoundCorner(0);
    EXPECT_EQ(c.host->mask(), QRegion(0, 0, 317, 272));
    c.frame->setRoundCorner(13);
    EXPECT_FALSE(c.host->mask().contains(QPoint(0, 0)));
}

TEST(TitleBar, CustomKeepsPicturesAcrossStyleChanges)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    const QImage closePicture = bar->Buttons().item(CloseIndex)->PicNormal();
    bar->setCustom(true);
    bar->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(bar->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ(bar->Buttons().item(CloseIndex)->PicNormal(), closePicture);
    EXPECT_EQ(bar->Sections().count(), 3);
    EXPECT_EQ(bar->Sections().item(0)->Width(), 35);
    bar->setCustom(false);
    bar->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(bar->Buttons().item(CloseIndex)->PicNormal().size(), QSize(17, 17));
    EXPECT_EQ(bar->Sections().item(0)->Width(), 48);
    EXPECT_EQ(bar->FontColor(), QColor(Qt::black));
}

TEST(TitleBar, DrawAppIconMovesTheCaption)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    bar->setDrawAppIcon(true);
    EXPECT_EQ(bar->buttonLayout().captionLeft, 23);
    const QImage shot = grabImage(bar);
    const QImage icon = SkinProgramIcon().pixmap(16, 16).toImage();
    // An opaque pixel of the icon shows at x + 3.
    bool found = false;
    for (int y = 0; y < 16 && !found; ++y) {
        for (int x = 0; x < 16 && !found; ++x) {
            if (qAlpha(icon.pixel(x, y)) == 255) {
                EXPECT_EQ(shot.pixel(5 + x, 5 + y), icon.pixel(x, y) | 0xFF000000);
                found = true;
            }
        }
    }
    EXPECT_TRUE(found);
}

TEST(TitleBar, SecondControlBoxAndSecondClientSectionAreRefused)
{
    MessageCatcher catcher;
    MainWindowChrome c = makeMainWindowChrome(false);
    TsuiTitleBar *bar = c.bar();
    bar->Buttons().item(CloseIndex)->setButtonType(TsuiTitleBarBtnType::suiControlBox);
    EXPECT_EQ(bar->Buttons().item(CloseIndex)->ButtonType(), TsuiTitleBarBtnType::suiClose);
    bar->Sections().item(0)->setAlign(TsuiTitleBarAlign::suiClient);
    EXPECT_EQ(bar->Sections().item(0)->Align(), TsuiTitleBarAlign::suiLeft);
    EXPECT_EQ(catcher.messages,
              QStringList({QStringLiteral("Sorry, only one button's ButtonType property can be "
                                          "\"suiControlBox\""),
                           QStringLiteral("Sorry, only one section's Align property can be "
                                          "\"suiClient\"")}));
}

TEST(TitleBar, CustomButtonReportsItsIndex)
{
    MainWindowChrome c = makeMainWindowChrome();
    TsuiTitleBar *bar = c.bar();
    addPlainButton(bar, TsuiTitleBarBtnType::suiCustom);
    QSignalSpy clicks(bar, &TsuiTitleBar::OnCustomBtnsClick);
    // Left of the minimise button: 266 - 15 - 1.
    EXPECT_EQ(bar->buttonLayout().rects[3], QRect(250, 7, 15, 15));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(255, 12));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][1].toInt(), 3);
    EXPECT_EQ(c.host->closeQueries, 0);
}
