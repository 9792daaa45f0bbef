#pragma once
// A window dressed like the program's main window: a 317 x 272 fixed host with the skinned
// frame in WinXP, its title bar with control box, close and minimise, and a main menu with the
// "Файл" and "Справка" menus.

#include "skin/chrome/TsuiForm.h"
#include "skin/chrome/TsuiFormMenuBar.h"
#include "skin/chrome/TsuiMainMenu.h"
#include "skin/chrome/TsuiTitleBar.h"
#include "skin/style/StyleLookup.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace chrome_test {

// Counts the close queries the window gets.
class CountingHost : public QWidget
{
public:
    int closeQueries = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeQueries;
        event->accept();
    }
};

struct MainWindowChrome
{
    std::unique_ptr<CountingHost> host;
    TsuiForm *frame = nullptr;
    TsuiMainMenu *menu = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *open = nullptr;
    QAction *saveAll = nullptr;
    QAction *phone = nullptr;
    QAction *exit = nullptr;
    QAction *about = nullptr;

    TsuiTitleBar *bar() const { return frame->TitleBar(); }
};

inline QIcon solidIcon(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// The frame's values arrive as the window description gives them: sizes first (in the
// frame's initial style), then the style, then the explicit border width.
inline MainWindowChrome makeMainWindowChrome(bool show = true)
{
    MainWindowChrome c;
    c.host = std::make_unique<CountingHost>();
    c.host->setWindowTitle(QStringLiteral("Vocafetch"));
    c.host->setFixedSize(317, 272);
    c.frame = new TsuiForm(c.host.get());
    c.frame->setFrameWidth(311);
    c.frame->setFrameHeight(269);
    c.frame->setUIStyle(TsuiUIStyle::WinXP);
    c.frame->setBorderWidth(3);
    // Control box, close and minimise.
    TsuiTitleBarButtons &buttons = c.frame->TitleBar()->Buttons();
    for (int i = buttons.count() - 1; i >= 0; --i) {
        if (buttons.item(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
            buttons.removeAt(i);
    }
    c.menu = new TsuiMainMenu(c.host.get());
    c.fileMenu = c.menu->addMenu(QStringLiteral("Файл"));
    c.open = c.fileMenu->addAction(solidIcon(Qt::red), QStringLiteral("&Открыть"));
    c.open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    c.saveAll = c.fileMenu->addAction(solidIcon(Qt::green), QStringLiteral("Со&хранить все"));
    c.saveAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    c.phone = c.fileMenu->addAction(solidIcon(Qt::blue), QStringLiteral("Считать с телефона"));
    c.phone->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    c.fileMenu->addSeparator();
    c.exit = c.fileMenu->addAction(solidIcon(Qt::yellow), QStringLiteral("Вы&ход"));
    c.exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    c.helpMenu = c.menu->addMenu(QStringLiteral("Справка"));
    c.about = c.helpMenu->addAction(solidIcon(Qt::cyan), QStringLiteral("О Программе"));
    c.menu->setImagesAssigned(true);
    c.menu->setFlatMenu(true);
    c.menu->Loaded();
    c.frame->setMenu(c.menu);
    if (show) {
        c.host->show();
        c.host->activateWindow();
        [&]() { ASSERT_TRUE(QTest::qWaitForWindowActive(c.host.get())); }();
    }
    return c;
}

// Adds a button of type to bar with one magenta 15 x 15 picture for all states, at top 7.
inline TsuiTitleBarButton *addPlainButton(TsuiTitleBar *bar, TsuiTitleBarBtnType type)
{
    TsuiTitleBarButton *button = bar->Buttons().add();
    button->setButtonType(type);
    QImage picture(15, 15, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    button->setPicNormal(picture);
    button->setPicMouseOn(picture);
    button->setPicMouseDown(picture);
    button->setTop(7);
    return button;
}

inline QColor bgr(quint32 value)
{
    return vocafetch::BgrToQColor(value);
}

// The pixels of image inside rect equal those of expected (its top-left at rect's).
inline bool samePixels(const QImage &image, const QPoint &at, const QImage &expected)
{
    if (expected.isNull())
        return false;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (image.pixel(at.x() + x, at.y() + y) != expected.pixel(x, y))
                return false;
        }
    }
    return true;
}

inline QImage grabImage(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace chrome_test
