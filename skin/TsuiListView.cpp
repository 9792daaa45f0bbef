#include "TsuiListView.h"

#include <QMouseEvent>

TsuiListView::TsuiListView(QWidget *parent)
    : QListWidget(parent), m_link(new ScrollBarLink(this, ScrollBarLink::ListKind::ListView)),
      m_frame(this, [this](TsuiUIStyle style) { setUIStyle(style); })
{
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListView::itemsRemoved);
    setUIStyle(m_frame.uiStyle());
}

TsuiListView::~TsuiListView()
{
    // The items go away with the base class: neither this list nor its link may hear of it.
    disconnect(model(), nullptr, this, nullptr);
    delete m_link;
    m_link = nullptr;
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
    const bool handled = QListWidget::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        m_frame.paintBorder();
        break;
    case QEvent::Resize:
        m_link->PlaceScrollBars();
        break;
    default:
        break;
    }
    return handled;
}

void TsuiListView::itemsRemoved()
{
    executeDelayedItemsLayout();
    m_link->MirrorScrollState();
}

void TsuiListView::keyPressEvent(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
    m_link->MirrorScrollState();
}

void TsuiListView::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(true);
    m_link->MirrorScrollState();
}

void TsuiListView::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    if (m_link->isLeftButtonHeld())
        m_link->MirrorScrollState();
}

void TsuiListView::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(false);
}

void TsuiListView::wheelEvent(QWheelEvent *event)
{
    QListWidget::wheelEvent(event);
    m_link->MirrorScrollState();
}

void TsuiListView::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_link->MirrorScrollState();
}

void TsuiListView::moveEvent(QMoveEvent *event)
{
    QListWidget::moveEvent(event);
    m_link->PlaceScrollBars();
}

void TsuiListView::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    m_link->PlaceScrollBars();
}
