// The skinned scroll bar: layout from the style's pictures, the slider's length and place, the
// arrow buttons stepping on their repeat ticks, page steps and dragging on the track, keys.

#include "ControlsTestSupport.h"
#include "skin/controls/TsuiImageButton.h"
#include "skin/controls/TsuiScrollBar.h"
#include "skin/controls/TsuiScrollBarPictures.h"
#include "skin/controls/TsuiScrollTrackBar.h"
#include "skin/style/StyleLookup.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vocafetch;

using namespace controlstest;

namespace {

QImage arrowFrame(int k)
{
    QImage f;
    LoadStyleBitmap(TsuiUIStyle::WinXP, StyleEntry::ScrollBarButtonImage, &f, 6, k);
    return f;
}

class ScrollBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = shownHost(QSize(320, 260));
        bar = new TsuiScrollBar(host.get());
        bar->setUIStyle(TsuiUIStyle::WinXP);
        bar->setOrientation(TsuiScrollBar::suiVertical);
        bar->setGeometry(10, 10, 30, 200);
        bar->show();
    }

    TsuiScrollTrackBar *track() const { return bar->track(); }
    int sliderLength() const { return track()->sliderGeometry().height(); }

    std::unique_ptr<QWidget> host;
    TsuiScrollBar *bar = nullptr;
};

TEST_F(ScrollBarTest, VerticalLayoutFromTheStylePictures)
{
    EXPECT_EQ(bar->width(), 16);
    EXPECT_EQ(bar->decreaseButton()->geometry(), QRect(0, 0, 16, 17));
    EXPECT_EQ(bar->increaseButton()->geometry(), QRect(0, 183, 16, 17));
    EXPECT_EQ(track()->geometry(), QRect(0, 17, 16, 165));
    EXPECT_EQ(bar->decreaseButton()->PicNormal(), arrowFrame(1));
    EXPECT_EQ(bar->increaseButton()->PicMouseDown(), arrowFrame(6));
    EXPECT_EQ(bar->Color(), BgrToQColor(16382457));
    EXPECT_EQ(grabbed(track()).pixel(8, 150), BgrToQColor(16382457).rgb());
}

TEST_F(ScrollBarTest, HorizontalBarTurnsTheArrowsCounterClockwise)
{
    bar->setOrientation(TsuiScrollBar::suiHorizontal);
    bar->resize(200, 40);
    EXPECT_EQ(bar->height(), 16);
    EXPECT_EQ(bar->decreaseButton()->PicNormal(), RotatedCounterClockwise(arrowFrame(1)));
    EXPECT_EQ(bar->increaseButton()->geometry(), QRect(183, 0, 17, 16));
    EXPECT_EQ(track()->geometry(), QRect(17, 0, 166, 16));
}

TEST_F(ScrollBarTest, SliderLengthFromLineButtonAtLeastEighteenOrFromPageSize)
{
    bar->setLineButton(5);
    EXPECT_EQ(bar->LineButton(), 18);
    EXPECT_EQ(sliderLength(), 18);
    bar->setLineButton(400); // does not fit between the arrows
    EXPECT_EQ(bar->LineButton(), 18);
    bar->setLineButton(0);
    bar->setPageSize(50);
    EXPECT_EQ(sliderLength(), 165 * 50 / 100);
    bar->setPageSize(5);
    EXPECT_EQ(sliderLength(), 165 * 10 / 100);
    bar->setPageSize(150); // above Max: refused
    EXPECT_EQ(bar->PageSize(), 5);
}

TEST_F(ScrollBarTest, RangeClampsAndMinEqualToMaxKeepsTheSliderAtTheStart)
{
    bar->setPosition(60);
    bar->setMax(40);
    EXPECT_EQ(bar->Position(), 40);
    bar->setMin(70);
    EXPECT_EQ(bar->Min(), 40);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(track()->sliderGeometry().top(), 0);
    bar->setMin(0);
    bar->setMax(100);
    bar->setPosition(100);
    EXPECT_EQ(track()->sliderGeometry().bottom(), track()->height() - 1);
}

TEST_F(ScrollBarTest, ChangesAreReportedOnceWithTheirDifference)
{
    QSignalSpy changes(bar, &TsuiScrollBar::changed);
    bar->setPosition(30);
    bar->setPosition(30);
    EXPECT_EQ(changes.count(), 1);
    bar->setPosition(22);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(bar->lastChange(), -8);
}

