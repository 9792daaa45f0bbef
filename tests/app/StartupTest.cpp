#include "app/Startup.h"
#include "app/AboutBox.h"
#include "app/ImageList.h"
#include "app/Localization.h"
#include "app/MainWindow.h"
#include "skin/chrome/SkinMenuStyle.h"
#include "support/FakeDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

struct AboutBoxShowing
{
    bool modal = false;
    QPoint centre;
    QString caption;
    QSize size;
};

// Opens the About box from the help menu and, while it runs modally, notes what it looks
// like and presses OK. A second timer ends a box that OK failed to close.
AboutBoxShowing showAboutBox(TForm1 &form1, TForm2 &form2)
{
    AboutBoxShowing seen;
    QTimer::singleShot(0, &form2, [&]() {
        seen.modal = QApplication::activeModalWidget() == &form2;
        seen.centre = form2.frameGeometry().center();
        seen.caption = form2.windowTitle();
        seen.size = form2.size();
        QTest::mouseClick(form2.Button1, Qt::LeftButton);
    });
    QTimer::singleShot(5000, &form2, [&]() { form2.reject(); });
    form1.N8->trigger();
    return seen;
}

TEST(StartupTest, TheAboutBoxIsCreatedHiddenAndShownModallyCentredEachTime)
{
    FakeDialogs dialogs;
    const Startup::Windows windows = Startup::createWindows(dialogs);
    ASSERT_TRUE(windows.Form1 && windows.Form2);
    EXPECT_FALSE(windows.Form2->isVisible());
    windows.Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.Form1.get()));

    for (const QPoint where : {QPoint(40, 30), QPoint(200, 150)}) {
        windows.Form1->move(where);
        const AboutBoxShowing seen = showAboutBox(*windows.Form1, *windows.Form2);
        EXPECT_TRUE(seen.modal);
        EXPECT_EQ(seen.caption, "Автор");
        EXPECT_EQ(seen.size, QSize(269, 106));
        const QPoint expected = windows.Form1->frameGeometry().center();
        EXPECT_LE((seen.centre - expected).manhattanLength(), 2)
            << seen.centre.x() << "," << seen.centre.y();
        EXPECT_FALSE(windows.Form2->isVisible());
    }
    EXPECT_EQ(windows.Form2->Label1->text(), "Vocafetch");
    EXPECT_EQ(windows.Form2->Button1->geometry(), QRect(176, 72, 75, 25));
}

TEST(StartupTest, QtsOwnTextsSpeakRussian)
{
    ASSERT_TRUE(Localization::installTranslations(*QCoreApplication::instance(),
                                                  vocafetch::Language::Russian));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
}

TEST(StartupTest, StandInFontsCarryTheWindowsFaceAndCyrillic)
{
    Localization::registerStandInFonts();
    if (!QFontDatabase::hasFamily("MS Sans Serif"))
        GTEST_SKIP() << "no stand-in for MS Sans Serif on this system";
    EXPECT_EQ(QFontInfo(Localization::windowFont()).family(), "MS Sans Serif");
    const QFontMetrics metrics(Localization::windowFont());
    for (const QChar c : QStringLiteral("ЗаписьЖЮЯ"))
        EXPECT_TRUE(metrics.inFont(c)) << c.unicode();
    // Menus, title and buttons share the Tahoma stand-in where the platform has no menu font.
    EXPECT_EQ(QFontInfo(vocafetch::StandInMenuFont()).family(), "Tahoma");
    EXPECT_TRUE(QFontMetrics(vocafetch::StandInMenuFont()).inFont(QChar(0x0416)));
}

// The pictures are drawn by code: each must be a 16 x 16 picture of its own, not a blank.
TEST(StartupTest, ImageListsHoldDistinctVisiblePictures)
{
    const ImageList lists[] = {ImageList::containerIcons(), ImageList::commandIcons()};
    EXPECT_EQ(lists[0].count(), 2);
    EXPECT_EQ(lists[1].count(), 8);
    QList<QImage> seen;
    for (const ImageList &list : lists) {
        for (int i = 0; i < list.count(); ++i) {
            const QImage image = list.picture(i).toImage();
            EXPECT_EQ(image.size(), QSize(16, 16));
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128;
            EXPECT_GT(opaque, 30) << i;
            EXPECT_FALSE(seen.contains(image)) << i;
            seen << image;
        }
    }
}

} // namespace
