#include "skin/controls/SkinnedListWidget.h"

#include <QMouseEvent>

namespace vocafetch {

SkinnedListWidget::SkinnedListWidget(QWidget *parent, ScrollBarLink::ListKind kind)
    : QListWidget(parent), m_link(new ScrollBarLink(this, kind))
{
}

SkinnedListWidget::~SkinnedListWidget()
{
    // The items go away with the base class: neither this list nor its link may hear of it.
    disconnect(model(), nullptr, this, nullptr);
    delete m_link;
    m_link = nullptr;
}

bool SkinnedListWidget::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Resize)
        m_link->PlaceScrollBars();
    return handled;
}

void SkinnedListWidget::keyPressEvent(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
    m_link->MirrorScrollState();
}

void SkinnedListWidget::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(true);
    m_link->MirrorScrollState();
}

void SkinnedListWidget::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    if (m_link->isLeftButtonHeld())
        m_link->MirrorScrollState();
}

void SkinnedListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(false);
}

void SkinnedListWidget::wheelEvent(QWheelEvent *event)
{
    QListWidget::wheelEvent(event);
    m_link->MirrorScrollState();
}

void SkinnedListWidget::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_link->MirrorScrollState();
}

void SkinnedListWidget::moveEvent(QMoveEvent *event)
{
    QListWidget::moveEvent(event);
    m_link->PlaceScrollBars();
}

void SkinnedListWidget::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    m_link->PlaceScrollBars();
}

} // namespace vocafetch
