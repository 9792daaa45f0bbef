#pragma once
// The frameless-window agent of one host window: the frameless flags, the event filter on the
// host, the edge hit test, moving and sizing through the platform (or by following the mouse
// where the platform refuses) and maximise/restore. The skinned frame and the title bar both
// talk to the agent of their window instead of to each other.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <optional>

class QMouseEvent;
class QPainter;

namespace vocafetch {

class FramelessHost : public QObject
{
    Q_OBJECT

public:
    // Gives host its agent with frame as the widget that covers it, or returns the agent it
    // already has. Every host keeps at least 125 x 50 (see minimumSize). The agent remembers
    // the host's bounds and whether it is maximised at this moment (restoreBounds).
    static FramelessHost *attach(QWidget *host, QWidget *frame);
    // The agent of widget's window, created without a frame on first use (it changes nothing on
    // the window until makeFrameless); nullptr without a widget.
    static FramelessHost *of(QWidget *widget);
    // The agent of widget's window when it has one.
    static FramelessHost *find(const QWidget *widget);

    QWidget *host() const { return m_host; }
    // The widget that took the host over; nullptr for an agent created by of().
    QWidget *frame() const { return m_frame; }
    // Whether the host could be resized when the frame took it over.
    bool sizeable() const { return m_sizeable; }

    // Drops the platform's frame (keeping the button hints for the task bar and window menu),
    // starts watching the host and lets a sizeable host follow the mouse over its edges.
    void makeFrameless();
    bool frameless() const { return m_frameless; }

    // The least size of the host: 125 x 50 (or a sizeable host's own larger minimum), the
    // width replaced by setMinimumWidth. A sizeable host cannot be made smaller; a fixed-size
    // host stays fixed but grows to it.
    QSize minimumSize() const { return m_minimum; }
    // The title bar's minimum width for the host.
    void setMinimumWidth(int width);
    // Sizes the host: a sizeable one within its minimum, a fixed-size one is fixed at size
    // grown to the minimum; a maximised one keeps its bounds.
    void resizeHost(const QSize &size);

    // The host's bounds when the frame took it over, and whether it was maximised then. Such a
    // host goes back to those bounds when it is first restored.
    QRect restoreBounds() const { return m_restoreBounds; }
    bool createdMaximized() const { return m_createdMaximized; }
    // Size changes a host created maximised saw while still maximised, counted once for the
    // whole program up to 2; from then on each such change maximises the host again.
    static int remaximizeCount();
    // Starts the count again (for a test that needs a fresh program).
    static void resetRemaximizeCount();

    // Edge sizing from a mouse event at hostPos (host coordinates): a left press on an edge
    // starts sizing, moves follow it and show the edge cursor, the release ends it. True when the
    // event was used.
    bool handleEdgeMouse(QMouseEvent *event, const QPoint &hostPos);
    // Starts sizing a sizeable, not maximised host from edges with the mouse at globalPos: the
    // platform's own resize, or a manual one that continueResize follows.
    bool startResize(Qt::Edges edges, const QPoint &globalPos);
    bool resizing() const { return bool(m_resizeEdges); }
    void continueResize(const QPoint &globalPos);
    // Starts moving a not maximised host with the mouse at globalPos: the platform's own move, or
    // a manual one that continueMove follows.
    void startMove(const QPoint &globalPos);
    bool moving() const { return m_moveOffset.has_value(); }
    void continueMove(const QPoint &globalPos);
    // Ends a manual move or resize.
    void endDrag();

    // Maximises a normal host, restores a maximised one.
    void toggleMaximized();

signals:
    void resized();
    void shown();
    void activeChanged(bool active);
    void windowStateChanged();
    // After the host painted itself: painter draws over the host (the frame's border strips).
    void paintOver(QPainter *painter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FramelessHost(QWidget *host);
    bool paintHost(QEvent *event);
    void releaseHost();
    void applyMinimum();
    // Runs on every size (sized) and window-state change, before the frame lays itself out.
    void followWindowState(bool sized);
    void restoreCreatedMaximized();
    void keepMaximizedInWorkArea();

    QPointer<QWidget> m_host;
    QPointer<QWidget> m_frame;
    bool m_sizeable = false;
    bool m_frameless = false;
    bool m_inHostPaint = false;
    QSize m_minimum;
    QRect m_restoreBounds;
    bool m_createdMaximized = false;
    // Whether the host had the platform's frame before: only then does a maximised host keep
    // off the task bar (a frameless window maximised by the platform may cover it).
    bool m_initiallyFramed = false;
    bool m_followingState = false;
    // Manual sizing and moving where the platform does neither itself.
    Qt::Edges m_resizeEdges;
    QRect m_resizeStartGeometry;
    QPoint m_resizeStartPos;
    std::optional<QPoint> m_moveOffset;
};

} // namespace vocafetch
