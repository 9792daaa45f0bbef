// Owner-drawn menu items: measuring, the item pictures on an image, the flat border, and real
// skinned menus laid out and painted by Qt through the skin's proxy style.
#include "ChromeTestHost.h"
#include "skin/chrome/SkinMenuStyle.h"
#include "skin/chrome/TsuiPopupMenu.h"

#include <QFontMetrics>
#include <QPainter>

using namespace vocafetch;

using namespace chrome_test;

namespace {

const QColor BarColor = BgrToQColor(13554646);
const QColor SelectedColor = BgrToQColor(15717318);
const QColor SelectedBorder = BgrToQColor(13003057);
const QColor SeparatorColor = BgrToQColor(8684164);

// Without antialiasing, so text pixels have exactly the text colour.
SkinMenuLook winXpLook()
{
    TsuiPopupMenu menu;
    menu.setUIStyle(TsuiUIStyle::WinXP);
    SkinMenuLook look = menu.look();
    look.font.setStyleStrategy(QFont::NoAntialias);
    return look;
}

SkinMenuItem menuItem(const QString &caption, const QString &shortcut = QString())
{
    SkinMenuItem item;
    item.caption = caption;
    item.shortcut = shortcut;
    return item;
}

// Draws item into a 200 x 21 (or given height) image at (0, 0) on a grey background.
QImage drawItem(const SkinMenuItem &item, bool selected, const SkinMenuLook &look, int height = 21)
{
    QImage image(200, height, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QPainter p(&image);
    DrawSkinnedMenuItem(&p, image.rect(), item, selected, look);
    return image;
}

bool columnHasColour(const QImage &image, int x0, int x1, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

} // namespace

TEST(MenuMeasure, CaptionShortcutBarAndFortyPixels)
{
    const SkinMenuLook look = winXpLook();
    const QFontMetrics metrics(look.font);
    SkinMenuItem open = menuItem(QStringLiteral("&Открыть"), QStringLiteral("Ctrl+O"));
    QSize size = MeasureSkinnedMenuItem(open, metrics, look);
    EXPECT_EQ(size.height(), 21);
    EXPECT_EQ(size.width(), metrics.horizontalAdvance(QStringLiteral("&Открыть")) +
                                metrics.horizontalAdvance(QStringLiteral("Ctrl+O")) + 26 + 40);
    SkinMenuItem about = menuItem(QStringLiteral("О Программе"));
    EXPECT_EQ(MeasureSkinnedMenuItem(about, metrics, look).width(),
              metrics.horizontalAdvance(QStringLiteral("О Программе")) + 66);
    EXPECT_EQ(MeasureSkinnedMenuItem(menuItem(QStringLiteral("-")), metrics, look).height(), 5);
    EXPECT_EQ(MeasureSkinnedMenuItem(menuItem(QStringLiteral("--")), metrics, look).height(), 21);
    EXPECT_EQ(MeasureSkinnedMenuItem(menuItem(QStringLiteral(" -")), metrics, look).height(), 21);
}

TEST(MenuDraw, SeparatorBarBackgroundAndLine)
{
    const SkinMenuLook look = winXpLook();
    const QImage image = drawItem(menuItem(QStringLiteral("-")), true, look, 5);
    EXPECT_EQ(image.pixelColor(0, 0), BarColor);
    EXPECT_EQ(image.pixelColor(25, 4), BarColor);
    EXPECT_EQ(image.pixelColor(26, 0), QColor(Qt::white));
    // The line at T + 2 from L + BarWidth + 4 to R - 2 (exclusive).
    EXPECT_EQ(image.pixelColor(29, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 2), SeparatorColor);
    EXPECT_EQ(image.pixelColor(197, 2), SeparatorColor);
    EXPECT_EQ(image.pixelColor(198, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(100, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(100, 3), QColor(Qt::white));
}

TEST(MenuDraw, SelectionBoxAndDisabledGrey)
{
    const SkinMenuLook look = winXpLook();
    SkinMenuItem item = menuItem(QStringLiteral("&Открыть"), QStringLiteral("Ctrl+O"));
    QImage selected = drawItem(item, true, look);
    EXPECT_EQ(selected.pixelColor(0, 0), SelectedBorder);
    EXPECT_EQ(selected.pixelColor(199, 20), SelectedBorder);
    EXPECT_EQ(selected.pixelColor(1, 1), SelectedColor);
    EXPECT_EQ(selected.pixelColor(198, 19), SelectedColor);

    item.enabled = false;
    // Disabled: never a selection box, grey text.
    const QImage disabled = drawItem(item, true, look);
    EXPECT_EQ(disabled.pixelColor(0, 0), BarColor);
    EXPECT_EQ(disabled.pixelColor(150, 1), QColor(Qt::white));
    EXPECT_TRUE(columnHasColour(disabled, 30, 120, SkinMenuDisabledTextColor()));
    EXPECT_EQ(disabled, drawItem(item, false, look));
}

TEST(MenuDraw, CaptionAndShortcutPlaces)
{
    const SkinMenuLook look = winXpLook();
    const QFontMetrics metrics(look.font);
    SkinMenuItem item = menuItem(QStringLiteral("W"), QStringLiteral("Ctrl+O"));
    const QImage image = drawItem(item, false, look);
    // Caption from L + BarWidth + 4, nothing of it before.
    EXPECT_FALSE(columnHasColour(image, 26, 30, Qt::black));
    EXPECT_TRUE(
        columnHasColour(image, 30, 30 + metrics.horizontalAdvance(QStringLiteral("W")), Qt::black));
    // Shortcut ends 16 pixels before the right edge.
    const int shortcutLeft = 200 - metrics.horizontalAdvance(QStringLiteral("Ctrl+O")) - 16;
    EXPECT_TRUE(columnHasColour(image, shortcutLeft, 184, Qt::black));
    EXPECT_FALSE(columnHasColour(image, 185, 200, Qt::black));
    EXPECT_FALSE(columnHasColour(image, 60, shortcutLeft - 1, Qt::black));
    // Without a shortcut, nothing on the right.
    const QImage plain = drawItem(menuItem(QStringLiteral("W")), false, look);
    EXPECT_FALSE(columnHasColour(plain, 60, 200, Qt::black));
    // Rows above T + 4 stay clear of text.
    for (int x = 26; x < 200; ++x)
        EXPECT_EQ(image.pixelColor(x, 3), QColor(Qt::white));
}

TEST(MenuDraw, CheckedItemsWithAndWithoutImage)
{
    const SkinMenuLook look = winXpLook();
    SkinMenuItem item = menuItem(QStringLiteral("Item"));
    item.checked = true;
    item.image = solidIcon(Qt::red);
    const QImage boxed = drawItem(item, false, look);
    // Black frame on (L+2, T+1) .. (L+20, T+19), SelectedColor inside, the image at (L+4, T+3).
    EXPECT_EQ(boxed.pixelColor(2, 1), QColor(Qt::black));
    EXPECT_EQ(boxed.pixelColor(20, 19), QColor(Qt::black));
    EXPECT_EQ(boxed.pixelColor(3, 2), SelectedColor);
    EXPECT_EQ(boxed.pixelColor(19, 2), SelectedColor);
    EXPECT_EQ(boxed.pixelColor(3, 18), SelectedColor);
    EXPECT_EQ(boxed.pixelColor(19, 18), QColor(Qt::red));
    EXPECT_EQ(boxed.pixelColor(4, 3), QColor(Qt::red));
    EXPECT_EQ(boxed.pixelColor(19, 3), QColor(Qt::red));
    EXPECT_EQ(boxed.pixelColor(1, 1), BarColor);

    item.image = QIcon();
    const QImage marked = drawItem(item, false, look);
    EXPECT_EQ(marked.pixelColor(2, 1), BarColor);
    QImage mark = look.checkMark;
    ASSERT_FALSE(mark.isNull());
    // The check mark's non-white pixels at (L+4, T+3); its white shows the bar.
    for (int y = 0; y < mark.height(); ++y) {
        for (int x = 0; x < mark.width(); ++x) {
            const QColor m = mark.pixelColor(x, y);
            EXPECT_EQ(marked.pixelColor(4 + x, 3 + y).rgb(),
                      m == QColor(Qt::white) ? BarColor.rgb() : m.rgb());
        }
    }
}

TEST(MenuDraw, NoBarWhenBarWidthIsZero)
{
    SkinMenuLook look = winXpLook();
    look.barWidth = 0;
    const QImage image = drawItem(menuItem(QStringLiteral("W")), false, look);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_TRUE(columnHasColour(image, 4, 14, Qt::black));
    EXPECT_FALSE(columnHasColour(image, 0, 4, Qt::black));
}

TEST(MenuDraw, FlatBorderLines)
{
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    const QColor line = BgrToQColor(14609391);
    {
        QPainter p(&image);
        DrawFlatMenuBorder(&p, image.rect(), line);
    }
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 38), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(48, 20), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(20, 38), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(47, 20), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(20, 37), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(20, 39), line); // bottom
    EXPECT_EQ(image.pixelColor(0, 39), line);
    EXPECT_EQ(image.pixelColor(49, 0), line); // right column, top to bottom
    EXPECT_EQ(image.pixelColor(49, 39), line);
    EXPECT_EQ(image.pixelColor(1, 0), line); // top row stops short of the left column
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::darkGray));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::darkGray));
}

