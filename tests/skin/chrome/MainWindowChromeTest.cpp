// The main window's skinned frame, title bar, menu bar and menus, checked on its pixels.
#include "app/MainWindow.h"
#include "skin/chrome/TsuiFormMenuBar.h"
#include "skin/style/StyleLookup.h"
#include "support/FakeDialogs.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace vocafetch;

namespace {

QImage titleFrame(int frame)
{
    QImage image;
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::TitleBarButtonImage, &image, 18, frame);
    return image;
}

bool samePixels(const QImage &image, const QPoint &at, const QImage &expected)
{
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (image.pixel(at.x() + x, at.y() + y) != expected.pixel(x, y))
                return false;
    return !expected.isNull();
}

QImage shot(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class MainWindowChromeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<TForm1>(dialogs);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

} // namespace

TEST_F(MainWindowChromeTest, FrameBorderAndShape)
{
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->size(), QSize(317, 272));
    EXPECT_EQ(window->suiForm1->geometry(), QRect(3, 0, 311, 269));
    const QColor border = BgrToQColor(13118464);
    const QImage image = shot(window.get());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.pixelColor(i, 150), border);
        EXPECT_EQ(image.pixelColor(316 - i, 150), border);
        EXPECT_EQ(image.pixelColor(150, 271 - i), border);
    }
    EXPECT_NE(image.pixelColor(3, 150), border);
    const QRegion mask = window->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(316, 0)));
    EXPECT_TRUE(mask.contains(QPoint(6, 1)));
    EXPECT_TRUE(mask.contains(QPoint(0, 271)));
    EXPECT_TRUE(mask.contains(QPoint(316, 271)));
}

TEST_F(MainWindowChromeTest, TitleBarPicturesAndCaption)
{
    TsuiTitleBar *bar = window->suiForm1->TitleBar();
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 311, 29));
    EXPECT_EQ(bar->Caption(), QStringLiteral("Vocafetch"));
    ASSERT_EQ(bar->Buttons().count(), 3);
    EXPECT_EQ(bar->Buttons().item(0)->ButtonType(), TsuiTitleBarBtnType::suiControlBox);
    EXPECT_EQ(bar->Buttons().item(1)->ButtonType(), TsuiTitleBarBtnType::suiClose);
    EXPECT_EQ(bar->Buttons().item(2)->ButtonType(), TsuiTitleBarBtnType::suiMin);
    const QImage image = shot(bar);
    EXPECT_TRUE(samePixels(image, QPoint(2, 5), titleFrame(1)));
    EXPECT_TRUE(samePixels(image, QPoint(288, 5), titleFrame(16)));
    EXPECT_TRUE(samePixels(image, QPoint(266, 5), titleFrame(13)));
    EXPECT_EQ(bar->buttonLayout().captionLeft, 28);
    EXPECT_EQ(bar->buttonLayout().captionRight, 266);
    EXPECT_EQ(bar->font().family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(bar->font().bold());
    // White caption text after x 28.
    int white = 0;
    for (int y = 5; y < 26; ++y)
        for (int x = 28; x < 100; ++x)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 10);
}

TEST_F(MainWindowChromeTest, CloseButtonRunsTheCloseQuery)
{
    TsuiTitleBar *bar = window->suiForm1->TitleBar();
    QTest::mouseMove(bar, QPoint(298, 15));
    EXPECT_TRUE(samePixels(shot(bar), QPoint(288, 5), titleFrame(17)));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(298, 15));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowChromeTest, MenuBarAndFileMenu)
{
    TsuiFormMenuBar *menuBar = window->suiForm1->MenuBar();
    ASSERT_NE(menuBar, nullptr);
    EXPECT_EQ(menuBar->geometry(), QRect(0, 29, 311, 22));
    const QList<TsuiMenuBarButton *> buttons = menuBar->buttons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Файл"));
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Справка"));

    QTest::mousePress(buttons[0], Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->N1));
    EXPECT_EQ(window->N1->actionGeometry(window->N2).height(), 21);
    EXPECT_EQ(window->N1->actionGeometry(window->N3).height(), 5);
    const QImage menu = shot(window->N1);
    const QRect open = window->N1->actionGeometry(window->N2);
    // The image bar left of the item, white right of it, the flat border around the menu.
    EXPECT_EQ(menu.pixelColor(open.left() + 1, open.top() + 1), BgrToQColor(13554646));
    EXPECT_EQ(menu.pixelColor(open.left() + 26, open.top() + 1), QColor(Qt::white));
    EXPECT_EQ(menu.pixelColor(0, 1), QColor(Qt::black));
    // The separator line at T + 2.
    const QRect separator = window->N1->actionGeometry(window->N3);
    EXPECT_EQ(menu.pixelColor(separator.left() + 40, separator.top() + 2), BgrToQColor(8684164));
    window->N1->hide();
}

TEST_F(MainWindowChromeTest, ShortcutsReachTheMenuThroughTheFramelessWindow)
{
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].mode, FileDialogRequest::Mode::Open);
}

TEST_F(MainWindowChromeTest, PopupMenuDrawsItsDisabledItemGrey)
{
    QWidget *viewport = window->AMRFiles->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            viewport->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(viewport, &event);
    TsuiPopupMenu *popup = window->suiPopupMenu1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_FALSE(window->N5->isEnabled());
    EXPECT_EQ(popup->UIStyle(), TsuiUIStyle::WinXP);
    EXPECT_EQ(popup->actionGeometry(window->N5).height(), 21);
    popup->setActiveAction(window->N5);
    const QImage image = shot(popup);
    const QRect save = popup->actionGeometry(window->N5);
    // Selected but disabled: no selection box, the bar and the white background.
    EXPECT_EQ(image.pixelColor(save.left(), save.top() + 1), BgrToQColor(13554646));
    EXPECT_EQ(image.pixelColor(save.right() - 2, save.top() + 1), QColor(Qt::white));
    popup->hide();
}
