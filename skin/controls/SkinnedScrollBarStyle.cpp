#include "skin/controls/SkinnedScrollBarStyle.h"

#include <QPainter>
#include <QScrollBar>
#include <QWidget>

namespace vocafetch {

namespace {

// Which of an arrow's three pictures shows: 0 normal, 1 under the mouse, 2 pressed.
int arrowState(const QStyleOptionSlider *bar, QStyle::SubControl arrow)
{
    if (!(bar->state & QStyle::State_Enabled) || !(bar->activeSubControls & arrow))
        return 0;
    if (bar->state & QStyle::State_Sunken)
        return 2;
    return (bar->state & QStyle::State_MouseOver) ? 1 : 0;
}

// Draws picture over target, stretched when their sizes differ. It is scaled once, smoothly, to
// the device pixels it covers, so that a high-density screen shows it sharp and a bar thinner
// than the artwork keeps the arrow's shape.
void drawStretched(QPainter *painter, const QRect &target, const QImage &picture)
{
    if (target.isEmpty() || picture.isNull())
        return;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QImage shown = ScaledScrollBarPicture(picture, target.size() * ratio);
    shown.setDevicePixelRatio(ratio);
    painter->drawImage(target.topLeft(), shown);
}

} // namespace

QStyleOptionSlider ScrollBarOption(const QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return option;
}

QRect ScrollBarPart(const QScrollBar *bar, QStyle::SubControl part)
{
    const QStyleOptionSlider option = ScrollBarOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

QImage ScaledScrollBarPicture(const QImage &picture, const QSize &size)
{
    if (picture.size() == size)
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

SkinnedScrollBarStyle::SkinnedScrollBarStyle(QObject *owner) : QProxyStyle()
{
    setParent(owner);
}

void SkinnedScrollBarStyle::setArtwork(TsuiUIStyle style, const TsuiFileTheme *theme)
{
    m_vertical = LoadScrollBarArtwork(style, theme, Qt::Vertical);
    m_horizontal = LoadScrollBarArtwork(style, theme, Qt::Horizontal);
}

void SkinnedScrollBarStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    // The arrows show a picture of their own under the mouse.
    widget->setAttribute(Qt::WA_Hover);
}

void SkinnedScrollBarStyle::drawComplexControl(ComplexControl control,
                                               const QStyleOptionComplex *option, QPainter *painter,
                                               const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    drawScrollBar(bar, painter, widget);
}

void SkinnedScrollBarStyle::drawScrollBar(const QStyleOptionSlider *bar, QPainter *painter,
                                          const QWidget *widget) const
{
    const ScrollBarArtwork &art = artwork(bar->orientation);
    const auto rect = [&](SubControl part) {
        return subControlRect(CC_ScrollBar, bar, part, widget);
    };
    painter->save();
    painter->fillRect(bar->rect, art.track);
    drawStretched(painter, rect(SC_ScrollBarSubLine),
                  art.arrows[arrowState(bar, SC_ScrollBarSubLine)]);
    drawStretched(painter, rect(SC_ScrollBarAddLine),
                  art.arrows[3 + arrowState(bar, SC_ScrollBarAddLine)]);
    const QRect slider = rect(SC_ScrollBarSlider);
    if (bar->minimum < bar->maximum && !slider.isEmpty()) {
        const bool vertical = bar->orientation == Qt::Vertical;
        const QImage piece =
            ComposeSlider(art.sliderStart, art.sliderMiddle, art.sliderEnd,
                          vertical ? slider.height() : slider.width(), bar->orientation);
        drawStretched(painter, slider, piece);
    }
    painter->restore();
}

} // namespace vocafetch
