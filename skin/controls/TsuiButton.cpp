#include "skin/controls/TsuiButton.h"

#include "skin/controls/TsuiCustomButtonPaint.h"
#include "skin/style/NineSlice.h"
#include "skin/style/StyleResolve.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPainter>

using namespace vocafetch;

namespace {

constexpr int CaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;
// The size of the pictures of a linked action's icon taken as the glyph.
constexpr QSize ActionGlyphSize(16, 16);

QImage actionGlyph(const QAction *action)
{
    const QIcon icon = action->icon();
    if (icon.isNull())
        return QImage();
    return icon.pixmap(ActionGlyphSize).toImage();
}

} // namespace

TsuiButton::TsuiButton(QWidget *parent) : TsuiCustomButton(parent)
{
    resize(80, 27);
    UIStyleUpdated();
    // Connected after the base's own click handling, so the action runs with the button's
    // state already settled.
    connect(this, &QAbstractButton::clicked, this, [this]() {
        if (m_action)
            m_action->trigger();
    });
}

void TsuiButton::setAction(QAction *action)
{
    if (action == m_action)
        return;
    disconnect(m_actionChanged);
    if (m_glyphFromAction)
        showGlyph(QImage());
    m_glyphFromAction = false;
    m_action = action;
    if (!action)
        return;
    m_actionChanged = connect(action, &QAction::changed, this, &TsuiButton::followAction);
    followAction();
}

void TsuiButton::followAction()
{
    if (!m_action)
        return;
    setCaption(m_action->text());
    setEnabled(m_action->isEnabled());
    if (m_glyph.isNull() || m_glyphFromAction)
        showActionGlyph();
}

void TsuiButton::showActionGlyph()
{
    showGlyph(actionGlyph(m_action));
    m_glyphFromAction = !m_glyph.isNull();
}

void TsuiButton::setGlyph(const QImage &glyph)
{
    m_glyphFromAction = false;
    if (glyph.isNull() && m_action) {
        showActionGlyph();
        return;
    }
    showGlyph(glyph);
}

void TsuiButton::showGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    // The button's icon is the glyph's (first) image, for whoever asks the button for it.
    const int w = glyph.width() == 2 * glyph.height() ? glyph.height() : glyph.width();
    setIcon(glyph.isNull() ? QIcon()
                           : QIcon(QPixmap::fromImage(glyph.copy(0, 0, w, glyph.height()))));
    update();
}

void TsuiButton::setLayout(TsuiButtonLayout layout)
{
    m_layout = layout;
    update();
}

void TsuiButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

void TsuiButton::UIStyleUpdated()
{
    setTransparent(ResolvedBool(UIStyle(), FileTheme(), StyleEntry::ButtonTransparentBool));
}

void TsuiButton::PaintPicture(QPainter &canvas, const QImage &state)
{
    canvas.setFont(font());
    DrawNineSlice(&canvas, state, width(), height(), Transparent());
    paintGlyph(canvas);
}

void TsuiButton::paintGlyph(QPainter &canvas)
{
    if (m_glyph.isNull())
        return;
    const QSize text = QFontMetrics(font()).size(CaptionFlags, Caption());
    const GlyphPlacement place = PlaceGlyph(m_layout, size(), text, m_glyph.size(), m_spacing);
    m_captionPoint = place.caption;
    QPoint at = place.glyph;
    if (isDown())
        at += QPoint(1, 1);

    const QImage masked = MaskedByTopLeft(m_glyph);
    const int gw = place.glyphWidth, gh = m_glyph.height();
    if (place.twoImages) {
        // Enabled form always: the second image is the disabled look.
        canvas.drawImage(at, masked.copy(isEnabled() ? 0 : gw, 0, gw, gh));
    } else {
        const QImage one = masked.copy(0, 0, gw, gh);
        canvas.drawImage(at, isEnabled() ? one : Greyed(one));
    }
}

void TsuiButton::PaintCaption(QPainter &canvas, const QString &caption)
{
    if (m_glyph.isNull()) {
        TsuiCustomButton::PaintCaption(canvas, caption);
        return;
    }
    const QRect area(m_captionPoint, QPoint(width() - 1, height() - 1));
    drawStateText(canvas, area, Qt::AlignLeft | Qt::AlignTop | CaptionFlags, caption);
    setBoldCaption(false);
}

void TsuiButton::PaintFocus(QPainter &canvas)
{
    // These styles mark the focused button by a bold caption instead of a dotted rectangle.
    if (UIStyle() == TsuiUIStyle::MacOS || UIStyle() == TsuiUIStyle::BlueGlass) {
        setBoldCaption(true);
        return;
    }
    TsuiCustomButton::PaintFocus(canvas);
}
