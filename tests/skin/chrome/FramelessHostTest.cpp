// The frameless-window agent: one per window, the frame's hold on the host, its hit test over
// title bars, edges and controls, the host's least size, a host created maximised, and the
// title bar reaching the window through it.

#include "ChromeTestHost.h"

#include "skin/chrome/FramelessHost.h"
#include "skin/style/StyleResolve.h"

#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>

using vocafetch::FrameHit;
using vocafetch::FramelessHost;
using vocafetch::OwnerFormStyle;

namespace {

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

bool fitsTheWorkArea(const QWidget &host)
{
    const QSize workArea = host.screen()->availableGeometry().size();
    return host.width() <= workArea.width() && host.height() <= workArea.height();
}

} // namespace

TEST(FramelessHost, OneAgentPerWindowFoundFromAnyWidgetOnIt)
{
    QWidget window;
    QWidget *inner = new QWidget(new QWidget(&window));
    EXPECT_EQ(FramelessHost::find(inner), nullptr);
    FramelessHost *agent = FramelessHost::of(inner);
    ASSERT_NE(agent, nullptr);
    EXPECT_EQ(agent->host(), &window);
    EXPECT_EQ(FramelessHost::of(&window), agent);
    EXPECT_EQ(FramelessHost::find(inner), agent);
    // An agent made on demand changes nothing on the window.
    EXPECT_EQ(agent->frame(), nullptr);
    EXPECT_FALSE(agent->frameless());
    EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(FramelessHost::of(nullptr), nullptr);
}

TEST(FramelessHost, FrameTakesTheHostOverThroughTheAgent)
{
    chrome_test::MainWindowChrome c = chrome_test::makeMainWindowChrome(false);
    FramelessHost *agent = FramelessHost::find(c.host.get());
    ASSERT_NE(agent, nullptr);
    EXPECT_EQ(agent->frame(), c.frame);
    EXPECT_TRUE(agent->frameless());
    EXPECT_TRUE(c.host->windowFlags() & Qt::FramelessWindowHint);
    // A fixed host is not sized from its edges; its minimum (the WinXP title bar's 150 wide)
    // leaves it at its size.
    EXPECT_FALSE(agent->sizeable());
    EXPECT_FALSE(agent->startResize(Qt::RightEdge, QPoint()));
    EXPECT_EQ(agent->minimumSize(), QSize(150, 50));
    EXPECT_EQ(c.host->size(), QSize(317, 272));
    // The title bar sees the frame it sits on, an extra bar on a plain child does not.
    EXPECT_TRUE(c.bar()->onSkinnedFrame());
    QWidget *panel = new QWidget(c.frame);
    EXPECT_FALSE((new TsuiTitleBar(panel))->onSkinnedFrame());
    // Controls created on the form start in the frame's style.
    EXPECT_EQ(OwnerFormStyle(c.host.get()), TsuiUIStyle::WinXP);
    EXPECT_EQ((new TsuiTitleBar(c.host.get()))->UIStyle(), TsuiUIStyle::WinXP);
}

TEST(FramelessHost, HitTestLeavesTheBarsButtonsAndTheControlsToTheirWidgets)
{
    chrome_test::MainWindowChrome c = chrome_test::makeMainWindowChrome();
    FramelessHost *agent = FramelessHost::find(c.host.get());
    TsuiTitleBar *bar = c.bar();
    auto hitOn = [&](QWidget *widget, const QPoint &pos) {
        return agent->hitTest(widget->mapTo(c.host.get(), pos));
    };
    const FrameHit caption = hitOn(bar, QPoint(150, 15));
    EXPECT_EQ(caption.area, FrameHit::Caption);
    EXPECT_EQ(caption.titleBar, bar);
    // Close (288..309) and the control box (2..23) are the bar's own.
    EXPECT_EQ(hitOn(bar, QPoint(298, 15)).area, FrameHit::Client);
    EXPECT_EQ(hitOn(bar, QPoint(309, 26)).area, FrameHit::Client);
    EXPECT_EQ(hitOn(bar, QPoint(10, 12)).area, FrameHit::Client);
    EXPECT_EQ(hitOn(bar, QPoint(25, 12)).area, FrameHit::Caption);
    // A fixed host has no edges: its strips are client, the bar's top rows caption.
    EXPECT_EQ(agent->hitTest(QPoint(1, 100)).area, FrameHit::Client);
    EXPECT_EQ(hitOn(bar, QPoint(150, 1)).area, FrameHit::Caption);
    // The menu bar below the title bar is no caption.
    EXPECT_EQ(hitOn(c.frame->MenuBar(), QPoint(5, 5)).area, FrameHit::Client);

    // A press on the caption is the agent's, one on a button the bar's.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_FALSE(bar->Pressed());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(150, 15));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(270, 10));
    EXPECT_TRUE(bar->Pressed());
    EXPECT_FALSE(agent->moving());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(150, 15));
}

