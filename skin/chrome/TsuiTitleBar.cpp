#include "skin/chrome/TsuiTitleBar.h"

#include "skin/chrome/ChromeAccessibility.h"
#include "skin/chrome/FramelessHost.h"
#include "skin/chrome/TsuiTitleBarPopupMenu.h"
#include "skin/chrome/WindowRegion.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/PixelMap.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"
#include "skin/style/TsuiFileTheme.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>

using namespace vocafetch;

namespace {

// The title text colour of an inactive window: the platform's inactive window text when it has
// one of its own, otherwise the classic inactive caption colour.
QColor inactiveCaptionColor()
{
    const QPalette palette = QGuiApplication::palette();
    const QColor inactive = palette.color(QPalette::Inactive, QPalette::WindowText);
    if (inactive != palette.color(QPalette::Active, QPalette::WindowText))
        return inactive;
    return BgrToQColor(0xFF000003);
}

// A button picture as drawn on the bar: the normal picture's size; with transparent set, the
// colour of its bottom-left pixel shows the bar behind it.
QImage buttonScratch(const QImage &picture, const QSize &size, bool transparent)
{
    QImage scratch(size, QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    {
        QPainter p(&scratch);
        p.drawImage(0, 0, picture);
    }
    if (!transparent || scratch.isNull())
        return scratch;
    return MaskedByColor(scratch, scratch.pixel(0, scratch.height() - 1));
}

QVector<TitleButtonSpec> buttonSpecs(const TsuiTitleBarButtons &buttons)
{
    QVector<TitleButtonSpec> specs;
    for (int i = 0; i < buttons.count(); ++i) {
        const TsuiTitleBarButton *b = buttons.item(i);
        specs.push_back({b->ButtonType(), b->Visible(), b->Top(), b->PicNormal().size()});
    }
    return specs;
}

QString defaultButtonName(TsuiTitleBarBtnType type)
{
    switch (type) {
    case TsuiTitleBarBtnType::suiMax:
        return QStringLiteral("Maximize");
    case TsuiTitleBarBtnType::suiMin:
        return QStringLiteral("Minimize");
    case TsuiTitleBarBtnType::suiClose:
        return QStringLiteral("Close");
    case TsuiTitleBarBtnType::suiHelp:
        return QStringLiteral("Help");
    case TsuiTitleBarBtnType::suiControlBox:
        return QStringLiteral("Window menu");
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
    return QStringLiteral("Button");
}

} // namespace

TsuiTitleBar::TsuiTitleBar(QWidget *owner)
    : QWidget(owner), m_sections(std::make_unique<TsuiTitleBarSections>(this)),
      m_buttons(std::make_unique<TsuiTitleBarButtons>(this))
{
    setObjectName(QStringLiteral("TitleBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_windowMenu = std::make_unique<TsuiTitleBarPopupMenu>(this);
    for (TsuiTitleBarBtnType type :
         {TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose,
          TsuiTitleBarBtnType::suiMax, TsuiTitleBarBtnType::suiMin})
        m_buttons->add()->setButtonType(type);
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setPixelSize(11);
    captionFont.setBold(true);
    QWidget::setFont(captionFont);
    m_fontColor = Qt::white;
    setUIStyle(OwnerFormStyle(owner));
    registerWithWindow();
    installChromeAccessibility();
}

TsuiTitleBar::~TsuiTitleBar()
{
    if (m_windowAgent)
        m_windowAgent->removeTitleBar(this);
}

void TsuiTitleBar::registerWithWindow()
{
    if (m_windowAgent) {
        m_windowAgent->removeTitleBar(this);
        disconnect(m_windowAgent, nullptr, this, nullptr);
    }
    m_windowAgent = parentWidget() ? vocafetch::FramelessHost::of(this) : nullptr;
    if (!m_windowAgent)
        return;
    m_windowAgent->addTitleBar(this, [this](const QPoint &pos) { return hotButtonAt(pos) != -1; });
    connect(m_windowAgent, &vocafetch::FramelessHost::captionDoubleClicked, this,
            &TsuiTitleBar::captionDoubleClicked);
}

QWidget *TsuiTitleBar::parentForm() const
{
    return parentWidget() ? window() : nullptr;
}

vocafetch::FramelessHost *TsuiTitleBar::frameHost() const
{
    vocafetch::FramelessHost *agent = vocafetch::FramelessHost::find(this);
    return agent && parentWidget() && agent->frame() == parentWidget() ? agent : nullptr;
}

bool TsuiTitleBar::onSkinnedFrame() const
{
    return frameHost() != nullptr;
}

void TsuiTitleBar::setFileTheme(TsuiFileTheme *theme)
{
    FollowFileTheme(this, m_theme, theme, [this]() { setUIStyle(TsuiUIStyle::DeepBlue); });
    m_keepFontColor = true;
    setUIStyle(m_style);
    m_keepFontColor = false;
}

void TsuiTitleBar::setUIStyle(TsuiUIStyle style)
{
    m_style = style;
    if (m_custom)
        return;
    m_sections->clear();
    const StyleSource source = ResolveStyle(style, m_theme.data());
    const TsuiUIStyle resolved = source.fromTheme ? TsuiUIStyle::FromThemeFile : source.style;
    applyStyleValues(resolved);
    for (int i = 0; i < m_buttons->count(); ++i)
        m_buttons->item(i)->setUIStyle(resolved);
    m_windowMenu->setUIStyle(resolved);
    m_windowMenu->setFileTheme(m_theme.data());
    if (onSkinnedFrame())
        SetWindowRegion(m_roundCorner);
    if (!m_keepFontColor)
        m_fontColor = style == TsuiUIStyle::MacOS ? QColor(Qt::black) : QColor(Qt::white);
    setAutoSize(true);
    update();
}

void TsuiTitleBar::applyStyleValues(TsuiUIStyle resolved)
{
    const TsuiFileTheme *theme = m_theme.data();
    auto addSection = [&](int entry, TsuiTitleBarAlign align, bool autoSize) {
        TsuiTitleBarSection *section = m_sections->add();
        QImage picture;
        ResolvedBitmap(resolved, theme, entry, &picture);
        section->setPicture(picture);
        if (autoSize)
            section->setAutoSize(true);
        if (align != TsuiTitleBarAlign::suiLeft)
            section->setAlign(align);
    };
    addSection(StyleEntry::TitleBarLeftImage, TsuiTitleBarAlign::suiLeft, true);
    addSection(StyleEntry::TitleBarRightImage, TsuiTitleBarAlign::suiRight, true);
    addSection(StyleEntry::TitleBarClientImage, TsuiTitleBarAlign::suiClient, false);
    m_leftBtnXOffset = ResolvedInt(resolved, theme, StyleEntry::TitleBarButtonLeftOffsetInt);
    m_rightBtnXOffset = ResolvedInt(resolved, theme, StyleEntry::TitleBarButtonRightOffsetInt);
    m_frameColor = BgrToQColor(ResolvedColor(resolved, theme, StyleEntry::FormBorderColor));
    QImage strip;
    ResolvedBitmap(resolved, theme, StyleEntry::TitleBarButtonImage, &strip);
    m_buttonStripHeight = strip.height();
    m_buttonTop = ResolvedInt(resolved, theme, StyleEntry::TitleBarButtonTopInt);
    const int minWidth = ResolvedInt(resolved, theme, StyleEntry::FormMinWidthInt);
    if (vocafetch::FramelessHost *agent = frameHost())
        agent->setMinimumWidth(minWidth);
    else if (QWidget *form = parentForm())
        form->setMinimumWidth(std::max(0, minWidth));
    m_roundCorner = ResolvedInt(resolved, theme, StyleEntry::FormRoundCornerInt);
}

void TsuiTitleBar::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_sections->count() == 0) {
        m_autoSize = false;
        return;
    }
    // Without a picture (no artwork for the style) the height stays.
    const QImage &first = m_sections->item(0)->Picture();
    if (!first.isNull())
        setFixedHeight(first.height());
}

void TsuiTitleBar::setButtonInterval(int interval)
{
    m_buttonInterval = interval;
    update();
}

void TsuiTitleBar::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TsuiTitleBar::setFontColor(const QColor &color)
{
    m_fontColor = color;
    update();
}

void TsuiTitleBar::setFormActive(bool active)
{
    m_formActive = active;
    update();
}

void TsuiTitleBar::setLeftBtnXOffset(int offset)
{
    m_leftBtnXOffset = offset;
    update();
}

void TsuiTitleBar::setRightBtnXOffset(int offset)
{
    m_rightBtnXOffset = offset;
    update();
}

void TsuiTitleBar::setDrawAppIcon(bool draw)
{
    m_drawAppIcon = draw;
    update();
}

void TsuiTitleBar::setRoundCorner(int corner)
{
    m_roundCorner = corner;
    if (onSkinnedFrame())
        SetWindowRegion(corner);
}

void TsuiTitleBar::SetWindowRegion(int corner)
{
    if (QWidget *form = parentForm())
        ::SetWindowRegion(form, corner);
}

void TsuiTitleBar::itemsChanged()
{
    update();
}

void TsuiTitleBar::UpdateMaxPictures()
{
    for (int i = 0; i < m_buttons->count(); ++i)
        m_buttons->item(i)->UpdateMaxPictures();
}

TitleButtonLayout TsuiTitleBar::buttonLayout() const
{
    return LayoutTitleButtons(buttonSpecs(*m_buttons), width(), m_leftBtnXOffset, m_rightBtnXOffset,
                              m_buttonInterval, m_drawAppIcon);
}

QString TsuiTitleBar::shownCaption() const
{
    const TitleButtonLayout layout = buttonLayout();
    const QFontMetrics metrics(font());
    return FitTitleCaption(m_caption, layout.captionRight - layout.captionLeft,
                           [&](const QString &text) { return metrics.horizontalAdvance(text); });
}

int TsuiTitleBar::hotButtonAt(const std::optional<QPoint> &pos) const
{
    return pos ? TitleButtonAt(buttonLayout(), *pos) : -1;
}

void TsuiTitleBar::PaintSections(QImage *bitmap) const
{
    QVector<TitleSectionSpec> specs;
    for (int i = 0; i < m_sections->count(); ++i) {
        const TsuiTitleBarSection *s = m_sections->item(i);
        specs.push_back({s->Align(), s->Width(), s->Stretch()});
    }
    QPainter p(bitmap);
    for (const TitleSectionPlacement &placed :
         LayoutTitleSections(specs, bitmap->width(), bitmap->height())) {
        const QImage &picture = m_sections->item(placed.section)->Picture();
        if (picture.isNull())
            continue;
        if (placed.stretch)
            p.drawImage(placed.target, picture);
        else
            p.drawImage(placed.target.topLeft(), picture,
                        QRect(QPoint(0, 0), placed.target.size()));
    }
}

void TsuiTitleBar::PaintButtonsAndCaption(QImage *bitmap) const
{
    const TitleButtonLayout layout = buttonLayout();
    m_hotButton = hotButtonAt(m_mousePos);
    QPainter p(bitmap);
    for (int i = 0; i < m_buttons->count(); ++i) {
        const QRect &r = layout.rects[i];
        if (r.isNull())
            continue;
        const TsuiTitleBarButton *b = m_buttons->item(i);
        if (i == layout.controlBox && m_drawAppIcon) {
            p.drawPixmap(r.left() + 3, b->Top(), SkinProgramIcon().pixmap(16, 16));
            continue;
        }
        const QImage &picture = i != m_hotButton ? b->PicNormal()
                                : m_pressed      ? b->PicMouseDown()
                                                 : b->PicMouseOn();
        p.drawImage(r.topLeft(), buttonScratch(picture, b->PicNormal().size(), b->Transparent()));
    }

    QFont captionFont = font();
    p.setFont(captionFont);
    p.setPen(m_formActive ? m_fontColor : inactiveCaptionColor());
    const QFontMetrics metrics(captionFont);
    const int top = (m_buttonStripHeight - metrics.height()) / 2 + m_buttonTop;
    p.drawText(QPoint(layout.captionLeft, top + metrics.ascent()), shownCaption());
}

QImage TsuiTitleBar::renderBar() const
{
    QImage bitmap(size(), QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    if (bitmap.isNull())
        return bitmap;
    PaintSections(&bitmap);
    PaintButtonsAndCaption(&bitmap);
    if (m_style != TsuiUIStyle::WinXP && m_roundCorner != 0 && onSkinnedFrame()) {
        QPainter p(&bitmap);
        p.setPen(m_frameColor);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRect(-1, 0, width() + 2, height() + 50), (m_roundCorner + 1) / 2.0,
                          m_roundCorner / 2.0);
    }
    return bitmap;
}

void TsuiTitleBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, renderBar());
}

void TsuiTitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Presses that move or size the window stay with the window's agent; what arrives here is a
    // press on a button, or on the caption of a window that does not move (maximised).
    m_mousePos = event->position().toPoint();
    m_pressed = true;
    m_hotButton = hotButtonAt(m_mousePos);
    repaint();
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    m_mousePos = event->position().toPoint();
    m_hotButton = hotButtonAt(m_mousePos);
    update();
}

void TsuiTitleBar::openWindowMenu()
{
    const QPoint at = mapToGlobal(QPoint(0, height()));
    m_windowMenu->Popup(at.x(), at.y());
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_mousePos = event->position().toPoint();
    const int hot = m_pressed ? hotButtonAt(m_mousePos) : -1;
    QPointer<TsuiTitleBar> self(this);
    if (hot != -1)
        PressButton(hot);
    if (!self)
        return;
    m_pressed = false;
    update();
}

void TsuiTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    // Double clicks on the caption reach the bar through its window's agent.
    const int hot = hotButtonAt(event->position().toPoint());
    if (hot != -1 && m_buttons->item(hot)->ButtonType() == TsuiTitleBarBtnType::suiControlBox) {
        if (QWidget *form = parentForm())
            form->close();
    }
}

void TsuiTitleBar::captionDoubleClicked(QWidget *bar)
{
    if (bar != this)
        return;
    for (int i = 0; i < m_buttons->count(); ++i) {
        if (m_buttons->item(i)->ButtonType() == TsuiTitleBarBtnType::suiMax) {
            ButtonClick(i);
            return;
        }
    }
}

