#include "TsuiListBox.h"

#include "StyleLookup.h"
#include "StyleResolve.h"
#include "TsuiListView.h"

#include <QMouseEvent>

TsuiListBox::TsuiListBox(QWidget *parent)
    : QListWidget(parent), m_uiStyle(OwnerFormStyle(parent ? parent->window() : nullptr)),
      m_link(new ScrollBarLink(this, ScrollBarLink::ListKind::ListBox))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    // Strings added, inserted, removed or replaced: the bar follows at once.
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &TsuiListBox::itemsChanged);
    connect(model(), &QAbstractItemModel::modelReset, this, &TsuiListBox::itemsChanged);
    setUIStyle(m_uiStyle);
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
    if (TsuiScrollBar *bar = VScrollBar())
        bar->setFileTheme(theme);
    setUIStyle(m_uiStyle);
}

void TsuiListBox::setUIStyle(TsuiUIStyle style)
{
    m_uiStyle = style;
    const StyleSource source = ResolveStyle(style, m_fileTheme);
    m_borderColor = BgrToQColor(ResolvedColor(style, m_fileTheme, StyleEntry::ControlBorderColor));
    if (TsuiScrollBar *bar = VScrollBar())
        bar->setUIStyle(source.style);
    update();
}

void TsuiListBox::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

bool TsuiListBox::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        PaintListBorder(this, m_borderColor, palette().color(QPalette::Base));
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
