#include "skin/controls/TsuiListBox.h"

#include <QEvent>

using namespace vocafetch;

TsuiListBox::TsuiListBox(QWidget *parent)
    : SkinnedListWidget(parent, ScrollBarLink::ListKind::ListBox),
      m_frame(this, [this](TsuiUIStyle style) { setUIStyle(style); })
{
    // Strings added, inserted, removed or replaced: the bar follows at once.
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, &TsuiListBox::itemsChanged);
    setUIStyle(m_frame.uiStyle());
}

void TsuiListBox::setFileTheme(TsuiFileTheme *theme)
{
    m_frame.setFileTheme(theme);
    if (TsuiScrollBar *bar = VScrollBar())
        bar->setFileTheme(theme);
    setUIStyle(m_frame.uiStyle());
}

void TsuiListBox::setUIStyle(TsuiUIStyle style)
{
    const TsuiUIStyle barStyle = m_frame.setUIStyle(style);
    if (TsuiScrollBar *bar = VScrollBar())
        bar->setUIStyle(barStyle);
    update();
}

void TsuiListBox::setBorderColor(const QColor &color)
{
    m_frame.setBorderColor(color);
    update();
}

bool TsuiListBox::event(QEvent *event)
{
    const bool handled = SkinnedListWidget::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        m_frame.paintBorder();
        break;
    case QEvent::Show:
        scrollBarLink()->MirrorScrollState();
        break;
    default:
        break;
    }
    return handled;
}

void TsuiListBox::itemsChanged()
{
    executeDelayedItemsLayout();
    scrollBarLink()->MirrorScrollState();
}