TEST(MenuStyle, StyleSwitchesAndIgnoredWrites)
{
    TsuiPopupMenu menu;
    EXPECT_EQ(menu.UIStyle(), TsuiUIStyle::DeepBlue);
    menu.setUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    EXPECT_EQ(menu.SeparatorHeight(), 5);
    EXPECT_EQ(menu.BarWidth(), 26);
    EXPECT_EQ(menu.BarColor(), 13554646u);
    EXPECT_EQ(menu.Color(), 16777215u);
    EXPECT_EQ(menu.SeparatorColor(), 8684164u);
    EXPECT_EQ(menu.SelectedBorderColor(), 13003057u);
    EXPECT_EQ(menu.SelectedColor(), 15717318u);
    EXPECT_EQ(menu.SelectedFontColor(), 0u);
    menu.setOwnerDraw(false);
    EXPECT_TRUE(menu.OwnerDraw());

    menu.setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    EXPECT_EQ(menu.SeparatorColor(), 0u);
    menu.setMenuItemHeight(30);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    menu.setBarWidth(5);
    menu.setUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    EXPECT_EQ(menu.BarWidth(), 26);
    menu.setMenuItemHeight(30);
    EXPECT_EQ(menu.MenuItemHeight(), 30);
}

TEST(MenuStyle, ThemeRemovalFallsBackToDeepBlue)
{
    TsuiPopupMenu menu;
    menu.setUIStyle(TsuiUIStyle::FromThemeFile);
    auto *theme = new TsuiFileTheme;
    menu.setFileTheme(theme);
    // An unloaded theme answers nothing: DeepBlue's colours.
    EXPECT_EQ(menu.SelectedColor(), StyleColor(TsuiUIStyle::DeepBlue, 19));
    delete theme;
    EXPECT_EQ(menu.FileTheme(), nullptr);
    EXPECT_EQ(menu.UIStyle(), TsuiUIStyle::DeepBlue);
}

