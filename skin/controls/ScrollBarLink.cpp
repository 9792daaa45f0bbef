#include "skin/controls/ScrollBarLink.h"

#include "skin/controls/SkinnedScrollBarStyle.h"
#include "skin/controls/TsuiScrollBar.h"

#include <QAbstractScrollArea>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <cstdlib>

namespace vocafetch {

ScrollMath::ScrollInfo ScrollInfoOf(const QScrollBar *bar)
{
    // The platform's range ends at the last unit shown; Qt's maximum is the last position.
    ScrollMath::ScrollInfo info;
    info.nMin = bar->minimum();
    info.nPage = bar->pageStep();
    info.nMax = bar->maximum() + bar->pageStep() - 1;
    info.nPos = bar->value();
    return info;
}

bool OwnScrollBarShown(const QAbstractScrollArea *list, Qt::Orientation orientation)
{
    const bool vertical = orientation == Qt::Vertical;
    const Qt::ScrollBarPolicy policy =
        vertical ? list->verticalScrollBarPolicy() : list->horizontalScrollBarPolicy();
    const QScrollBar *own = vertical ? list->verticalScrollBar() : list->horizontalScrollBar();
    switch (policy) {
    case Qt::ScrollBarAlwaysOff:
        return false;
    case Qt::ScrollBarAlwaysOn:
        return true;
    case Qt::ScrollBarAsNeeded:
        break;
    }
    return own->maximum() > own->minimum();
}

int ThumbLength(const QScrollBar *bar)
{
    const QRect thumb = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    return std::abs(bar->orientation() == Qt::Vertical ? thumb.height() : thumb.width());
}

ScrollBarLink::ScrollBarLink(QAbstractScrollArea *list, ListKind kind)
    : QObject(list), m_list(list), m_kind(kind)
{
    // The list scrolled (keys, wheel, its own bars, a forwarded move) or its content changed
    // size (items added or removed, once laid out): the bars follow.
    for (QScrollBar *own : {list->verticalScrollBar(), list->horizontalScrollBar()}) {
        connect(own, &QScrollBar::valueChanged, this, &ScrollBarLink::MirrorScrollState);
        connect(own, &QScrollBar::rangeChanged, this, &ScrollBarLink::MirrorScrollState);
    }
}

QPointer<TsuiScrollBar> &ScrollBarLink::slot(Qt::Orientation orientation)
{
    return orientation == Qt::Vertical ? m_vertical : m_horizontal;
}

TsuiScrollBar *ScrollBarLink::bar(Qt::Orientation orientation) const
{
    return orientation == Qt::Vertical ? m_vertical : m_horizontal;
}

QScrollBar *ScrollBarLink::ownBar(Qt::Orientation orientation) const
{
    return orientation == Qt::Vertical ? m_list->verticalScrollBar()
                                       : m_list->horizontalScrollBar();
}

void ScrollBarLink::LinkScrollBar(Qt::Orientation orientation, TsuiScrollBar *newBar)
{
    QPointer<TsuiScrollBar> &linked = slot(orientation);
    if (linked == newBar)
        return;
    if (linked) {
        disconnect(linked, &TsuiScrollBar::changed, this, nullptr);
        linked->setLineButton(0);
        linked->setMax(100);
        linked->setEnabled(true);
    }
    linked = newBar;
    if (!newBar)
        return;
    if (m_kind == ListKind::ListView)
        newBar->setSmallChange(5);
    newBar->setOrientation(orientation == Qt::Vertical ? TsuiScrollBar::suiVertical
                                                       : TsuiScrollBar::suiHorizontal);
    connect(newBar, &TsuiScrollBar::changed, this,
            [this, orientation]() { ForwardScroll(orientation); });
    newBar->raise();
    PlaceScrollBars();
}

bool ScrollBarLink::shown(const TsuiScrollBar *bar)
{
    return bar && !bar->isHidden();
}

void ScrollBarLink::PlaceScrollBars()
{
    // Both are siblings of the list; a bar elsewhere gets the same place on screen.
    auto place = [this](TsuiScrollBar *bar, QRect geometry) {
        QWidget *from = m_list->parentWidget(), *to = bar->parentWidget();
        if (from && to && from != to)
            geometry.moveTopLeft(to->mapFromGlobal(from->mapToGlobal(geometry.topLeft())));
        bar->setGeometry(geometry);
    };
    const QRect list = m_list->geometry();
    auto barRect = [this](const TsuiScrollBar *bar) {
        QRect r = bar->geometry();
        QWidget *from = bar->parentWidget(), *to = m_list->parentWidget();
        if (from && to && from != to)
            r.moveTopLeft(to->mapFromGlobal(from->mapToGlobal(r.topLeft())));
        return r;
    };
    if (m_kind == ListKind::ListBox) {
        if (m_vertical)
            place(m_vertical, ScrollMath::PlaceListBoxVerticalBar(list, barRect(m_vertical)));
    } else {
        if (m_horizontal)
            place(m_horizontal, ScrollMath::PlaceListViewHorizontalBar(
                                    list, barRect(m_horizontal), shown(m_vertical),
                                    m_vertical ? m_vertical->width() : 0));
        if (m_vertical)
            place(m_vertical, ScrollMath::PlaceListViewVerticalBar(
                                  list, barRect(m_vertical), shown(m_horizontal),
                                  m_horizontal ? m_horizontal->height() : 0));
    }
    MirrorScrollState();
}

void ScrollBarLink::mirrorInto(TsuiScrollBar *bar, Qt::Orientation orientation)
{
    const QScrollBar *own = ownBar(orientation);
    if (!OwnScrollBarShown(m_list, orientation) || !own->isEnabled()) {
        bar->setLineButton(0);
        bar->setEnabled(false);
        bar->hide();
    } else {
        bar->setLineButton(ThumbLength(own));
        bar->setEnabled(true);
        bar->show();
    }
    const ScrollMath::MirroredRange range = ScrollMath::MirrorRange(ScrollInfoOf(own));
    bar->setMax(range.max);
    bar->setMin(range.min);
    bar->setPosition(range.position);
}

void ScrollBarLink::MirrorScrollState()
{
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    if (m_vertical)
        mirrorInto(m_vertical, Qt::Vertical);
    if (m_horizontal && m_kind == ListKind::ListView)
        mirrorInto(m_horizontal, Qt::Horizontal);
}

void ScrollBarLink::ForwardScroll(Qt::Orientation orientation)
{
    if (m_syncing)
        return;
    const TsuiScrollBar *linked = bar(orientation);
    if (!linked)
        return;
    QScrollBar *own = ownBar(orientation);
    const int before = own->value();
    if (m_kind == ListKind::ListBox)
        own->setValue(linked->Position());
    else
        own->setValue(before + linked->lastChange());
    m_list->viewport()->update();
    // A move the list could not follow: put the bar back where the list is.
    if (own->value() == before)
        MirrorScrollState();
}

} // namespace vocafetch