void TsuiTitleBar::leaveEvent(QEvent *event)
{
    m_mousePos.reset();
    m_hotButton = -1;
    update();
    QWidget::leaveEvent(event);
}

void TsuiTitleBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        update();
    else if (event->type() == QEvent::ParentChange)
        registerWithWindow();
    QWidget::changeEvent(event);
}

void TsuiTitleBar::PressButton(int index)
{
    if (index < 0 || index >= m_buttons->count())
        return;
    const TsuiTitleBarButton *b = m_buttons->item(index);
    const TsuiTitleBarBtnType type = b->ButtonType();
    if (type == TsuiTitleBarBtnType::suiControlBox && !b->ControlBoxMenu()) {
        openWindowMenu();
        return;
    }
    QPointer<TsuiTitleBar> self(this);
    ButtonClick(index);
    if (self && type == TsuiTitleBarBtnType::suiCustom)
        emit OnCustomBtnsClick(this, index);
    else if (self && type == TsuiTitleBarBtnType::suiHelp)
        emit OnHelpBtnClick(this, index);
}

void TsuiTitleBar::setButtonAccessibleText(TsuiTitleBarBtnType type, const QString &name,
                                           const QString &description)
{
    m_buttonTexts[type] = {name, description};
}

QString TsuiTitleBar::ButtonAccessibleName(int index) const
{
    if (index < 0 || index >= m_buttons->count())
        return {};
    const TsuiTitleBarBtnType type = m_buttons->item(index)->ButtonType();
    const auto set = m_buttonTexts.find(type);
    return set != m_buttonTexts.end() && !set->second.first.isEmpty() ? set->second.first
                                                                      : defaultButtonName(type);
}

