#pragma once
// The frameless-window agent of one host window: the frameless flags, the event filter on the
// host, the hit test that decides what a press means, moving and sizing through the platform (or
// by following the mouse where the platform refuses) and maximise/restore. A title bar registers
// its caption area and its buttons with the agent; the agent then moves the window from the
// caption, sizes it from its edges and leaves buttons and other hit-test-visible items to their
// widgets. The skinned frame and the title bar both talk to the agent of their window instead of
// to each other.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QVector>
#include <QWidget>

#include <functional>
#include <optional>

class QMouseEvent;
class QPainter;

namespace vocafetch {

// What a point of the window means, as the agent's hit test answers it.
struct FrameHit
{
    enum Area
    {
        Client,  // left to the widget under it (controls, title-bar buttons, registered items)
        Caption, // a press moves the window, a double click means the caption's
        Edges,   // a press sizes the window from edges
    };
    Area area = Client;
    Qt::Edges edges;
    // The title bar holding the point (for Caption, and for a button on a bar).
    QWidget *titleBar = nullptr;
};

class FramelessHost : public QObject
{
    Q_OBJECT

public:
    // Asks a title bar whether a point (in its own coordinates) lies on one of its buttons.
    using ButtonTest = std::function<bool(const QPoint &)>;

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

    // Registers bar's area as a caption of the window: a left press on it (off its buttons, as
    // onButton tells, and off registered hit-test-visible items) moves the window, a double click
    // there is reported by captionDoubleClicked. A bar lying directly on the frame also sizes a
    // sizeable window from its top rows. The registration ends with the bar.
    void addTitleBar(QWidget *bar, ButtonTest onButton);
    void removeTitleBar(QWidget *bar);
    // Marks a widget lying on a title bar as one that handles the mouse itself: presses on it
    // never move the window.
    void setHitTestVisible(QWidget *item, bool visible = true);

    // What the point at hostPos (host coordinates) means: an edge of a sizeable, not maximised
    // host (the border strips and the frame's outer pixels, or a frame title bar's top rows),
    // a caption, or anything else (the client).
    FrameHit hitTest(const QPoint &hostPos) const;

    // Starts sizing a sizeable, not maximised host from edges with the mouse at globalPos: the
    // platform's own resize, or a manual one that continueResize follows.
    bool startResize(Qt::Edges edges, const QPoint &globalPos);
    bool resizing() const { return bool(m_resizeEdges); }
    void continueResize(const QPoint &globalPos);
    // Starts moving a not maximised host with the mouse at globalPos: the platform's own move, or
    // a manual one that continueMove follows. False for a maximised host.
    bool startMove(const QPoint &globalPos);
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
    // A left double click landed on the caption area of bar.
    void captionDoubleClicked(QWidget *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TitleBarEntry
    {
        QPointer<QWidget> bar;
        ButtonTest onButton;
    };

    explicit FramelessHost(QWidget *host);
    bool hostEvent(QEvent *event);
    // Presses, moves and releases on the host, the frame or a title bar; true when used.
    bool mouseEvent(QWidget *widget, QMouseEvent *event);
    const TitleBarEntry *titleBarHolding(const QWidget *widget) const;
    bool hitTestVisible(const QWidget *widget, const QWidget *bar) const;
    Qt::Edges edgesAt(const QPoint &hostPos, const QWidget *under) const;
    void showEdgeCursor(Qt::Edges edges);
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
    QVector<TitleBarEntry> m_titleBars;
    QVector<QPointer<QWidget>> m_hitTestVisible;
};

} // namespace vocafetch
