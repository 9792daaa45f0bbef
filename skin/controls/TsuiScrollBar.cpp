#include "skin/controls/TsuiScrollBar.h"

#include "skin/controls/ScrollMath.h"
#include "skin/controls/TsuiImageButton.h"
#include "skin/controls/TsuiScrollBarPictures.h"
#include "skin/controls/TsuiScrollTrackBar.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <algorithm>

using namespace vocafetch;

namespace {

constexpr int ArrowRepeatMs = 100;

TsuiImageButton *makeArrowButton(QWidget *parent)
{
    auto *button = new TsuiImageButton(parent);
    button->setTabStop(false);
    button->setMouseContinuouslyDownInterval(ArrowRepeatMs);
    return button;
}

} // namespace

TsuiScrollBar::TsuiScrollBar(QWidget *parent)
    : QWidget(parent), m_uiStyle(OwnerFormStyle(parent ? parent->window() : nullptr)),
      m_decrease(makeArrowButton(this)), m_increase(makeArrowButton(this)),
      m_track(new TsuiScrollTrackBar(this))
{
    m_track->setTabStop(false);
    m_track->setMax(100);
    connect(m_track, &TsuiScrollTrackBar::changed, this, &TsuiScrollBar::changed);
    // The arrows step on the repeat ticks only (every 100 ms while held), not on the press
    // itself: a quick click moves nothing.
    connect(m_decrease, &TsuiImageButton::mouseContinuouslyDown, this,
            [this]() { step(-m_smallChange); });
    connect(m_increase, &TsuiImageButton::mouseContinuouslyDown, this,
            [this]() { step(m_smallChange); });
    resize(120, 17);
    applyStyle();
}

TsuiScrollBar::~TsuiScrollBar() = default;

void TsuiScrollBar::step(int delta)
{
    setPosition(int(std::clamp<qint64>(qint64(Position()) + delta, Min(), Max())));
}

void TsuiScrollBar::setFileTheme(TsuiFileTheme *theme)
{
    FollowFileTheme(
        this, m_fileTheme, theme, [this]() { setUIStyle(TsuiUIStyle::DeepBlue); },
        [this]() { applyStyle(); });
    applyStyle();
}

void TsuiScrollBar::setUIStyle(TsuiUIStyle style)
{
    m_uiStyle = style;
    applyStyle();
}

void TsuiScrollBar::applyStyle()
{
    LoadScrollBarPictures();
    LayoutScrollBar();
}

void TsuiScrollBar::setOrientation(TsuiOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    m_track->setOrientation(vertical() ? Qt::Vertical : Qt::Horizontal);
    // Turn the bar: its long side follows the new orientation.
    if ((vertical() && width() > height()) || (!vertical() && height() > width()))
        resize(height(), width());
    LoadScrollBarPictures();
    LayoutScrollBar();
}

int TsuiScrollBar::Min() const
{
    return m_track->Min();
}

void TsuiScrollBar::setMin(int min)
{
    m_track->setMin(min);
}

int TsuiScrollBar::Max() const
{
    return m_track->Max();
}

void TsuiScrollBar::setMax(int max)
{
    m_track->setMax(max);
}

int TsuiScrollBar::Position() const
{
    return m_track->Position();
}

void TsuiScrollBar::setPosition(int position)
{
    if (position != m_track->Position())
        m_track->setPosition(position);
}

int TsuiScrollBar::PageSize() const
{
    return m_track->PageSize();
}

void TsuiScrollBar::setPageSize(int pageSize)
{
    m_track->setPageSize(pageSize);
    BuildSlider();
}

int TsuiScrollBar::lastChange() const
{
    return m_track->lastChange();
}

void TsuiScrollBar::setColor(const QColor &color)
{
    m_color = color;
    m_track->setColor(color);
}

void TsuiScrollBar::setLineButton(int length)
{
    if (length == m_lineButton)
        return;
    const int room = vertical() ? height() - m_decrease->height() - m_increase->height()
                                : width() - m_decrease->width() - m_increase->width();
    if (length > room)
        return;
    m_lineButton = length;
    BuildSlider();
}

void TsuiScrollBar::LoadScrollBarPictures()
{
    const ScrollBarArtwork art =
        LoadScrollBarArtwork(m_uiStyle, m_fileTheme, vertical() ? Qt::Vertical : Qt::Horizontal);
    setColor(art.track);
    m_sliderStart = art.sliderStart;
    m_sliderMiddle = art.sliderMiddle;
    m_sliderEnd = art.sliderEnd;
    const QImage *arrows = art.arrows;
    m_decrease->setAutoSize(true);
    m_increase->setAutoSize(true);
    m_decrease->setPicNormal(arrows[0]);
    m_decrease->setPicMouseOn(arrows[1]);
    m_decrease->setPicMouseDown(arrows[2]);
    m_increase->setPicNormal(arrows[3]);
    m_increase->setPicMouseOn(arrows[4]);
    m_increase->setPicMouseDown(arrows[5]);
    update();
}

void TsuiScrollBar::LayoutScrollBar()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    const QSize d = m_decrease->size(), i = m_increase->size();
    m_decrease->move(0, 0);
    if (vertical()) {
        resize(d.width(), height());
        m_track->setGeometry(0, d.height(), d.width(), height() - i.height() - d.height() - 1);
        m_increase->move(0, height() - i.height());
    } else {
        resize(width(), d.height());
        m_track->setGeometry(d.width(), 0, width() - i.width() - d.width(), d.height());
        m_increase->move(width() - i.width(), 0);
    }
    m_layingOut = false;
    BuildSlider();
}

void TsuiScrollBar::BuildSlider()
{
    if (m_lineButton > 0)
        m_lineButton = ScrollMath::RaisedLineButton(m_lineButton);
    const int length =
        ScrollMath::SliderLength(m_lineButton, m_track->PageSize(), m_track->trackLength());
    m_track->setSliderPicture(ComposeSlider(m_sliderStart, m_sliderMiddle, m_sliderEnd, length,
                                            vertical() ? Qt::Vertical : Qt::Horizontal));
}

void TsuiScrollBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayoutScrollBar();
}
