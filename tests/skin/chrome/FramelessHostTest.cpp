// The frameless-window agent: one per window, the frame's hold on the host, and the title bar
// reaching the window through it.

#include "ChromeTestHost.h"

#include "skin/chrome/FramelessHost.h"
#include "skin/style/StyleResolve.h"

#include <QMouseEvent>

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
    // A fixed host is neither sized from its edges nor given the title bar's minimum width.
    EXPECT_FALSE(agent->sizeable());
    EXPECT_FALSE(agent->startResize(Qt::RightEdge, QPoint()));
    agent->setMinimumWidth(400);
    EXPECT_EQ(c.host->size(), QSize(317, 272));
    // The title bar sees the frame it sits on, an extra bar on a plain child does not.
    EXPECT_TRUE(c.bar()->onSkinnedFrame());
    QWidget *panel = new QWidget(c.frame);
    EXPECT_FALSE((new TsuiTitleBar(panel))->onSkinnedFrame());
    // Controls created on the form start in the frame's style.
    EXPECT_EQ(OwnerFormStyle(c.host.get()), TsuiUIStyle::WinXP);
    EXPECT_EQ((new TsuiTitleBar(c.host.get()))->UIStyle(), TsuiUIStyle::WinXP);
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
    host.resize(300, 200);
    auto *frame = new TsuiForm(&host);
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
}
