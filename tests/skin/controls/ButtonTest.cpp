// Skinned buttons under real mouse and key events, checked on their grabbed pixels.

#include "ControlsTestSupport.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiImageButton.h"
#include "skin/style/StyleLookup.h"

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vocafetch;

using namespace controlstest;

namespace {

const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QPoint FacePixel(70, 12); // inside the stretched centre of the face

// One of the three 18 x 21 frames of the WinXP face.
QImage face(int frame)
{
    QImage f;
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::ButtonImage, &f, 3, frame);
    return f;
}

// A glyph of one colour whose top-left pixel (the transparent key) is white.
QImage glyph(int w, int h, QRgb left, QRgb right)
{
    QImage g(w, h, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            g.setPixel(x, y, x < h ? left : right);
    g.setPixel(0, 0, qRgb(255, 255, 255));
    return g;
}

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = shownHost();
        button = new TsuiButton(host.get());
        button->setUIStyle(TsuiUIStyle::WinXP);
        button->setGeometry(10, 10, 145, 27);
        button->setFont(crispFont());
        button->show();
    }

    // Captions are drawn without anti-aliasing in the palette's black.
    bool isCaption(QRgb p) const { return isRgb(p, 0, 0, 0); }
    QRect captionBox()
    {
        return boundsOf(grabbed(button), [this](QRgb p) { return isCaption(p); });
    }
    QRect redBox()
    {
        return boundsOf(grabbed(button), [](QRgb p) { return p == Red; });
    }
    QPoint centre() const { return button->rect().center(); }

    std::unique_ptr<QWidget> host;
    TsuiButton *button = nullptr;
};

TEST_F(ButtonTest, FaceFollowsNormalHotDownAndDisabled)
{
    const QRgb normal = face(1).pixel(9, 10), hot = face(2).pixel(9, 10),
               down = face(3).pixel(9, 10);
    ASSERT_NE(normal, hot);
    ASSERT_NE(hot, down);
    EXPECT_EQ(grabbed(button).pixel(FacePixel), normal);
    QTest::mouseMove(button, centre());
    EXPECT_TRUE(button->isHot());
    EXPECT_EQ(grabbed(button).pixel(FacePixel), hot);
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(grabbed(button).pixel(FacePixel), down);
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre());
    button->setEnabled(false);
    EXPECT_EQ(grabbed(button).pixel(FacePixel), normal);
}

TEST_F(ButtonTest, GlyphLeftOfTheCaptionAndCaptionTwentyPixelsRight)
{
    button->setCaption(QStringLiteral("Открыть"));
    button->setGlyph(glyph(16, 16, Red, Red));
    const int tw = QFontMetrics(button->font()).size(Qt::TextSingleLine, button->Caption()).width();
    const int gx = (145 - (tw + 20)) / 2;
    // The glyph's top-left pixel is its transparent colour, so red starts one pixel in.
    EXPECT_EQ(redBox(), QRect(gx, 5, 16, 16));
    EXPECT_EQ(button->captionPoint().x(), gx + 20);
    const QRect text = captionBox();
    EXPECT_GE(text.left(), gx + 20);
    EXPECT_LE(text.right(), gx + 20 + tw);
}

TEST_F(ButtonTest, PressingShiftsGlyphAndCaptionOnePixel)
{
    button->setCaption(QStringLiteral("Сохранить"));
    button->setGlyph(glyph(16, 16, Red, Red));
    const QRect glyphUp = redBox(), textUp = captionBox();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(redBox(), glyphUp.translated(1, 1));
    EXPECT_EQ(captionBox(), textUp.translated(1, 1));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));
}

