#include "skin/chrome/FramelessHost.h"

#include "skin/chrome/TsuiTitleBarLayout.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace vocafetch {

namespace {

// The least size of every skinned window.
constexpr QSize LeastHostSize(125, 50);
constexpr int RemaximizeAfter = 2;
int remaximizeCounter = 0; // shared by every host of the program

QCursor cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = (edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

// The geometry of a window sized from edges by the mouse moving delta from where it pressed.
QRect resizedGeometry(QRect g, Qt::Edges edges, const QPoint &delta, const QSize &minimum)
{
    if (edges & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + delta.x(), g.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge)
        g.setRight(std::max(g.right() + delta.x(), g.left() + minimum.width() - 1));
    if (edges & Qt::TopEdge)
        g.setTop(std::min(g.top() + delta.y(), g.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + delta.y(), g.top() + minimum.height() - 1));
    return g;
}

} // namespace

FramelessHost::FramelessHost(QWidget *host) : QObject(host), m_host(host)
{
    setObjectName(QStringLiteral("FramelessHost"));
}

FramelessHost *FramelessHost::find(const QWidget *widget)
{
    if (!widget)
        return nullptr;
    return widget->window()->findChild<FramelessHost *>(QString(), Qt::FindDirectChildrenOnly);
}

FramelessHost *FramelessHost::of(QWidget *widget)
{
    if (!widget)
        return nullptr;
    if (FramelessHost *agent = find(widget))
        return agent;
    return new FramelessHost(widget->window());
}

FramelessHost *FramelessHost::attach(QWidget *host, QWidget *frame)
{
    FramelessHost *agent = find(host);
    if (agent && agent->m_frame)
        return agent;
    if (!agent)
        agent = new FramelessHost(host);
    agent->m_frame = frame;
    // Without its frame the host goes back to being an ordinary window's agent.
    connect(frame, &QObject::destroyed, agent, [agent]() { agent->releaseHost(); });
    agent->m_sizeable = host->minimumSize() != host->maximumSize();
    // A fixed host's own minimum is its size, which later writes of the frame's size may lower.
    agent->m_minimum =
        agent->m_sizeable ? host->minimumSize().expandedTo(LeastHostSize) : LeastHostSize;
    agent->m_restoreBounds = host->geometry();
    agent->m_createdMaximized = host->windowState() & Qt::WindowMaximized;
    agent->m_initiallyFramed = !(host->windowFlags() & Qt::FramelessWindowHint);
    agent->applyMinimum();
    return agent;
}

int FramelessHost::remaximizeCount()
{
    return remaximizeCounter;
}

void FramelessHost::resetRemaximizeCount()
{
    remaximizeCounter = 0;
}

void FramelessHost::makeFrameless()
{
    if (!m_host || m_frameless)
        return;
    m_frameless = true;
    m_host->setAttribute(Qt::WA_NoSystemBackground, false);
    const bool visible = m_host->isVisible();
    // Qt drops the frameless hint from customised flags that ask for title-bar buttons; the
    // button hints stay, uncustomised, for the platform's task bar and window menu.
    m_host->setWindowFlags((m_host->windowFlags() & ~Qt::CustomizeWindowHint) |
                           Qt::FramelessWindowHint);
    if (visible)
        m_host->show();
    if (m_sizeable)
        m_host->setMouseTracking(true);
    m_host->installEventFilter(this);
    // The frame covers the host but for the border strips; its outer pixels size the host too.
    if (m_frame)
        m_frame->installEventFilter(this);
}

void FramelessHost::releaseHost()
{
    if (m_host)
        m_host->removeEventFilter(this);
    m_frameless = false;
    m_sizeable = false;
    endDrag();
}

void FramelessHost::setMinimumWidth(int width)
{
    m_minimum.setWidth(std::max(0, width));
    applyMinimum();
}

void FramelessHost::applyMinimum()
{
    if (!m_host || !m_frame)
        return;
    if (m_sizeable)
        m_host->setMinimumSize(m_minimum);
    else
        m_host->setFixedSize(m_host->size().expandedTo(m_minimum));
}

void FramelessHost::resizeHost(const QSize &size)
{
    // A maximised host keeps the platform's bounds: resizing it would make Qt take it for
    // restored.
    if (!m_host || m_host->isMaximized())
        return;
    if (m_sizeable)
        m_host->resize(size);
    else
        m_host->setFixedSize(size.expandedTo(m_minimum));
}

void FramelessHost::followWindowState(bool sized)
{
    // Setting the bounds below sends size changes of its own.
    if (!m_host || !m_frame || m_followingState)
        return;
    const QScopedValueRollback<bool> guard(m_followingState, true);
    restoreCreatedMaximized();
    // Only a size change carries the maximised bounds; during the state change the host may
    // still have its old ones.
    if (sized)
        keepMaximizedInWorkArea();
}

void FramelessHost::restoreCreatedMaximized()
{
    if (!m_createdMaximized)
        return;
    if (!m_host->isMaximized()) {
        m_createdMaximized = false;
        m_host->setGeometry(m_restoreBounds);
        return;
    }
    if (remaximizeCounter < RemaximizeAfter)
        ++remaximizeCounter;
    else
        m_host->setWindowState(m_host->windowState() | Qt::WindowMaximized);
}

void FramelessHost::keepMaximizedInWorkArea()
{
    if (!m_initiallyFramed || !m_host->isMaximized())
        return;
    QScreen *screen = m_host->screen();
    if (!screen)
        return;
    // Only a host larger than the work area (one that covers the task bar) is moved: setting
    // the bounds of a maximised window makes some platforms take it for restored, and some
    // place a maximised frameless window a few pixels off the work area's corner.
    const QRect workArea = screen->availableGeometry();
    const QSize size = m_host->size();
    if (size.width() > workArea.width() || size.height() > workArea.height())
        m_host->setGeometry(workArea);
}

bool FramelessHost::startResize(Qt::Edges edges, const QPoint &globalPos)
{
    if (!m_host || !m_sizeable || !edges || m_host->isMaximized())
        return false;
    if (QWindow *handle = m_host->windowHandle(); handle && handle->startSystemResize(edges))
        return true;
    m_resizeEdges = edges;
    m_resizeStartGeometry = m_host->geometry();
    m_resizeStartPos = globalPos;
    return true;
}

void FramelessHost::continueResize(const QPoint &globalPos)
{
    if (!m_host || !m_resizeEdges)
        return;
    m_host->setGeometry(resizedGeometry(m_resizeStartGeometry, m_resizeEdges,
                                        globalPos - m_resizeStartPos, m_host->minimumSize()));
}

bool FramelessHost::startMove(const QPoint &globalPos)
{
    if (!m_host || m_host->isMaximized())
        return false;
    QWindow *handle = m_host->windowHandle();
    if (handle && handle->startSystemMove())
        return true;
    // The platform moves no windows itself: follow the mouse until the button is released.
    m_moveOffset = globalPos - m_host->pos();
    return true;
}

void FramelessHost::continueMove(const QPoint &globalPos)
{
    if (m_host && m_moveOffset)
        m_host->move(globalPos - *m_moveOffset);
}

void FramelessHost::endDrag()
{
    m_resizeEdges = {};
    m_moveOffset.reset();
}

void FramelessHost::toggleMaximized()
{
    if (!m_host)
        return;
    if (m_host->isMaximized())
        m_host->showNormal();
    else
        m_host->showMaximized();
}

void FramelessHost::addTitleBar(QWidget *bar, ButtonTest onButton)
{
    if (!bar)
        return;
    removeTitleBar(bar);
    m_titleBars.push_back({bar, std::move(onButton)});
    bar->installEventFilter(this);
}

void FramelessHost::removeTitleBar(QWidget *bar)
{
    m_titleBars.erase(std::remove_if(m_titleBars.begin(), m_titleBars.end(),
                                     [bar](const TitleBarEntry &entry) {
                                         return !entry.bar || entry.bar == bar;
                                     }),
                      m_titleBars.end());
    if (bar)
        bar->removeEventFilter(this);
}

void FramelessHost::setHitTestVisible(QWidget *item, bool visible)
{
    m_hitTestVisible.removeIf([item](const QPointer<QWidget> &w) { return !w || w == item; });
    if (item && visible)
        m_hitTestVisible.push_back(item);
}

const FramelessHost::TitleBarEntry *FramelessHost::titleBarHolding(const QWidget *widget) const
{
    if (!widget)
        return nullptr;
    for (const TitleBarEntry &entry : m_titleBars) {
        if (entry.bar && (entry.bar == widget || entry.bar->isAncestorOf(widget)))
            return &entry;
    }
    return nullptr;
}

bool FramelessHost::hitTestVisible(const QWidget *widget, const QWidget *bar) const
{
    for (const QWidget *w = widget; w && w != bar; w = w->parentWidget()) {
        if (m_hitTestVisible.contains(w))
            return true;
    }
    return false;
}

Qt::Edges FramelessHost::edgesAt(const QPoint &hostPos, const QWidget *under) const
{
    if (!m_sizeable || m_host->isMaximized())
        return {};
    if (!under || under == m_frame)
        return FrameEdgesAt(hostPos, m_host->size());
    // A title bar on the frame sizes from its top rows, measured along the host's width.
    const TitleBarEntry *entry = titleBarHolding(under);
    if (entry && m_frame && entry->bar->parentWidget() == m_frame)
        return TitleBarEdgesAt(entry->bar->mapFrom(m_host.data(), hostPos), m_host->width());
    return {};
}

FrameHit FramelessHost::hitTest(const QPoint &hostPos) const
{
    FrameHit hit;
    if (!m_host)
        return hit;
    // The deepest visible widget there; none over the host's own strips.
    const QWidget *under = m_host->childAt(hostPos);
    hit.edges = edgesAt(hostPos, under);
    if (hit.edges) {
        hit.area = FrameHit::Edges;
        return hit;
    }
    const TitleBarEntry *entry = titleBarHolding(under);
    if (!entry)
        return hit;
    hit.titleBar = entry->bar;
    if (hitTestVisible(under, entry->bar))
        return hit;
    if (entry->onButton && entry->onButton(entry->bar->mapFrom(m_host.data(), hostPos)))
        return hit;
    hit.area = FrameHit::Caption;
    return hit;
}

void FramelessHost::showEdgeCursor(Qt::Edges edges)
{
    if (edges)
        m_host->setCursor(cursorFor(edges));
    else
        m_host->unsetCursor();
}

bool FramelessHost::mouseEvent(QWidget *widget, QMouseEvent *event)
{
    if (!m_host || (widget != m_host && !m_host->isAncestorOf(widget)))
        return false;
    const QPoint globalPos = event->globalPosition().toPoint();
    const QPoint hostPos = widget->mapTo(m_host.data(), event->position().toPoint());
    const bool left = event->button() == Qt::LeftButton;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (!left)
            return false;
        const FrameHit hit = hitTest(hostPos);
        if (hit.area == FrameHit::Edges)
            return startResize(hit.edges, globalPos);
        // A maximised host does not move: the press goes on to the widget.
        return hit.area == FrameHit::Caption && startMove(globalPos);
    }
    case QEvent::MouseMove:
        if (event->buttons() & Qt::LeftButton) {
            if (resizing()) {
                continueResize(globalPos);
                return true;
            }
            if (moving()) {
                continueMove(globalPos);
                return true;
            }
        }
        if (m_sizeable)
            showEdgeCursor(hitTest(hostPos).edges);
        return false;
    case QEvent::MouseButtonRelease:
        if (!left || !(resizing() || moving()))
            return false;
        endDrag();
        return true;
    case QEvent::MouseButtonDblClick: {
        const FrameHit hit = left ? hitTest(hostPos) : FrameHit();
        if (hit.area != FrameHit::Caption)
            return false;
        emit captionDoubleClicked(hit.titleBar);
        return true;
    }
    default:
        return false;
    }
}

bool FramelessHost::paintHost(QEvent *event)
{
    // The host paints first; the frame's strips go over it.
    m_inHostPaint = true;
    static_cast<QObject *>(m_host)->event(event);
    m_inHostPaint = false;
    QPainter p(m_host);
    emit paintOver(&p);
    return true;
}

bool FramelessHost::hostEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
        return !m_inHostPaint && paintHost(event);
    case QEvent::Resize:
        followWindowState(true);
        emit resized();
        break;
    case QEvent::Show:
        emit shown();
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange:
        emit activeChanged(m_host->isActiveWindow());
        break;
    case QEvent::WindowStateChange:
        followWindowState(false);
        emit windowStateChanged();
        break;
    default:
        break;
    }
    return false;
}

bool FramelessHost::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (watched->isWidgetType() &&
            mouseEvent(static_cast<QWidget *>(watched), static_cast<QMouseEvent *>(event)))
            return true;
        break;
    default:
        if (watched == m_host && hostEvent(event))
            return true;
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vocafetch
