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

} // namespace

TsuiButton::TsuiButton(QWidget *parent) : TsuiCustomButton(parent)
{
    resize(80, 27);
    UIStyleUpdated();
}

void TsuiButton::setGlyph(const QImage &glyph)
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
