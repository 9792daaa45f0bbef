#include "skin/controls/TsuiCustomButton.h"

#include "skin/controls/PaintParentBackground.h"
#include "skin/controls/TsuiCustomButtonPaint.h"
#include "skin/style/FollowFileTheme.h"
#include "skin/style/StyleLookup.h"
#include "skin/style/StyleResolve.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QVariant>

#include <algorithm>

using namespace vocafetch;

namespace {

// The grey of a disabled caption (0x808080) and the white copy under it.
const QColor DisabledTextColor(128, 128, 128);
const QColor DisabledShadowColor(Qt::white);

// The colour behind the face: the nearest skinned container's Color (a frame publishes one),
// else the palette's window colour, which Qt passes down from the parents.
QColor parentColor(const QWidget *button)
{
    for (const QWidget *w = button->parentWidget(); w; w = w->parentWidget()) {
        const QVariant color = w->property("Color");
        if (color.metaType() == QMetaType::fromType<QColor>())
            return color.value<QColor>();
        if (color.canConvert<quint32>() && color.isValid())
            return BgrToQColor(color.value<quint32>());
        if (w->isWindow())
            break;
    }
    return button->palette().color(QPalette::Window);
}

// Tab reaches a TabStop button; the mouse focuses it only by a click (onClicked), never by a
// press, so a press dragged off and released elsewhere leaves the focus where it was.
Qt::FocusPolicy focusPolicyFor(bool tabStop)
{
    return tabStop ? Qt::TabFocus : Qt::NoFocus;
}

bool isPressKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TsuiCustomButton::TsuiCustomButton(QWidget *parent)
    : QAbstractButton(parent), m_uiStyle(OwnerFormStyle(parent ? parent->window() : nullptr))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(focusPolicyFor(m_tabStop));
    // Runs before every handler connected later, so state and modal result are settled when
    // the button's users hear of the click.
    connect(this, &QAbstractButton::clicked, this, &TsuiCustomButton::onClicked);
    loadFaces();
}

TsuiCustomButton::~TsuiCustomButton() = default;

void TsuiCustomButton::setFileTheme(TsuiFileTheme *theme)
{
    // A theme going away leaves the button in the fallback style.
    FollowFileTheme(
        this, m_fileTheme, theme, [this]() { setUIStyle(TsuiUIStyle::DeepBlue); },
        [this]() { applyStyle(); });
    applyStyle();
}

void TsuiCustomButton::setUIStyle(TsuiUIStyle style)
{
    m_uiStyle = style;
    applyStyle();
}

// The face is read once each time a style is applied, not on every paint.
void TsuiCustomButton::loadFaces()
{
    for (int k = 0; k < 3; ++k) {
        m_faces[k] = QImage();
        ResolvedBitmap(UIStyle(), FileTheme(), StyleEntry::ButtonImage, &m_faces[k], 3, k + 1);
    }
}

void TsuiCustomButton::applyStyle()
{
    loadFaces();
    UIStyleUpdated();
    UpdateAutoSize();
    update();
}

void TsuiCustomButton::setCaption(const QString &caption)
{
    setText(caption);
    CaptionUpdated();
    update();
}

void TsuiCustomButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    TransparentUpdated();
}

void TsuiCustomButton::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    UpdateAutoSize();
    update();
}

void TsuiCustomButton::setFocusedRectMargin(int margin)
{
    m_focusedRectMargin = margin;
    update();
}

void TsuiCustomButton::setDefault(bool isDefault)
{
    m_default = isDefault;
    updateDialogKeyFilter();
    update();
}

void TsuiCustomButton::setCancel(bool isCancel)
{
    m_cancel = isCancel;
    updateDialogKeyFilter();
}

void TsuiCustomButton::setTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    setFocusPolicy(focusPolicyFor(tabStop));
    update();
}

