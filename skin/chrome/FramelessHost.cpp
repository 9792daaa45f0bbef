#include "skin/chrome/FramelessHost.h"

#include "skin/chrome/TsuiTitleBarLayout.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace vocafetch {

namespace {

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
    if (agent->m_sizeable)
        host->setMinimumSize(std::max(host->minimumWidth(), 125),
                             std::max(host->minimumHeight(), 50));
    return agent;
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
    if (m_host && m_sizeable)
        m_host->setMinimumWidth(std::max(0, width));
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

void FramelessHost::startMove(const QPoint &globalPos)
{
    if (!m_host || m_host->isMaximized())
        return;
    QWindow *handle = m_host->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    // The platform moves no windows itself: follow the mouse until the button is released.
    m_moveOffset = globalPos - m_host->pos();
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

bool FramelessHost::handleEdgeMouse(QMouseEvent *event, const QPoint &hostPos)
{
    if (!m_host || !m_sizeable || m_host->isMaximized())
        return false;
    const Qt::Edges edges = FrameEdgesAt(hostPos, m_host->size());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton && edges) {
            startResize(edges, event->globalPosition().toPoint());
            return true;
        }
        return false;
    case QEvent::MouseMove:
        if (resizing() && (event->buttons() & Qt::LeftButton)) {
            continueResize(event->globalPosition().toPoint());
            return true;
        }
        if (edges)
            m_host->setCursor(cursorFor(edges));
        else
            m_host->unsetCursor();
        return false;
    case QEvent::MouseButtonRelease:
        if (resizing()) {
            endDrag();
            return true;
        }
        return false;
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

bool FramelessHost::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_host)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        if (!m_inHostPaint)
            return paintHost(event);
        break;
    case QEvent::Resize:
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
        emit windowStateChanged();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (handleEdgeMouse(mouse, mouse->position().toPoint()))
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vocafetch