TEST(MenuStyle, RealPopupMenuIsLaidOutAndPaintedSkinned)
{
    QWidget owner;
    TsuiPopupMenu menu(&owner);
    menu.setUIStyle(TsuiUIStyle::WinXP);
    menu.setImagesAssigned(true);
    menu.setFlatMenu(true);
    QAction *save = menu.addAction(solidIcon(Qt::red), QStringLiteral("Сохранить"));
    menu.addSeparator();
    QAction *all = menu.addAction(solidIcon(Qt::blue), QStringLiteral("Сохранить все"));
    all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setEnabled(false);
    menu.AttachItemHandlers(&menu);
    menu.Popup(100, 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QRect saveRect = menu.actionGeometry(save);
    EXPECT_EQ(saveRect.height(), 21);
    EXPECT_EQ(menu.actionGeometry(menu.actions()[1]).height(), 5);
    EXPECT_EQ(saveRect.topLeft(), QPoint(3, 3));
    // The menu is as wide as its widest item, shortcut included, plus the frame.
    const QFontMetrics metrics(menu.font());
    const int widest = metrics.horizontalAdvance(QStringLiteral("Сохранить все")) +
                       metrics.horizontalAdvance(QStringLiteral("Ctrl+S")) + 66;
    EXPECT_EQ(saveRect.width(), widest);
    EXPECT_EQ(menu.width(), widest + 6);

    const QImage shot = grabImage(&menu);
    EXPECT_EQ(shot.pixelColor(saveRect.left(), saveRect.top() + 10), BarColor);
    EXPECT_EQ(shot.pixelColor(saveRect.left() + 100, saveRect.top() + 1), QColor(Qt::white));
    // The disabled caption is drawn (grey, whatever the smoothing of the font).
    bool ink = false;
    for (int y = saveRect.top() + 4; y < saveRect.bottom(); ++y)
        for (int x = saveRect.left() + 30; x < saveRect.left() + 90; ++x)
            ink |= shot.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(ink);
    // Flat border: black one pixel in from the top, line colour along the top row.
    EXPECT_EQ(shot.pixelColor(0, 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(5, 0), BgrToQColor(14609391));
    EXPECT_EQ(shot.pixelColor(menu.width() - 1, 10), BgrToQColor(14609391));

    // Hovering the enabled item shows the selection box.
    const QRect allRect = menu.actionGeometry(all);
    menu.setActiveAction(all);
    const QImage hot = grabImage(&menu);
    EXPECT_EQ(hot.pixelColor(allRect.topLeft()), SelectedBorder);
    EXPECT_EQ(hot.pixelColor(allRect.center()), SelectedColor);
    menu.hide();
}

// Where the platform names no menu font, menus are drawn in the stand-in; a menu font the
// platform does name is taken as it is.
TEST(MenuFont, PlatformMenuFontOrTheStandIn)
{
    const QFont general = QApplication::font();
    ASSERT_EQ(QApplication::font("QMenu"), general) << "the test platform names a menu font";
    QFont font;
    ASSERT_TRUE(ApplySystemMenuFont(&font));
    EXPECT_EQ(font, StandInMenuFont());
    EXPECT_EQ(font.family(), "Tahoma");
    EXPECT_EQ(font.pixelSize(), 11);

    // A real menu paints its items in that font.
    TsuiPopupMenu menu;
    menu.setUIStyle(TsuiUIStyle::WinXP);
    QAction *open = menu.addAction(QStringLiteral("Открыть"));
    menu.AttachItemHandlers(&menu);
    menu.Popup(100, 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QRect rect = menu.actionGeometry(open);
    const QImage shot = grabImage(&menu).copy(rect);
    const auto drawnIn = [&](const QFont &itemFont) {
        QImage image(rect.size(), shot.format());
        QPainter p(&image);
        SkinMenuLook look = menu.look();
        look.font = itemFont;
        DrawSkinnedMenuItem(&p, image.rect(), menuItem(open->text()), false, look);
        return image;
    };
    EXPECT_EQ(shot, drawnIn(StandInMenuFont()));
    EXPECT_NE(shot, drawnIn(general));
    menu.close();

    QFont platform(QStringLiteral("Liberation Serif"));
    platform.setPixelSize(17);
    QApplication::setFont(platform, "QMenu");
    ASSERT_TRUE(ApplySystemMenuFont(&font));
    QApplication::setFont(general, "QMenu");
    EXPECT_EQ(font, platform);
}