void TsuiCustomButton::UpdateAutoSize()
{
    if (!m_autoSize)
        return;
    QImage whole;
    LoadStyleBitmap(UIStyle(), StyleEntry::ButtonImage, &whole, 0, 0);
    const int height = whole.height() == 0 ? 21 : whole.height();
    const int width = whole.width() == 0 ? 74 : whole.width();
    resize(width / 3, height);
}

void TsuiCustomButton::FontUpdated()
{
    update();
}

void TsuiCustomButton::TransparentUpdated()
{
    update();
}

QImage TsuiCustomButton::LoadPicNormal()
{
    return m_faces[0];
}

QImage TsuiCustomButton::LoadPicMouseOn()
{
    return m_faces[1];
}

QImage TsuiCustomButton::LoadPicMouseDown()
{
    return m_faces[2];
}

QImage TsuiCustomButton::LoadPicDisabled()
{
    return LoadPicNormal();
}

QImage TsuiCustomButton::statePicture()
{
    if (!isEnabled())
        return LoadPicDisabled();
    if (isDown())
        return LoadPicMouseDown();
    if (m_hot)
        return LoadPicMouseOn();
    return LoadPicNormal();
}

void TsuiCustomButton::PaintPicture(QPainter &canvas, const QImage &state)
{
    if (state.isNull())
        return;
    QImage picture = m_transparent ? MaskedByTopLeft(state) : state;
    if (!isEnabled())
        picture = Greyed(picture);
    canvas.drawImage(0, 0, picture);
}

void TsuiCustomButton::drawStateText(QPainter &canvas, const QRect &rect, int flags,
                                     const QString &text)
{
    canvas.save();
    QFont f = font();
    if (m_boldCaption)
        f.setBold(true);
    canvas.setFont(f);
    canvas.setBrush(Qt::NoBrush);
    if (!isEnabled()) {
        canvas.setPen(DisabledShadowColor);
        canvas.drawText(rect.translated(1, 1), flags, text);
        canvas.setPen(DisabledTextColor);
        canvas.drawText(rect, flags, text);
    } else {
        canvas.setPen(palette().color(QPalette::ButtonText));
        canvas.drawText(isDown() ? rect.translated(1, 1) : rect, flags, text);
    }
    canvas.restore();
}

void TsuiCustomButton::PaintCaption(QPainter &canvas, const QString &caption)
{
    drawStateText(canvas, rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                  caption);
    m_boldCaption = false;
}

void TsuiCustomButton::PaintFocus(QPainter &canvas)
{
    const int m = m_focusedRectMargin;
    DrawFocusRect(&canvas, QRect(QPoint(m, m), QPoint(width() - m - 1, height() - m - 1)));
}

void TsuiCustomButton::paintEvent(QPaintEvent *)
{
    const QImage state = statePicture();
    QImage offscreen(size(), QImage::Format_RGB32);
    {
        QPainter canvas(&offscreen);
        canvas.fillRect(offscreen.rect(), parentColor(this));
        if (m_transparent)
            PaintParentBackground(&canvas, this);
        PaintPicture(canvas, state);
        if (hasFocus() && m_tabStop)
            PaintFocus(canvas);
        canvas.setFont(font());
        if (!Caption().trimmed().isEmpty())
            PaintCaption(canvas, Caption());
    }
    QPainter screen(this);
    screen.drawImage(0, 0, offscreen);
}

void TsuiCustomButton::startRepeat()
{
    if (m_repeatTimer)
        return;
    m_repeatTimer = new QTimer(this);
    m_repeatTimer->setInterval(std::max(m_repeatInterval, 0));
    connect(m_repeatTimer, &QTimer::timeout, this, &TsuiCustomButton::mouseContinuouslyDown);
    m_repeatTimer->start();
}

void TsuiCustomButton::stopRepeat()
{
    if (!m_repeatTimer)
        return;
    // Deleted later: a handler of its own tick may be what ends the repeat.
    m_repeatTimer->stop();
    m_repeatTimer->deleteLater();
    m_repeatTimer = nullptr;
}

void TsuiCustomButton::mousePressEvent(QMouseEvent *event)
{
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isDown()) {
        startRepeat();
        update();
    }
}