QString TsuiTitleBar::ButtonAccessibleDescription(int index) const
{
    if (index < 0 || index >= m_buttons->count())
        return {};
    const auto set = m_buttonTexts.find(m_buttons->item(index)->ButtonType());
    return set != m_buttonTexts.end() ? set->second.second : QString();
}

void TsuiTitleBar::ButtonClick(int index)
{
    QWidget *form = parentForm();
    if (!form || index < 0 || index >= m_buttons->count())
        return;
    TsuiTitleBarButton *b = m_buttons->item(index);
    switch (b->ButtonType()) {
    case TsuiTitleBarBtnType::suiMax:
        if (vocafetch::FramelessHost *agent = frameHost()) {
            agent->toggleMaximized();
        } else if (form->isMaximized()) {
            form->showNormal();
        } else {
            // A window with the platform's frame is sized to the screen's free area.
            form->showMaximized();
            if (form->screen())
                form->setGeometry(form->screen()->availableGeometry());
        }
        b->UpdateMaxPictures();
        break;
    case TsuiTitleBarBtnType::suiMin:
        form->showMinimized();
        break;
    case TsuiTitleBarBtnType::suiClose:
        form->close();
        break;
    case TsuiTitleBarBtnType::suiControlBox:
        if (QMenu *menu = b->ControlBoxMenu())
            menu->popup(mapToGlobal(QPoint(0, height())));
        break;
    case TsuiTitleBarBtnType::suiHelp:
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
}
