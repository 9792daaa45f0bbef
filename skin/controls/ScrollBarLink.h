#pragma once
// Keeps skinned scroll bars in step with a list's own scroll bars: the list's range, page and
// position are mirrored into the linked bars, and moving a linked bar scrolls the list. The
// linked bars are siblings of the list, placed over the strips where its own bars lie.

#include "skin/controls/ScrollMath.h"

#include <QObject>
#include <QPointer>

class QAbstractScrollArea;
class QScrollBar;
class TsuiScrollBar;

namespace vocafetch {

// The list's own scroll bar as the platform reports it (range, page, position).
ScrollMath::ScrollInfo ScrollInfoOf(const QScrollBar *bar);
// Whether the list shows its own bar of that orientation (its policy and range allow it).
bool OwnScrollBarShown(const QAbstractScrollArea *list, Qt::Orientation orientation);
// Length in pixels of the thumb of a list's own bar, as its style draws it.
int ThumbLength(const QScrollBar *bar);

class ScrollBarLink : public QObject
{
    Q_OBJECT

public:
    // A list view takes a vertical and a horizontal bar and scrolls by the bar's last change; a
    // list box takes only a vertical bar and scrolls to the bar's position.
    enum class ListKind
    {
        ListView,
        ListBox,
    };

    ScrollBarLink(QAbstractScrollArea *list, ListKind kind);

    TsuiScrollBar *bar(Qt::Orientation orientation) const;
    // Links bar (nullptr unlinks). The bar linked before is released: no longer connected,
    // LineButton 0, Max 100, enabled.
    void LinkScrollBar(Qt::Orientation orientation, TsuiScrollBar *bar);
    // Puts the linked bars over the list's edges, then mirrors.
    void PlaceScrollBars();
    // Copies the list's own scroll state into the linked bars.
    void MirrorScrollState();
    // Scrolls the list after the user moved a linked bar; ignored while mirroring.
    void ForwardScroll(Qt::Orientation orientation);

    bool isSyncing() const { return m_syncing; }
    // Left button held on the list: mouse moves then mirror too.
    void setLeftButtonHeld(bool held) { m_leftButtonHeld = held; }
    bool isLeftButtonHeld() const { return m_leftButtonHeld; }

private:
    QPointer<TsuiScrollBar> &slot(Qt::Orientation orientation);
    QScrollBar *ownBar(Qt::Orientation orientation) const;
    void mirrorInto(TsuiScrollBar *bar, Qt::Orientation orientation);
    static bool shown(const TsuiScrollBar *bar);

    QAbstractScrollArea *m_list;
    ListKind m_kind;
    QPointer<TsuiScrollBar> m_vertical;
    QPointer<TsuiScrollBar> m_horizontal;
    bool m_syncing = false;
    bool m_leftButtonHeld = false;
};

} // namespace vocafetch