TEST_F(ButtonTest, DisabledCaptionIsGreyOverAWhiteCopyOnePixelRightAndDown)
{
    for (const bool withGlyph : {false, true}) {
        button->setGlyph(withGlyph ? glyph(16, 16, Red, Red) : QImage());
        button->setCaption(QStringLiteral("Считать"));
        button->setEnabled(false);
        const QImage image = grabbed(button);
        const auto grey = [](QRgb p) { return isRgb(p, 128, 128, 128); };
        const auto white = [](QRgb p) { return isRgb(p, 255, 255, 255); };
        const QRect greyBox = boundsOf(image, grey);
        ASSERT_FALSE(greyBox.isEmpty());
        EXPECT_EQ(boundsOf(image, white), greyBox.translated(1, 1)) << withGlyph;
        EXPECT_EQ(countOf(image, [this](QRgb p) { return isCaption(p); }), 0);
        button->setEnabled(true);
    }
}

TEST_F(ButtonTest, BlankCaptionDrawsNoTextButStillPlacesTheGlyph)
{
    button->setGlyph(glyph(16, 16, Red, Red));
    const QImage empty = grabbed(button);
    button->setCaption(QStringLiteral("    "));
    const int tw = QFontMetrics(button->font()).size(Qt::TextSingleLine, button->Caption()).width();
    ASSERT_GT(tw, 0);
    EXPECT_EQ(redBox().left(), (145 - (tw + 20)) / 2);
    EXPECT_EQ(countOf(grabbed(button), [this](QRgb p) { return isCaption(p); }),
              countOf(empty, [this](QRgb p) { return isCaption(p); }));
}

TEST_F(ButtonTest, TwoImageGlyphShowsItsSecondImageWhenDisabled)
{
    button->setGlyph(glyph(32, 16, Red, Blue));
    const auto red = [](QRgb p) { return p == Red; };
    const auto blue = [](QRgb p) { return p == Blue; };
    EXPECT_GT(countOf(grabbed(button), red), 0);
    EXPECT_EQ(countOf(grabbed(button), blue), 0);
    button->setEnabled(false);
    EXPECT_EQ(countOf(grabbed(button), red), 0);
    EXPECT_EQ(boundsOf(grabbed(button), blue).size(), QSize(16, 16));
}

TEST_F(ButtonTest, ReleasingOutsideAfterDraggingOutGivesNoClick)
{
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseMove(button, centre());
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(button->isRepeating());
    QTest::mouseMove(button, QPoint(200, 60));
    EXPECT_FALSE(button->isDown());
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(grabbed(button).pixel(FacePixel), face(1).pixel(9, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 60));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isRepeating());
    // A press and release over the button clicks.
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonTest, DoubleClickGivesTwoClicks)
{
    // What the platform sends for a double click: press, release, double click, release.
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    QTest::mouseDClick(button, Qt::LeftButton, {}, centre());
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonTest, FocusRectangleOnTheMarginAndOnlyWithTabStop)
{
    auto *other = new QLineEdit(host.get());
    other->move(10, 100);
    other->show();
    const QPoint away(300, 190);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    ASSERT_TRUE(button->hasFocus());
    QTest::mouseMove(host.get(), away);
    const QImage focused = grabbed(button);
    other->setFocus();
    const QImage unfocused = grabbed(button);
    const QRect ring(2, 2, 141, 23);
    QRect changed;
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 145; ++x)
            if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
                const bool onRing =
                    x == ring.left() || x == ring.right() || y == ring.top() || y == ring.bottom();
                EXPECT_TRUE(onRing) << x << "," << y;
            }
    EXPECT_EQ(changed, ring);

    button->setTabStop(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(other->hasFocus());
    QTest::mouseMove(host.get(), away);
    EXPECT_EQ(grabbed(button), unfocused);
}

TEST_F(ButtonTest, FocusComesWithTheClickNotWithThePress)
{
    auto *edit = new QLineEdit(host.get());
    edit->move(10, 100);
    edit->show();
    edit->setFocus();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    // Pressed, dragged off and released elsewhere: no click and the focus stays.
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(edit->hasFocus());
    QTest::mouseMove(button, QPoint(200, 60));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 60));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(edit->hasFocus());
    // A click: still unfocused while held, focused once released over the button.
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    EXPECT_TRUE(edit->hasFocus());
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(button->hasFocus());
}