void TsuiCustomButton::mouseMoveEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_hot) {
        m_hot = inside;
        update();
    }
    // Leaving the button while held shows it released; coming back presses it again.
    QAbstractButton::mouseMoveEvent(event);
}

void TsuiCustomButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<TsuiCustomButton> alive(this);
    QAbstractButton::mouseReleaseEvent(event); // clicks when released over the button
    if (alive && event->button() == Qt::LeftButton)
        stopRepeat();
}

void TsuiCustomButton::enterEvent(QEnterEvent *event)
{
    m_hot = true;
    update();
    emit mouseEntered();
    QAbstractButton::enterEvent(event);
}

void TsuiCustomButton::leaveEvent(QEvent *event)
{
    m_hot = false;
    setDown(false);
    stopRepeat();
    update();
    emit mouseExited();
    QAbstractButton::leaveEvent(event);
}

void TsuiCustomButton::keyPressEvent(QKeyEvent *event)
{
    if (isPressKey(event->key()) && event->modifiers() == Qt::NoModifier) {
        if (isEnabled() && !event->isAutoRepeat()) {
            setDown(true);
            update();
        }
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TsuiCustomButton::keyReleaseEvent(QKeyEvent *event)
{
    if (isPressKey(event->key())) {
        if (!event->isAutoRepeat() && isDown() && isEnabled()) {
            setDown(false);
            update();
            click();
        }
        event->accept();
        return;
    }
    QAbstractButton::keyReleaseEvent(event);
}

void TsuiCustomButton::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    update();
}

void TsuiCustomButton::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    update();
}

void TsuiCustomButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            setDown(false);
            stopRepeat();
        }
        EnabledUpdated();
        update();
        break;
    case QEvent::FontChange:
        FontUpdated();
        break;
    case QEvent::ParentChange:
        updateDialogKeyFilter();
        break;
    default:
        break;
    }
}

void TsuiCustomButton::hideEvent(QHideEvent *event)
{
    // A hidden button hears no release: it lets go and stops repeating.
    setDown(false);
    stopRepeat();
    m_hot = false;
    QAbstractButton::hideEvent(event);
}

bool TsuiCustomButton::event(QEvent *event)
{
    // A mnemonic of the caption clicks the button at once.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            click();
        return true;
    }
    if (event->type() == QEvent::Show)
        updateDialogKeyFilter();
    return QAbstractButton::event(event);
}

void TsuiCustomButton::onClicked()
{
    if (isDown()) {
        setDown(false);
        update();
    }
    stopRepeat();
    if (m_tabStop && isEnabled() && focusPolicy() != Qt::NoFocus && !hasFocus())
        setFocus(Qt::OtherFocusReason);
    // The window learns the button's modal result; a dialog closes with it.
    if (auto *dialog = qobject_cast<QDialog *>(window()); dialog && m_modalResult != 0)
        dialog->done(m_modalResult);
}

bool TsuiCustomButton::canTakeFocus() const
{
    return isEnabled() && isVisible();
}

bool TsuiCustomButton::isDialogKey(const QKeyEvent *event) const
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    const int key = event->key();
    return (m_default && (key == Qt::Key_Return || key == Qt::Key_Enter)) ||
           (m_cancel && key == Qt::Key_Escape);
}

bool TsuiCustomButton::eventFilter(QObject *watched, QEvent *event)
{
    // Keys no control of the window took reach the window last: Enter and Escape are ours.
    if (watched == m_filteredWindow && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isDialogKey(key) && canTakeFocus()) {
            click();
            return true;
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

void TsuiCustomButton::updateDialogKeyFilter()
{
    QWidget *wanted = (m_default || m_cancel) ? window() : nullptr;
    if (wanted == this)
        wanted = nullptr;
    if (wanted == m_filteredWindow)
        return;
    if (m_filteredWindow)
        m_filteredWindow->removeEventFilter(this);
    m_filteredWindow = wanted;
    if (wanted)
        wanted->installEventFilter(this);
}
