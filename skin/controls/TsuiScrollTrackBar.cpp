#include "skin/controls/TsuiScrollTrackBar.h"

#include "skin/controls/ScrollMath.h"
#include "skin/controls/TsuiCustomButtonPaint.h"
#include "skin/controls/TsuiImagePanel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <limits>

using namespace vocafetch;

namespace {

constexpr int PageRepeatMs = 100;
constexpr int LineSize = 1;

} // namespace

TsuiScrollTrackBar::TsuiScrollTrackBar(QWidget *parent)
    : QWidget(parent), m_color(palette().color(QPalette::Button)),
      m_slider(new TsuiImagePanel(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

TsuiScrollTrackBar::~TsuiScrollTrackBar() = default;

void TsuiScrollTrackBar::setMin(int min)
{
    m_min = std::min(min, m_max);
    setPosition(m_position);
    placeSlider();
}

void TsuiScrollTrackBar::setMax(int max)
{
    m_max = std::max(max, m_min);
    setPosition(m_position);
    placeSlider();
}

void TsuiScrollTrackBar::setPosition(int position)
{
    m_position = std::clamp(position, m_min, m_max);
    positionChanged();
}

void TsuiScrollTrackBar::stepBy(qint64 delta)
{
    setPosition(int(std::clamp<qint64>(m_position + delta, m_min, m_max)));
}

void TsuiScrollTrackBar::positionChanged()
{
    placeSlider();
    update();
    if (m_position == m_reported)
        return;
    m_lastChange = m_position - m_reported;
    m_reported = m_position;
    emit changed();
}

void TsuiScrollTrackBar::setPageSize(int pageSize)
{
    if (pageSize < 0 || pageSize > m_max)
        return;
    m_pageSize = pageSize;
}

void TsuiScrollTrackBar::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TsuiScrollTrackBar::setTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TsuiScrollTrackBar::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    placeSlider();
}

void TsuiScrollTrackBar::setSliderPicture(const QImage &picture)
{
    m_slider->setPicture(picture);
    placeSlider();
}

QImage TsuiScrollTrackBar::sliderPicture() const
{
    return m_slider->Picture();
}

QRect TsuiScrollTrackBar::sliderGeometry() const
{
    return m_slider->geometry();
}

int TsuiScrollTrackBar::trackLength() const
{
    return m_orientation == Qt::Vertical ? height() : width();
}

int TsuiScrollTrackBar::sliderLength() const
{
    return m_orientation == Qt::Vertical ? m_slider->height() : m_slider->width();
}

int TsuiScrollTrackBar::sliderStart() const
{
    return m_orientation == Qt::Vertical ? m_slider->y() : m_slider->x();
}

int TsuiScrollTrackBar::along(const QPoint &p) const
{
    return m_orientation == Qt::Vertical ? p.y() : p.x();
}

int TsuiScrollTrackBar::valueAt(int p) const
{
    return ScrollMath::ValueAtPixel(p, m_min, m_max, trackLength(), sliderLength());
}

void TsuiScrollTrackBar::placeSlider()
{
    const int offset =
        ScrollMath::SliderOffset(m_position, m_min, m_max, trackLength(), sliderLength());
    if (m_orientation == Qt::Vertical)
        m_slider->move(ScrollMath::SliderAcross(width(), m_slider->width()), offset);
    else
        m_slider->move(offset, ScrollMath::SliderAcross(height(), m_slider->height()));
}

void TsuiScrollTrackBar::paintEvent(QPaintEvent *)
{
    QImage offscreen(size(), QImage::Format_RGB32);
    offscreen.fill(m_color);
    if (hasFocus() && m_tabStop) {
        QPainter canvas(&offscreen);
        DrawFocusRect(&canvas, offscreen.rect());
    }
    QPainter screen(this);
    screen.drawImage(0, 0, offscreen);
}

void TsuiScrollTrackBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSlider();
}

void TsuiScrollTrackBar::pageTowards(int p, int step)
{
    const int start = sliderStart();
    if (p == start)
        return;
    const bool forward = p > start;
    setPosition(ScrollMath::PageStepTowards(m_position, step, valueAt(p), forward));
}

void TsuiScrollTrackBar::pageTick()
{
    const qint64 step = m_orientation == Qt::Vertical ? m_pageSize : 3 * qint64(m_pageSize);
    pageTowards(along(m_mouse), int(std::min<qint64>(step, std::numeric_limits<int>::max())));
}

void TsuiScrollTrackBar::stopPaging()
{
    if (!m_pageTimer)
        return;
    m_pageTimer->stop();
    m_pageTimer->deleteLater();
    m_pageTimer = nullptr;
}

void TsuiScrollTrackBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_mouse = event->position().toPoint();
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (m_slider->geometry().contains(m_mouse)) {
        m_dragging = true; // the press grabs the mouse until its release
        return;
    }
    const int p = along(m_mouse);
    const int start = sliderStart();
    if (p >= start + sliderLength())
        setPosition(ScrollMath::PageStepTowards(m_position, m_pageSize, valueAt(p), true));
    else if (p < start)
        setPosition(ScrollMath::PageStepTowards(m_position, m_pageSize, valueAt(p), false));
    if (!m_pageTimer) {
        // A child: it can never fire into a destroyed track.
        m_pageTimer = new QTimer(this);
        m_pageTimer->setInterval(PageRepeatMs);
        connect(m_pageTimer, &QTimer::timeout, this, &TsuiScrollTrackBar::pageTick);
        m_pageTimer->start();
    }
}

void TsuiScrollTrackBar::mouseMoveEvent(QMouseEvent *event)
{
    m_mouse = event->position().toPoint();
    if (m_dragging) {
        setPosition(valueAt(along(m_mouse)));
        return;
    }
    if (m_pageTimer && !rect().contains(m_mouse))
        stopPaging();
}

void TsuiScrollTrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        stopPaging();
    }
    QWidget::mouseReleaseEvent(event);
}

void TsuiScrollTrackBar::leaveEvent(QEvent *event)
{
    if (!m_dragging)
        stopPaging();
    QWidget::leaveEvent(event);
}

void TsuiScrollTrackBar::hideEvent(QHideEvent *event)
{
    m_dragging = false;
    stopPaging();
    QWidget::hideEvent(event);
}

void TsuiScrollTrackBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_dragging = false;
        stopPaging();
    }
    QWidget::changeEvent(event);
}

void TsuiScrollTrackBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        stepBy(-qint64(m_pageSize));
        break;
    case Qt::Key_PageDown:
        stepBy(m_pageSize);
        break;
    case Qt::Key_End:
        setPosition(m_max);
        break;
    case Qt::Key_Home:
        setPosition(m_min);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        stepBy(-LineSize);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        stepBy(LineSize);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
