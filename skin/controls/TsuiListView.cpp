#include "skin/controls/TsuiListView.h"

#include <QEvent>

using namespace vocafetch;

TsuiListView::TsuiListView(QWidget *parent)
    : SkinnedListWidget(parent, ScrollBarLink::ListKind::ListView),
      m_frame(this, [this](TsuiUIStyle style) { setUIStyle(style); })
{
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListView::itemsRemoved);
    setUIStyle(m_frame.uiStyle());
}

void TsuiListView::setFileTheme(TsuiFileTheme *theme)
{
    m_frame.setFileTheme(theme);
    setUIStyle(m_frame.uiStyle());
}

void TsuiListView::setUIStyle(TsuiUIStyle style)
{
    const TsuiUIStyle barStyle = m_frame.setUIStyle(style);
    for (TsuiScrollBar *bar : {VScrollBar(), HScrollBar()}) {
        if (bar)
            bar->setUIStyle(barStyle);
    }
    update();
}

void TsuiListView::setBorderColor(const QColor &color)
{
    m_frame.setBorderColor(color);
    update();
}

bool TsuiListView::event(QEvent *event)
{
    const bool handled = SkinnedListWidget::event(event);
    if (event->type() == QEvent::Paint)
        m_frame.paintBorder();
    return handled;
}

void TsuiListView::itemsRemoved()
{
    executeDelayedItemsLayout();
    scrollBarLink()->MirrorScrollState();
}
