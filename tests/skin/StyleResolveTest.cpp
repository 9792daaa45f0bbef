// Choosing theme or built-in table, the initial style of new controls, the style properties by
// name and painting the parent's background behind a control.
#include "skin/style/StyleResolve.h"
#include "SkinTestControls.h"
#include "skin/controls/PaintParentBackground.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleProperties.h"
#include "skin/style/TsuiFileTheme.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

using namespace vocafetch;

using skintest::PlainControl;
using skintest::TsuiFakeControl;
using skintest::TsuiForm;
using S = TsuiUIStyle;

namespace {

// A theme file with one colour, loaded into theme.
bool loadTheme(TsuiFileTheme &theme, const QTemporaryDir &dir)
{
    QFile f(dir.filePath(QStringLiteral("t.theme")));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("[Integers]\nFormBorderColor=255\nFormBorderWidthInt=7\n");
    f.close();
    return theme.loadThemeFile(f.fileName());
}

class ColourWidget : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    // Left half red, right half blue, so the offset of the rendering can be checked.
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(0, 0, width() / 2, height(), Qt::red);
        p.fillRect(width() / 2, 0, width() - width() / 2, height(), Qt::blue);
    }
};

// A control with a transparent look, painting through an off-screen image as skinned controls do.
class SeeThroughControl : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage offscreen(size(), QImage::Format_RGB32);
        offscreen.fill(Qt::white);
        QPainter buffer(&offscreen);
        PaintParentBackground(&buffer, this);
        buffer.fillRect(0, 0, 2, 2, Qt::green); // its own marker in the top-left corner
        buffer.end();
        QPainter(this).drawImage(0, 0, offscreen);
    }
};

} // namespace

TEST(ResolveStyle, TheThreeCases)
{
    QTemporaryDir dir;
    TsuiFileTheme loaded;
    ASSERT_TRUE(loadTheme(loaded, dir));
    TsuiFileTheme unloaded;

    StyleSource src = ResolveStyle(S::WinXP, &loaded);
    EXPECT_FALSE(src.fromTheme);
    EXPECT_EQ(src.style, S::WinXP);

    src = ResolveStyle(S::FromThemeFile, &loaded);
    EXPECT_TRUE(src.fromTheme);
    EXPECT_EQ(src.theme, &loaded);

    const TsuiFileTheme *none = nullptr;
    for (const TsuiFileTheme *t : {none, static_cast<const TsuiFileTheme *>(&unloaded)}) {
        src = ResolveStyle(S::FromThemeFile, t);
        EXPECT_FALSE(src.fromTheme);
        EXPECT_EQ(src.style, S::DeepBlue);
    }
}

TEST(ResolveStyle, ResolvedReadsFollowTheChosenSource)
{
    QTemporaryDir dir;
    TsuiFileTheme theme;
    ASSERT_TRUE(loadTheme(theme, dir));
    EXPECT_EQ(ResolvedColor(S::FromThemeFile, &theme, 16), 255u);
    EXPECT_EQ(ResolvedInt(S::FromThemeFile, &theme, 17), 7);
    EXPECT_EQ(ResolvedInt(S::FromThemeFile, &theme, 9), -1); // missing from the file
    EXPECT_EQ(ResolvedColor(S::WinXP, &theme, 16), 13118464u);
    EXPECT_EQ(ResolvedInt(S::FromThemeFile, nullptr, 17), 1); // DeepBlue
    QImage frame;
    ResolvedBitmap(S::WinXP, &theme, 5, &frame, 18, 16);
    EXPECT_EQ(frame.size(), QSize(21, 21));
    ResolvedBitmap(S::FromThemeFile, &theme, 5, &frame, 18, 16); // no bitmap in the theme
    EXPECT_TRUE(frame.isNull());
}

TEST(OwnerFormStyle, TakesTheStyleOfTheFormsFrame)
{
    QWidget form;
    TsuiForm frame(&form);
    frame.setUIStyle(S::WinXP);
    EXPECT_EQ(OwnerFormStyle(&form), S::WinXP);
}

TEST(OwnerFormStyle, FallsBackToDeepBlue)
{
    EXPECT_EQ(OwnerFormStyle(nullptr), S::DeepBlue);

    QWidget bare;
    TsuiFakeControl notAFrame(&bare);
    notAFrame.setUIStyle(S::MacOS);
    EXPECT_EQ(OwnerFormStyle(&bare), S::DeepBlue);

    // The frame itself owns the title bar: not a form, so DeepBlue.
    QWidget form;
    TsuiForm frame(&form);
    frame.setUIStyle(S::Protein);
    EXPECT_EQ(OwnerFormStyle(&frame), S::DeepBlue);

    // Only direct children of the form count.
    QWidget other;
    QWidget panel(&other);
    TsuiForm nested(&panel);
    nested.setUIStyle(S::Protein);
    EXPECT_EQ(OwnerFormStyle(&other), S::DeepBlue);

    QObject plainObject;
    EXPECT_EQ(OwnerFormStyle(&plainObject), S::DeepBlue);
}

TEST(StyleProperties, ReadAndWriteByName)
{
    TsuiFakeControl control;
    TsuiFileTheme theme;
    EXPECT_TRUE(HasStyleProperties(&control));
    EXPECT_TRUE(WriteUIStyleProperty(&control, S::BlueGlass));
    EXPECT_EQ(control.UIStyle(), S::BlueGlass);
    EXPECT_EQ(ReadUIStyleProperty(&control), S::BlueGlass);
    EXPECT_TRUE(WriteFileThemeProperty(&control, &theme));
    EXPECT_EQ(control.FileTheme(), &theme);
    EXPECT_EQ(ReadFileThemeProperty(&control), &theme);
    EXPECT_TRUE(IsClassNamed(&control, "TsuiFakeControl"));
    EXPECT_TRUE(IsClassNamed(&control, "QWidget"));

    QWidget plain;
    EXPECT_FALSE(HasStyleProperties(&plain));
    EXPECT_FALSE(ReadUIStyleProperty(&plain).has_value());
    EXPECT_FALSE(WriteUIStyleProperty(&plain, S::WinXP));
    EXPECT_EQ(ReadFileThemeProperty(&plain), nullptr);
}

TEST(PaintParentBackground, DrawsTheParentBehindTheControl)
{
    ColourWidget parent;
    parent.resize(100, 40);
    QWidget control(&parent);
    control.setGeometry(40, 10, 20, 20); // straddles the red/blue boundary at x = 50

    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setPen(Qt::green);
    PaintParentBackground(&p, &control);
    EXPECT_EQ(p.pen().color(), QColor(Qt::green)); // painter state restored
    p.end();
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(9, 19), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(10, 0), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(19, 19), QColor(Qt::blue));
}

TEST(PaintParentBackground, NothingWithoutAParent)
{
    QWidget control;
    control.resize(10, 10);
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    PaintParentBackground(&p, &control);
    PaintParentBackground(&p, nullptr);
    p.end();
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(Qt::white));
}

TEST(PaintParentBackground, WorksWhileTheWholeWindowIsBeingPainted)
{
    ColourWidget parent;
    parent.resize(100, 40);
    SeeThroughControl control(&parent);
    control.setGeometry(40, 10, 20, 20);
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(40, 10), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(45, 25), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(55, 25), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));
}
