// Control pieces of every style, drawn from the style's ControlLook. Frame layouts:
// button 3 faces (normal, hot, pressed); check box, radio button and check list 4 boxes
// (unchecked, checked, unchecked disabled, checked disabled); scroll bar buttons 6 frames
// (up normal/hot/pressed, down normal/hot/pressed); scroll bar thumb 3 pieces (start, middle, end);
// scroll button 4 frames (left, right, up, down).
#include "StyleArt.h"

#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"

#include <QPainter>

using namespace vocafetch;

namespace art {

namespace {

enum class FaceState
{
    Normal,
    Hot,
    Pressed,
};

QColor styleColor(TsuiUIStyle style, int entry)
{
    return BgrToQColor(StyleColor(style, entry));
}

const Stops &faceStops(const ControlLook &look, FaceState state)
{
    switch (state) {
    case FaceState::Hot:
        return look.faceHot;
    case FaceState::Pressed:
        return look.facePressed;
    case FaceState::Normal:
        break;
    }
    return look.face;
}

// Antialiased face (gradient, optional shine, optional hot ring, outline) on a transparent canvas.
QImage faceCanvas(const ControlLook &look, QSize size, FaceState state, qreal radius)
{
    QImage img = canvas(size.width(), size.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = roundedRect(outer, radius);
    p.setClipPath(shape);
    fillVertical(p, outer, faceStops(look, state));
    if (look.glossy) {
        const QRectF shine(outer.left() + 1, outer.top() + 1, outer.width() - 2,
                           outer.height() * 0.45);
        fillVertical(p, shine, {{0, QColor(255, 255, 255, 170)}, {1, QColor(255, 255, 255, 40)}});
    }
    if (state == FaceState::Hot && look.hotRing.isValid()) {
        p.setPen(QPen(look.hotRing, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(roundedRect(outer.adjusted(1, 1, -1, -1), std::max(0.0, radius - 1)));
    }
    p.setClipping(false);
    p.setPen(QPen(look.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    return img;
}

QImage face(const ControlLook &look, QSize size, FaceState state, qreal radius, bool masked)
{
    const QImage img = faceCanvas(look, size, state, radius);
    return masked ? flattenMasked(img, look.formBack) : flatten(img, look.formBack);
}

QImage buttonFaces(const ControlLook &look)
{
    std::vector<QImage> frames;
    for (FaceState s : {FaceState::Normal, FaceState::Hot, FaceState::Pressed})
        frames.push_back(face(look, QSize(18, 21), s, look.radius, look.maskButtonCorners));
    return hstrip(frames);
}

// One check box, radio button or check list box of the given side.
QImage markBox(const ControlLook &look, int side, bool round, bool checked, bool enabled)
{
    QImage img = canvas(side, side);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, side - 1.0, side - 1.0);
    const QColor border = enabled ? look.border : mix(look.border, look.formBack, 0.6);
    const QColor fill = enabled ? look.boxFill : mix(look.boxFill, look.formBack, 0.7);
    QPainterPath shape;
    if (round)
        shape.addEllipse(r);
    else
        shape = roundedRect(r, side > 11 ? 1.5 : 1.0);
    p.setClipPath(shape);
    fillVertical(p, r, {{0, shade(fill, -12)}, {0.45, fill}, {1, shade(fill, 6)}});
    p.setClipping(false);
    p.setPen(QPen(border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    if (checked) {
        const QColor mark = enabled ? look.mark : mix(look.mark, look.formBack, 0.6);
        if (round) {
            const qreal d = side * 0.38;
            QRadialGradient dot(r.center() - QPointF(d * 0.2, d * 0.2), d);
            dot.setColorAt(0, shade(mark, 60));
            dot.setColorAt(1, mark);
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(r.center(), d / 1.6, d / 1.6);
        } else {
            drawGlyph(p, Glyph::Check, r.adjusted(1, 1, -1, -1), mark, 1.3);
        }
    }
    p.end();
    return flatten(img, look.formBack);
}

QImage boxStrip(const ControlLook &look, int side, bool round)
{
    return hstrip({markBox(look, side, round, false, true), markBox(look, side, round, true, true),
                   markBox(look, side, round, false, false),
                   markBox(look, side, round, true, false)});
}

QImage progressTile(const ControlLook &look)
{
    QImage img = verticalGradient(6, 10, look.fill);
    QPainter p(&img);
    p.fillRect(QRect(5, 0, 1, 10), QColor(255, 255, 255));
    return img;
}

QImage trackGroove(const ControlLook &look)
{
    QImage img = canvas(45, 8);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF groove(0.5, 1.5, 44, 5);
    p.setPen(QPen(look.track, 1));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(groove, 2, 2);
    p.setPen(QPen(shade(look.track, 30), 1));
    p.drawLine(QPointF(2, 3), QPointF(43, 3));
    p.end();
    return flatten(img, look.formBack);
}

// A slider thumb pointing down (horizontal track) or right (vertical track).
QImage trackThumb(const ControlLook &look, bool vertical)
{
    const QSize size = vertical ? QSize(22, 11) : QSize(11, 21);
    QImage img = canvas(size.width(), size.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (vertical) {
        p.translate(22, 0);
        p.rotate(90);
    }
    QPainterPath shape;
    shape.moveTo(1, 2.5);
    shape.quadTo(1, 0.5, 3, 0.5);
    shape.lineTo(8, 0.5);
    shape.quadTo(10, 0.5, 10, 2.5);
    shape.lineTo(10, 15);
    shape.lineTo(5.5, 20.5);
    shape.lineTo(1, 15);
    shape.closeSubpath();
    p.setClipPath(shape);
    QLinearGradient g(0, 0, 11, 0);
    const Stops &stops = look.face;
    for (const auto &[pos, color] : stops)
        g.setColorAt(pos, color);
    p.fillRect(QRectF(0, 0, 11, 21), g);
    if (look.glossy)
        p.fillRect(QRectF(1, 1, 4.5, 19), QColor(255, 255, 255, 90));
    // Accent at the point, as on the style's selected controls.
    p.fillRect(QRectF(0, 15.5, 11, 6), look.fill.empty() ? look.mark : look.fill[1].second);
    if (look.thumbGrip) {
        p.setPen(QPen(shade(look.border, 60), 1));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(3, y + 0.5), QPointF(8, y + 0.5));
    }
    p.setClipping(false);
    p.setPen(QPen(look.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();
    return flatten(img, look.formBack);
}

QImage arrowButton(const ControlLook &look, QSize size, Glyph glyph, FaceState state,
                   const QColor &background)
{
    QImage img = faceCanvas(look, size, state, std::min(look.radius, 3.0));
    QPainter p(&img);
    const QRectF inner(0, 0, size.width(), size.height());
    const QPointF shift = state == FaceState::Pressed ? QPointF(0.5, 0.5) : QPointF();
    drawGlyph(p, glyph, inner.translated(shift), look.glyph, 0.9);
    p.end();
    return flatten(img, background);
}

QImage scrollBarButtons(const ControlLook &look, const QColor &background)
{
    std::vector<QImage> frames;
    for (Glyph g : {Glyph::ArrowUp, Glyph::ArrowDown}) {
        for (FaceState s : {FaceState::Normal, FaceState::Hot, FaceState::Pressed})
            frames.push_back(arrowButton(look, QSize(16, 17), g, s, background));
    }
    return hstrip(frames);
}

// A horizontal scroll thumb of 21 x 16, cut by the controls into start, middle and end pieces
// of 7 columns each; the middle columns are uniform so stretching them keeps the look.
QImage scrollThumb(const ControlLook &look, const QColor &background)
{
    QImage img = canvas(21, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 1.5, 20, 13);
    const QPainterPath shape = roundedRect(r, std::min(look.radius + 1, 5.0));
    p.setClipPath(shape);
    fillVertical(p, r, look.face);
    if (look.glossy)
        fillVertical(p, QRectF(1, 2, 19, 5.5),
                     {{0, QColor(255, 255, 255, 160)}, {1, QColor(255, 255, 255, 30)}});
    p.setClipping(false);
    p.setPen(QPen(look.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();
    return flatten(img, background);
}

QImage scrollButtons(const ControlLook &look, QSize frame)
{
    std::vector<QImage> frames;
    for (Glyph g : {Glyph::ArrowLeft, Glyph::ArrowRight, Glyph::ArrowUp, Glyph::ArrowDown})
        frames.push_back(arrowButton(look, frame, g, FaceState::Normal, look.formBack));
    return hstrip(frames);
}

// A tab: rounded top corners, open at the bottom, with the style's accent along the top.
QImage tab(const ControlLook &look)
{
    QImage img = canvas(18, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(0.5, 18);
    shape.lineTo(0.5, 3.5);
    shape.quadTo(0.5, 0.5, 3.5, 0.5);
    shape.lineTo(14.5, 0.5);
    shape.quadTo(17.5, 0.5, 17.5, 3.5);
    shape.lineTo(17.5, 18);
    p.setClipPath(shape);
    fillVertical(p, QRectF(0, 0, 18, 18), look.face);
    const QColor accent = look.hotRing.isValid() ? look.hotRing : look.fill.front().second;
    p.fillRect(QRectF(0, 0, 18, 3), accent);
    p.setClipping(false);
    p.setPen(QPen(look.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.end();
    return flatten(img, look.formBack);
}

QImage tabLine(const ControlLook &look)
{
    QImage img(8, 1, QImage::Format_RGB32);
    img.fill(look.border);
    return img;
}

QImage sideChannelHandle(const ControlLook &look)
{
    QImage img(8, 86, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 8, 0);
    for (const auto &[pos, color] : look.bar)
        g.setColorAt(pos, color);
    p.fillRect(img.rect(), g);
    p.setPen(look.border);
    p.drawLine(7, 0, 7, 85);
    // Grip dots in the middle: a light dot over a dark one reads as raised.
    for (int y = 30; y <= 54; y += 4) {
        p.fillRect(QRect(3, y, 2, 2), shade(look.bar.back().second, -45));
        p.fillRect(QRect(3, y, 1, 1), QColor(255, 255, 255));
    }
    return img;
}

} // namespace

ControlLook controlLook(TsuiUIStyle style)
{
    ControlLook l;
    l.prefix = BuiltinStyleTable::prefix(style);
    l.formBack = styleColor(style, StyleEntry::FormBackgroundColor);
    l.maskButtonCorners = StyleBool(style, StyleEntry::ButtonTransparentBool);
    switch (style) {
    case TsuiUIStyle::WinXP:
        l.border = QColor(0x00, 0x3C, 0x74);
        l.face = {{0, QColor(0xFF, 0xFF, 0xFF)},
                  {0.5, QColor(0xF5, 0xF4, 0xEF)},
                  {0.85, QColor(0xE6, 0xE4, 0xDC)},
                  {1, QColor(0xD6, 0xD0, 0xC5)}};
        l.faceHot = {{0, QColor(0xFF, 0xFF, 0xFF)},
                     {0.5, QColor(0xFA, 0xF8, 0xF2)},
                     {1, QColor(0xE8, 0xE2, 0xD6)}};
        l.facePressed = {{0, QColor(0xD8, 0xD6, 0xCC)},
                         {0.3, QColor(0xE3, 0xE2, 0xDA)},
                         {1, QColor(0xF4, 0xF3, 0xEE)}};
        l.hotRing = QColor(0xF8, 0xB3, 0x30);
        l.glyph = QColor(0x4D, 0x61, 0x85);
        l.mark = QColor(0x21, 0xA1, 0x21);
        l.boxFill = QColor(0xF4, 0xF4, 0xF0);
        l.fill = {{0, QColor(0xB8, 0xF0, 0xB8)},
                  {0.5, QColor(0x2B, 0xD2, 0x2B)},
                  {1, QColor(0xA8, 0xEA, 0xA8)}};
        l.track = QColor(0x9D, 0x9C, 0x99);
        l.bar = {{0, QColor(0x3D, 0x8B, 0xFF)}, {1, QColor(0x00, 0x48, 0xD8)}};
        l.radius = 3;
        l.thumbGrip = false;
        break;
    case TsuiUIStyle::MacOS:
        l.border = QColor(0x5A, 0x5A, 0x5A);
        l.face = {{0, QColor(0xFC, 0xFC, 0xFC)},
                  {0.5, QColor(0xE4, 0xE4, 0xE4)},
                  {1, QColor(0xC4, 0xC4, 0xC4)}};
        l.faceHot = {{0, QColor(0xFF, 0xFF, 0xFF)},
                     {0.5, QColor(0xE4, 0xE9, 0xF1)},
                     {1, QColor(0xBC, 0xC8, 0xDA)}};
        l.facePressed = {{0, QColor(0xA6, 0xA6, 0xA6)},
                         {0.5, QColor(0xBE, 0xBE, 0xBE)},
                         {1, QColor(0xD6, 0xD6, 0xD6)}};
        l.glyph = QColor(0x30, 0x30, 0x30);
        l.mark = QColor(0x20, 0x20, 0x20);
        l.boxFill = QColor(0xF6, 0xF6, 0xF6);
        l.fill = {{0, QColor(0xC9, 0xD3, 0xE3)},
                  {0.5, QColor(0x7D, 0x8E, 0xAC)},
                  {1, QColor(0xA9, 0xB6, 0xCC)}};
        l.track = QColor(0x8C, 0x8C, 0x8C);
        l.bar = {{0, QColor(0xEE, 0xEE, 0xEE)}, {1, QColor(0xC2, 0xC2, 0xC2)}};
        l.radius = 5;
        l.glossy = true;
        l.thumbGrip = true;
        break;
    case TsuiUIStyle::DeepBlue:
        l.border = QColor(0x12, 0x2E, 0x72);
        l.face = {{0, QColor(0xF4, 0xF7, 0xFC)},
                  {0.5, QColor(0xD6, 0xE0, 0xF2)},
                  {1, QColor(0xAE, 0xC2, 0xE6)}};
        l.faceHot = {{0, QColor(0xFF, 0xFF, 0xFF)},
                     {0.5, QColor(0xE2, 0xEB, 0xFA)},
                     {1, QColor(0xBE, 0xD2, 0xF4)}};
        l.facePressed = {{0, QColor(0x9C, 0xB2, 0xDC)},
                         {0.5, QColor(0xBC, 0xCC, 0xEA)},
                         {1, QColor(0xD6, 0xE0, 0xF2)}};
        l.hotRing = QColor(0x4C, 0x7C, 0xE4);
        l.glyph = QColor(0x10, 0x2A, 0x6C);
        l.mark = QColor(0x14, 0x3C, 0x96);
        l.boxFill = QColor(0xF8, 0xFA, 0xFE);
        l.fill = {{0, QColor(0x8F, 0xB1, 0xF2)},
                  {0.5, QColor(0x28, 0x55, 0xBE)},
                  {1, QColor(0x5E, 0x87, 0xDE)}};
        l.track = QColor(0x6E, 0x80, 0xA6);
        l.bar = {{0, QColor(0x33, 0x5C, 0xB8)}, {1, QColor(0x0E, 0x26, 0x66)}};
        l.radius = 2;
        l.thumbGrip = true;
        break;
    case TsuiUIStyle::Protein:
        l.border = QColor(0x8C, 0x91, 0xA4);
        l.face = {{0, QColor(0xFF, 0xFF, 0xFF)},
                  {0.6, QColor(0xF2, 0xF3, 0xF6)},
                  {1, QColor(0xDE, 0xE1, 0xE9)}};
        l.faceHot = {{0, QColor(0xFF, 0xFF, 0xFF)},
                     {0.6, QColor(0xEE, 0xEF, 0xFD)},
                     {1, QColor(0xD4, 0xD6, 0xF6)}};
        l.facePressed = {{0, QColor(0xD0, 0xD3, 0xDE)},
                         {0.5, QColor(0xE2, 0xE4, 0xEB)},
                         {1, QColor(0xF0, 0xF1, 0xF5)}};
        l.hotRing = QColor(0x7B, 0x7E, 0xEA);
        l.glyph = QColor(0x2D, 0x30, 0xC4);
        l.mark = QColor(0x2D, 0x30, 0xC4);
        l.boxFill = QColor(0xFF, 0xFF, 0xFF);
        l.fill = {{0, QColor(0xB5, 0xB7, 0xFA)},
                  {0.5, QColor(0x2D, 0x30, 0xC4)},
                  {1, QColor(0x7C, 0x7F, 0xF0)}};
        l.track = QColor(0xB0, 0xB4, 0xC2);
        l.bar = {{0, QColor(0xFC, 0xFC, 0xFD)}, {1, QColor(0xD8, 0xDB, 0xE4)}};
        l.radius = 4;
        break;
    case TsuiUIStyle::BlueGlass:
    default:
        l.border = QColor(0x2C, 0x5B, 0xA8);
        l.face = {{0, QColor(0xD4, 0xE6, 0xFC)},
                  {0.49, QColor(0xA3, 0xC6, 0xF4)},
                  {0.5, QColor(0x7F, 0xAC, 0xEA)},
                  {1, QColor(0xBA, 0xD7, 0xFA)}};
        l.faceHot = {{0, QColor(0xE6, 0xF1, 0xFE)},
                     {0.49, QColor(0xBA, 0xD6, 0xF9)},
                     {0.5, QColor(0x98, 0xC0, 0xF3)},
                     {1, QColor(0xD0, 0xE5, 0xFD)}};
        l.facePressed = {{0, QColor(0x8C, 0xB4, 0xEA)},
                         {0.49, QColor(0x6E, 0x9C, 0xDF)},
                         {0.5, QColor(0x54, 0x86, 0xD6)},
                         {1, QColor(0x90, 0xBA, 0xF0)}};
        l.glyph = QColor(0x16, 0x3C, 0x80);
        l.mark = QColor(0x1E, 0x56, 0xB8);
        l.boxFill = QColor(0xF6, 0xFA, 0xFF);
        l.fill = {{0, QColor(0xA4, 0xCC, 0xFB)},
                  {0.49, QColor(0x58, 0x96, 0xE8)},
                  {0.5, QColor(0x30, 0x72, 0xD8)},
                  {1, QColor(0x76, 0xAE, 0xF2)}};
        l.track = QColor(0x86, 0xA2, 0xCC);
        l.bar = {{0, QColor(0xDA, 0xE9, 0xFD)},
                 {0.49, QColor(0x92, 0xBA, 0xEF)},
                 {0.5, QColor(0x6C, 0x9E, 0xE6)},
                 {1, QColor(0xAC, 0xCD, 0xF6)}};
        l.radius = 6;
        l.glossy = true;
        break;
    }
    return l;
}

void addControlArt(const ControlLook &look, ArtSet &out)
{
    const QString p = look.prefix + QLatin1Char('_');
    TsuiUIStyle style = TsuiUIStyle::DeepBlue;
    for (TsuiUIStyle s : BuiltinStyleTable::styles()) {
        if (BuiltinStyleTable::prefix(s) == look.prefix)
            style = s;
    }
    const QColor scrollBack = styleColor(style, StyleEntry::ScrollBarBackgroundColor);
    out.emplace_back(p + "BUTTON", buttonFaces(look));
    out.emplace_back(p + "CHECKBOX", boxStrip(look, 13, false));
    out.emplace_back(p + "RADIOBUTTON", boxStrip(look, 13, true));
    out.emplace_back(p + "PROGRESSBAR", progressTile(look));
    out.emplace_back(p + "TRACKBAR_BAR", trackGroove(look));
    out.emplace_back(p + "TRACKBAR_SLIDER", trackThumb(look, false));
    out.emplace_back(p + "TRACKBAR_SLIDER_V", trackThumb(look, true));
    out.emplace_back(p + "SCROLLBAR_BUTTON", scrollBarButtons(look, scrollBack));
    out.emplace_back(p + "SCROLLBAR_TRACK", scrollThumb(look, scrollBack));
    out.emplace_back(p + "CHECKLIST", boxStrip(look, 11, false));
    if (StyleBitmapName(style, StyleEntry::ScrollButtonImage) == p + "SCROLLBUTTON")
        out.emplace_back(p + "SCROLLBUTTON", scrollButtons(look, QSize(18, 18)));
    out.emplace_back(p + "TAB", tab(look));
    out.emplace_back(p + "TAB_LINE", tabLine(look));
    out.emplace_back(p + "SIDECHENNEL_HANDLE", sideChannelHandle(look));
    out.emplace_back(p + "SIDECHENNEL_BAR", verticalGradient(1, 21, look.bar));
}

// Shared scroll button of the styles without one of their own, in neutral grey.
QImage moreScrollButtons()
{
    ControlLook neutral = controlLook(TsuiUIStyle::DeepBlue);
    neutral.border = QColor(0x6A, 0x6A, 0x6A);
    neutral.face = {{0, QColor(0xFA, 0xFA, 0xFA)}, {1, QColor(0xD2, 0xD2, 0xD2)}};
    neutral.glyph = QColor(0x2A, 0x2A, 0x2A);
    neutral.formBack = QColor(0xE8, 0xE8, 0xE8);
    return scrollButtons(neutral, QSize(18, 17));
}

} // namespace art