TEST_F(ScrollBarTest, ArrowsStepOnEachRepeatTickOnlyNotOnThePress)
{
    bar->setSmallChange(3);
    bar->setPosition(50);
    QSignalSpy changes(bar, &TsuiScrollBar::changed);
    for (const auto &[arrow, sign] : {std::pair<TsuiImageButton *, int>{bar->increaseButton(), 1},
                                      {bar->decreaseButton(), -1}}) {
        changes.clear();
        QTest::mousePress(arrow, Qt::LeftButton, {}, QPoint(8, 8));
        EXPECT_EQ(bar->Position(), 50);
        ASSERT_NE(runningRepeatTimer(arrow), nullptr);
        EXPECT_EQ(runningRepeatTimer(arrow)->interval(), 100);
        ASSERT_TRUE(repeatTick(arrow));
        EXPECT_EQ(bar->Position(), 50 + sign * 3);
        ASSERT_TRUE(repeatTick(arrow));
        EXPECT_EQ(bar->Position(), 50 + sign * 6);
        EXPECT_EQ(changes.count(), 2);
        QTest::mouseRelease(arrow, Qt::LeftButton, {}, QPoint(8, 8));
        EXPECT_EQ(runningRepeatTimer(arrow), nullptr);
        bar->setPosition(50);
    }
    // A click that ends before the first tick moves nothing.
    QTest::mouseClick(bar->increaseButton(), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(bar->Position(), 50);
    // Steps stop at the ends.
    bar->setPosition(99);
    QTest::mousePress(bar->increaseButton(), Qt::LeftButton, {}, QPoint(8, 8));
    ASSERT_TRUE(repeatTick(bar->increaseButton()));
    EXPECT_EQ(bar->Position(), 100);
    QTest::mouseRelease(bar->increaseButton(), Qt::LeftButton, {}, QPoint(8, 8));
}

TEST_F(ScrollBarTest, PressOnTheTrackStepsAPageTowardsThePressAndRepeats)
{
    bar->setPageSize(10);
    QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(8, 150));
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_FALSE(track()->isPaging());
    QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(8, 1));
    EXPECT_EQ(bar->Position(), 0);
    // Close beyond the slider the step stops at the value under the press.
    QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(8, 17));
    EXPECT_EQ(bar->Position(), 6);

    QTest::mousePress(track(), Qt::LeftButton, {}, QPoint(8, 150));
    QTest::qWait(350);
    QTest::mouseRelease(track(), Qt::LeftButton, {}, QPoint(8, 150));
    EXPECT_GE(bar->Position(), 26);
    EXPECT_LE(bar->Position(), 95); // never past the value under the cursor
}

TEST_F(ScrollBarTest, DraggingTheSliderFollowsTheMouse)
{
    QSignalSpy changes(bar, &TsuiScrollBar::changed);
    const QPoint grip = track()->sliderGeometry().center();
    QTest::mousePress(track(), Qt::LeftButton, {}, grip);
    EXPECT_TRUE(track()->isDragging());
    QTest::mouseMove(track(), QPoint(8, 82));
    EXPECT_EQ(bar->Position(), 50); // the slider centred on the mouse
    QTest::mouseMove(track(), QPoint(8, 400));
    EXPECT_EQ(bar->Position(), 100);
    QTest::mouseRelease(track(), Qt::LeftButton, {}, QPoint(8, 400));
    EXPECT_FALSE(track()->isDragging());
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(ScrollBarTest, TrackDestroyedWhilePagingStopsItsTimer)
{
    // Under the sanitizers a tick into the destroyed track would be reported.
    QTest::mousePress(track(), Qt::LeftButton, {}, QPoint(8, 150));
    ASSERT_TRUE(track()->isPaging());
    delete bar;
    bar = nullptr;
    QTest::qWait(250);
    QTest::mouseRelease(host.get(), Qt::LeftButton, {}, QPoint(300, 250));
}

TEST(ScrollTrackBar, KeysMoveThePositionWhenFocused)
{
    auto host = shownHost();
    auto *track = new TsuiScrollTrackBar(host.get());
    track->setOrientation(Qt::Horizontal);
    track->setMax(100);
    track->setPageSize(10);
    track->setGeometry(10, 10, 200, 16);
    track->show();
    track->setFocus();
    QTest::keyClick(track, Qt::Key_End);
    EXPECT_EQ(track->Position(), 100);
    QTest::keyClick(track, Qt::Key_PageUp);
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(track->Position(), 89);
    QTest::keyClick(track, Qt::Key_Home);
    QTest::keyClick(track, Qt::Key_PageDown);
    QTest::keyClick(track, Qt::Key_Right);
    EXPECT_EQ(track->Position(), 11);
}

} // namespace
