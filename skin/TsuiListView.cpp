#include "TsuiListView.h"

#include "StyleLookup.h"
#include "StyleResolve.h"

#include <QMouseEvent>
#include <QPainter>

void PaintListBorder(QWidget *list, const QColor &border, const QColor &inner)
{
    QPainter painter(list);
    painter.setPen(Qt::NoPen);
    const QRect outer = list->rect();
    auto frame = [&painter](const QRect &r, const QColor &color) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
    };
    frame(outer, border);
    frame(outer.adjusted(1, 1, -1, -1), inner);
}

TsuiListView::TsuiListView(QWidget *parent)
    : QListWidget(parent), m_uiStyle(OwnerFormStyle(parent ? parent->window() : nullptr)),
      m_link(new ScrollBarLink(this, ScrollBarLink::ListKind::ListView))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // No system frame: two pixels of frame room that the skinned ring fills.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListView::itemsRemoved);
    setUIStyle(m_uiStyle);
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
    if (m_fileTheme != theme) {
        if (m_fileTheme)
            disconnect(m_fileTheme, nullptr, this, nullptr);
        m_fileTheme = theme;
        if (theme) {
            connect(theme, &QObject::destroyed, this, [this]() {
                m_fileTheme = nullptr;
                setUIStyle(TsuiUIStyle::DeepBlue);
            });
            connect(theme, &TsuiFileTheme::themeLoaded, this, [this]() { setUIStyle(m_uiStyle); });
        }
    }
    setUIStyle(m_uiStyle);
}

void TsuiListView::setUIStyle(TsuiUIStyle style)
{
    m_uiStyle = style;
    const StyleSource source = ResolveStyle(style, m_fileTheme);
    m_borderColor = BgrToQColor(ResolvedColor(style, m_fileTheme, StyleEntry::ControlBorderColor));
    for (TsuiScrollBar *bar : {VScrollBar(), HScrollBar()}) {
        if (bar)
            bar->setUIStyle(source.style);
    }
    update();
}

void TsuiListView::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

bool TsuiListView::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        PaintListBorder(this, m_borderColor, palette().color(QPalette::Base));
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