TEST(FramelessHost, SizeableHostEdgesComeBeforeTheCaption)
{
    QWidget host;
    auto *frame = new TsuiForm(&host);
    frame->setUIStyle(TsuiUIStyle::WinXP);
    // The frame's style sized the host from the frame; a sizeable host takes any size.
    host.resize(300, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    FramelessHost *agent = FramelessHost::find(&host);
    auto edgesAt = [&](const QPoint &hostPos) {
        const FrameHit hit = agent->hitTest(hostPos);
        return hit.area == FrameHit::Edges ? hit.edges : Qt::Edges();
    };
    EXPECT_EQ(edgesAt(QPoint(298, 100)), Qt::RightEdge);
    EXPECT_EQ(edgesAt(QPoint(1, 198)), Qt::LeftEdge | Qt::BottomEdge);
    // The frame's outer pixels count as well.
    EXPECT_EQ(edgesAt(QPoint(4, 100)), Qt::LeftEdge);
    // The title bar's top rows, measured along the host's width.
    EXPECT_EQ(edgesAt(QPoint(150, 4)), Qt::TopEdge);
    EXPECT_EQ(edgesAt(QPoint(6, 2)), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_EQ(edgesAt(QPoint(297, 2)), Qt::TopEdge | Qt::RightEdge);
    EXPECT_EQ(agent->hitTest(QPoint(150, 5)).area, FrameHit::Caption);
    // Maximised, nothing sizes.
    host.showMaximized();
    ASSERT_TRUE(host.isMaximized());
    EXPECT_EQ(edgesAt(QPoint(1, 100)), Qt::Edges());
    EXPECT_EQ(agent->hitTest(QPoint(150, 2)).area, FrameHit::Caption);
}

TEST(FramelessHost, LabelOnACaptionDragsTheWindowARegisteredItemDoesNot)
{
    QWidget window;
    window.resize(300, 200);
    auto *caption = new QWidget(&window);
    caption->setGeometry(0, 0, 300, 30);
    auto *label = new QLabel(QStringLiteral("Title"), caption);
    label->setGeometry(10, 5, 100, 20);
    auto *item = new QLabel(QStringLiteral("Item"), caption);
    item->setGeometry(150, 5, 100, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    FramelessHost *agent = FramelessHost::of(&window);
    // The caption's own "button" is its right end.
    agent->addTitleBar(caption, [](const QPoint &pos) { return pos.x() >= 280; });
    agent->setHitTestVisible(item);
    EXPECT_EQ(agent->hitTest(QPoint(20, 10)).area, FrameHit::Caption);
    EXPECT_EQ(agent->hitTest(QPoint(130, 10)).area, FrameHit::Caption);
    EXPECT_EQ(agent->hitTest(QPoint(160, 10)).area, FrameHit::Client);
    EXPECT_EQ(agent->hitTest(QPoint(290, 10)).area, FrameHit::Client);
    EXPECT_EQ(agent->hitTest(QPoint(20, 50)).area, FrameHit::Client);

    // Labels leave presses to their parent: the registered one's reaches the caption unused.
    QTest::mousePress(item, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(agent->moving());
    QTest::mouseRelease(item, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    if (agent->moving()) {
        const QPoint before = window.pos();
        QTest::mouseMove(label, QPoint(25, 15));
        EXPECT_EQ(window.pos() - before, QPoint(20, 10));
    }
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_FALSE(agent->moving());

    agent->setHitTestVisible(item, false);
    EXPECT_EQ(agent->hitTest(QPoint(160, 10)).area, FrameHit::Caption);
    // The registration ends with the caption.
    delete caption;
    EXPECT_EQ(agent->hitTest(QPoint(20, 10)).area, FrameHit::Client);
}

TEST(FramelessHost, HostWithoutItsFrameIsNoLongerSizedFromItsEdges)
{
    QWidget host;
    host.resize(300, 200);
    auto *frame = new TsuiForm(&host);
    FramelessHost *agent = FramelessHost::find(&host);
    ASSERT_NE(agent, nullptr);
    EXPECT_TRUE(agent->sizeable());
    delete frame;
    EXPECT_FALSE(agent->sizeable());
    const QSize before = host.size();
    const QPoint edge(host.width() - 2, 100);
    sendMouse(&host, QEvent::MouseButtonPress, edge, Qt::LeftButton);
    sendMouse(&host, QEvent::MouseMove, edge + QPoint(20, 0), Qt::LeftButton);
    sendMouse(&host, QEvent::MouseButtonRelease, edge + QPoint(20, 0), Qt::NoButton);
    EXPECT_FALSE(agent->resizing());
    EXPECT_EQ(host.size(), before);
}

TEST(FramelessHost, ManualMoveFollowsTheMouseUntilTheDragEnds)
{
    QWidget host;
    host.resize(200, 100);
    host.move(40, 30);
    FramelessHost *agent = FramelessHost::of(&host);
    agent->startMove(QPoint(100, 50));
    if (!agent->moving())
        GTEST_SKIP() << "the platform moves the window itself";
    agent->continueMove(QPoint(130, 45));
    EXPECT_EQ(host.pos(), QPoint(70, 25));
    agent->endDrag();
    EXPECT_FALSE(agent->moving());
    agent->continueMove(QPoint(0, 0));
    EXPECT_EQ(host.pos(), QPoint(70, 25));
    // A maximised window does not move.
    host.showMaximized();
    agent->startMove(QPoint(100, 50));
    EXPECT_FALSE(agent->moving());
}

TEST(FramelessHost, MaximiseButtonTogglesTheHostThroughItsAgent)
{
    QWidget host;
    auto *frame = new TsuiForm(&host);
    host.resize(300, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    TsuiTitleBar *bar = frame->TitleBar();
    int maxButton = -1;
    for (int i = 0; i < bar->Buttons().count(); ++i) {
        if (bar->Buttons().item(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
            maxButton = i;
    }
    ASSERT_NE(maxButton, -1);
    bar->ButtonClick(maxButton);
    EXPECT_TRUE(host.isMaximized());
    bar->ButtonClick(maxButton);
    EXPECT_FALSE(host.isMaximized());
    // A double click on the caption, which the agent hands back to the bar, does the same.
    const QPoint caption(100, bar->height() / 2);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, caption);
    EXPECT_TRUE(host.isMaximized());
    // A maximised window does not move: the press reaches the bar.
    QTest::mousePress(bar, Qt::LeftButton, {}, caption);
    EXPECT_TRUE(bar->Pressed());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, caption);
    EXPECT_FALSE(bar->Pressed());
    QTest::mouseDClick(bar, Qt::LeftButton, {}, caption);
    EXPECT_FALSE(host.isMaximized());
}

TEST(FramelessHost, FixedHostStaysFixedButNeverBelowItsLeastSize)
{
    QWidget host;
    host.setFixedSize(100, 30);
    auto *frame = new TsuiForm(&host);
    FramelessHost *agent = FramelessHost::find(&host);
    ASSERT_NE(agent, nullptr);
    ASSERT_FALSE(agent->sizeable());
    const QSize least = agent->minimumSize();
    EXPECT_EQ(least.height(), 50);
    frame->setFrameWidth(10);
    frame->setFrameHeight(5);
    EXPECT_EQ(host.size(), least);
    EXPECT_EQ(host.minimumSize(), host.maximumSize());
    // The title bar's minimum width applies to it too; larger sizes stay as written.
    agent->setMinimumWidth(400);
    EXPECT_EQ(host.size(), QSize(400, 50));
    frame->setFrameWidth(500);
    EXPECT_EQ(host.width(), 500 + 2 * frame->BorderWidth());
    EXPECT_EQ(host.minimumSize(), host.maximumSize());
}

TEST(FramelessHost, SizeableHostGetsTheLeastSizeAsItsMinimum)
{
    QWidget host;
    host.resize(300, 200);
    new TsuiForm(&host);
    FramelessHost *agent = FramelessHost::find(&host);
    ASSERT_TRUE(agent->sizeable());
    agent->setMinimumWidth(0);
    EXPECT_EQ(host.minimumSize(), QSize(0, 50));
    host.resize(10, 10);
    EXPECT_EQ(host.height(), 50);
}

TEST(FramelessHost, HostCreatedMaximisedGoesBackToItsFirstBoundsWhenRestored)
{
    FramelessHost::resetRemaximizeCount();
    QWidget host;
    host.setGeometry(60, 70, 400, 300);
    host.setWindowState(Qt::WindowMaximized);
    auto *frame = new TsuiForm(&host);
    FramelessHost *agent = FramelessHost::find(&host);
    EXPECT_TRUE(agent->createdMaximized());
    EXPECT_EQ(agent->restoreBounds(), QRect(60, 70, 400, 300));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(host.isMaximized());
    EXPECT_TRUE(fitsTheWorkArea(host));

    // Size changes while still maximised are counted up to 2 and keep the host maximised.
    for (int i = 0; i < 4; ++i) {
        QResizeEvent resize(host.size(), host.size());
        QCoreApplication::sendEvent(&host, &resize);
    }
    EXPECT_EQ(FramelessHost::remaximizeCount(), 2);
    EXPECT_TRUE(host.isMaximized());

    host.showNormal();
    EXPECT_FALSE(host.isMaximized());
    EXPECT_EQ(host.geometry(), QRect(60, 70, 400, 300));
    EXPECT_FALSE(agent->createdMaximized());
    EXPECT_EQ(frame->geometry(), QRect(frame->BorderWidth(), 0, 400 - 2 * frame->BorderWidth(),
                                       300 - frame->BorderWidth()));
    // Later restores are the platform's own: no longer back to the first bounds.
    host.setGeometry(90, 80, 350, 250);
    host.showMaximized();
    host.showNormal();
    EXPECT_EQ(host.geometry(), QRect(90, 80, 350, 250));
}
