#include "TsuiListBox.h"

#include <QMouseEvent>

TsuiListBox::TsuiListBox(QWidget *parent)
    : QListWidget(parent), m_link(new ScrollBarLink(this, ScrollBarLink::ListKind::ListBox)),
      m_frame(this, [this](TsuiUIStyle style) { setUIStyle(style); })
{
    // Strings added, inserted, removed or replaced: the bar follows at once.
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, &TsuiListBox::itemsChanged);
    setUIStyle(m_frame.uiStyle());
}

TsuiListBox::~TsuiListBox()
{
    // The items go away with the base class: neither this list nor its link may hear of it.
    disconnect(model(), nullptr, this, nullptr);
    delete m_link;
    m_link = nullptr;
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
    const bool handled = QListWidget::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        m_frame.paintBorder();
        break;
    case QEvent::Resize:
        m_link->PlaceScrollBars();
        break;
    case QEvent::Show:
        m_link->MirrorScrollState();
        break;
    default:
        break;
    }
    return handled;
}

void TsuiListBox::itemsChanged()
{
    executeDelayedItemsLayout();
    m_link->MirrorScrollState();
}

void TsuiListBox::keyPressEvent(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
    m_link->MirrorScrollState();
}

void TsuiListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(true);
    m_link->MirrorScrollState();
}

void TsuiListBox::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    if (m_link->isLeftButtonHeld())
        m_link->MirrorScrollState();
}

void TsuiListBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        m_link->setLeftButtonHeld(false);
}

void TsuiListBox::wheelEvent(QWheelEvent *event)
{
    QListWidget::wheelEvent(event);
    m_link->MirrorScrollState();
}

void TsuiListBox::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_link->MirrorScrollState();
}

void TsuiListBox::moveEvent(QMoveEvent *event)
{
    QListWidget::moveEvent(event);
    m_link->PlaceScrollBars();
}

void TsuiListBox::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    m_link->PlaceScrollBars();
}