TEST_F(ButtonTest, TabReachesOnlyTabStopButtons)
{
    auto *edit = new QLineEdit(host.get());
    edit->move(10, 100);
    edit->show();
    QWidget::setTabOrder(edit, button);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(button->hasFocus());
    button->setTabStop(false);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(button->hasFocus());
}

TEST_F(ButtonTest, BoldCaptionInsteadOfFocusRectangleUnderMacOS)
{
    button->setUIStyle(TsuiUIStyle::MacOS);
    button->setCaption(QStringLiteral("Открыть"));
    const auto text = [this](QRgb p) { return isCaption(p); };
    const int plain = countOf(grabbed(button), text);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_GT(countOf(grabbed(button), text), plain);
    button->clearFocus();
    EXPECT_EQ(countOf(grabbed(button), text), plain);
}

TEST_F(ButtonTest, SpaceAndEnterPressAndClickTheFocusedButton)
{
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    button->setFocus();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        QTest::keyPress(button, key);
        EXPECT_TRUE(button->isDown());
        QTest::keyRelease(button, key);
        EXPECT_FALSE(button->isDown());
    }
    EXPECT_EQ(clicks.count(), 2);
    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonTest, DefaultAndCancelTakeEnterAndEscapeOfTheWindow)
{
    auto *edit = new QLineEdit(host.get());
    edit->move(10, 100);
    edit->show();
    edit->setFocus();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
    button->setDefault(true);
    button->setCancel(true);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(edit->hasFocus() || button->hasFocus());
}

TEST_F(ButtonTest, AcceleratorOfTheCaptionClicks)
{
    button->setCaption(QStringLiteral("&Open"));
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(host.get(), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonTest, ModalResultClosesTheDialog)
{
    QDialog dialog;
    auto *ok = new TsuiButton(&dialog);
    ok->setModalResult(QDialog::Accepted);
    auto *none = new TsuiButton(&dialog);
    none->move(0, 40);
    dialog.show();
    QTest::mouseClick(none, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ButtonTest, AutoSizeTakesOneFrameOfTheFace)
{
    button->setAutoSize(true);
    EXPECT_EQ(button->size(), QSize(18, 21));
}

TEST_F(ButtonTest, RepeatsWhileHeldAndNeverIntoADestroyedButton)
{
    int ticks = 0;
    button->setMouseContinuouslyDownInterval(20);
    QObject::connect(button, &TsuiCustomButton::mouseContinuouslyDown, [&ticks]() { ++ticks; });
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    QTest::qWait(120);
    EXPECT_GE(ticks, 1);
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre());
    const int afterRelease = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, afterRelease);

    // Hidden while held: it lets go.
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    button->hide();
    EXPECT_FALSE(button->isRepeating());
    EXPECT_FALSE(button->isDown());
    QTest::mouseRelease(host.get(), Qt::LeftButton, {}, QPoint(50, 20));
    button->show();

    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    delete button;
    button = nullptr;
    const int afterDelete = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, afterDelete);
    QTest::mouseRelease(host.get(), Qt::LeftButton, {}, QPoint(50, 20));
}

TEST_F(ButtonTest, FaceFromAThemeFileUntilTheThemeGoesAway)
{
    auto *theme = new TsuiFileTheme(host.get());
    ASSERT_TRUE(theme->loadThemeFile(QStringLiteral(VOCAFETCH_THEMES_DIR "/amber/amber.theme")));
    button->setUIStyle(TsuiUIStyle::FromThemeFile);
    button->setFileTheme(theme);
    QImage themed;
    theme->ReadFrame(StyleEntry::ButtonImage, &themed, 3, 1);
    ASSERT_FALSE(themed.isNull());
    EXPECT_EQ(grabbed(button).pixel(FacePixel),
              themed.pixel(themed.width() / 2, themed.height() / 2));
    delete theme;
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::DeepBlue);
    QImage deepBlue;
    LoadStyleBitmap(TsuiUIStyle::DeepBlue, StyleEntry::ButtonImage, &deepBlue, 3, 1);
    EXPECT_EQ(grabbed(button).pixel(FacePixel),
              deepBlue.pixel(deepBlue.width() / 2, deepBlue.height() / 2));
}

TEST_F(ButtonTest, ActionGivesCaptionAndEnabledStateAndIsTriggeredByAClick)
{
    QAction action(QStringLiteral("&Открыть"));
    action.setEnabled(false);
    button->setAction(&action);
    EXPECT_EQ(button->Action(), &action);
    EXPECT_EQ(button->Caption(), QStringLiteral("&Открыть"));
    EXPECT_FALSE(button->isEnabled());
    QSignalSpy triggered(&action, &QAction::triggered);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(triggered.count(), 0);

    action.setEnabled(true);
    action.setText(QStringLiteral("Сохранить"));
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->Caption(), QStringLiteral("Сохранить"));
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(triggered.count(), 1);

    // Unlinked, the button keeps what it showed and triggers nothing more.
    button->setProperty("Action", QVariant::fromValue<QAction *>(nullptr));
    action.setText(QStringLiteral("Другое"));
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_EQ(button->Caption(), QStringLiteral("Сохранить"));
}

TEST_F(ButtonTest, EmptyGlyphComesFromTheActionsIconAndFollowsIt)
{
    auto action = std::make_unique<QAction>(QStringLiteral("Открыть"));
    action->setIcon(QIcon(QPixmap::fromImage(glyph(16, 16, Red, Red))));
    button->setAction(action.get());
    const int tw = QFontMetrics(button->font()).size(Qt::TextSingleLine, button->Caption()).width();
    EXPECT_EQ(redBox(), QRect((145 - (tw + 20)) / 2, 5, 16, 16));
    action->setIcon(QIcon(QPixmap::fromImage(glyph(16, 16, Blue, Blue))));
    EXPECT_TRUE(redBox().isEmpty());
    EXPECT_EQ(button->Glyph().pixel(8, 8), Blue);

    // A glyph of the button's own wins over the icon, an empty one hands it back.
    button->setGlyph(glyph(16, 16, Red, Red));
    action->setIcon(QIcon(QPixmap::fromImage(glyph(16, 16, Blue, Blue))));
    EXPECT_EQ(button->Glyph().pixel(8, 8), Red);
    button->setGlyph(QImage());
    EXPECT_EQ(button->Glyph().pixel(8, 8), Blue);
    action->setIcon(QIcon());
    EXPECT_TRUE(button->Glyph().isNull());

    // The link ends with the action.
    action.reset();
    EXPECT_EQ(button->Action(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
}

TEST(ImageButton, WithoutPicturesShowsThePanelColourBehindIt)
{
    auto host = shownHost();
    auto *panel = new QWidget(host.get());
    panel->setGeometry(0, 0, 100, 50);
    auto *b = new TsuiImageButton(panel);
    b->setGeometry(5, 5, 20, 20);
    panel->show();
    EXPECT_EQ(grabbed(b).pixel(10, 10), host->palette().color(QPalette::Window).rgb());
    panel->setProperty("Color", QVariant::fromValue(quint32(0x0000FF))); // a frame's red
    b->update();
    EXPECT_EQ(grabbed(b).pixel(10, 10), Red);
}

TEST(ImageButton, PicturesPerStateWithFallbackToNormal)
{
    auto host = shownHost();
    auto *b = new TsuiImageButton(host.get());
    QImage normal(16, 17, QImage::Format_RGB32), down(16, 17, QImage::Format_RGB32);
    normal.fill(Qt::green);
    down.fill(Qt::blue);
    b->setAutoSize(true);
    b->setPicNormal(normal);
    b->setPicMouseDown(down);
    b->show();
    EXPECT_EQ(b->size(), QSize(16, 17));
    EXPECT_EQ(b->UIStyle(), TsuiUIStyle::FromThemeFile);
    QTest::mouseMove(b, QPoint(8, 8));
    EXPECT_EQ(grabbed(b).pixel(8, 8), QColor(Qt::green).rgb()); // no mouse-on picture
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(grabbed(b).pixel(8, 8), QColor(Qt::blue).rgb());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(8, 8));
}

} // namespace
