// Title bar pieces of every style: left end, stretched middle, right end, and the 18-frame button
// strip (control box, help, maximise, restore, minimise, close; each normal, hot, pressed).
// Styles whose title buttons are drawn transparent (style entry 6) get magenta around the button,
// the others are drawn over the title bar rows they sit on (style entry 9), so they blend in.
#include "StyleArt.h"

#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"

#include <QPainter>

#include <cmath>

using namespace vocafetch;

namespace art {

namespace {

struct TitleButtonLook
{
    Stops normal, hot, pressed;
    Stops closeNormal, closeHot, closePressed;
    QColor border;
    QColor closeBorder;
    QColor innerLine; // light line inside the border (invalid: none)
    QColor glyph;
    qreal radius = 3;
    bool round = false;
    bool glossy = false;
};

struct TitleLook
{
    int height = 0;
    int buttonSize = 0;
    QSize left, middle, right;
    QColor outside; // colour beyond the rounded corners
    qreal corner = 0;
    TitleButtonLook button;
};

// ---- title bar fills (horizontally uniform) ----

Stops winXpStops()
{
    return {{0.0, QColor(0x1E, 0x5C, 0xE8)},  {0.035, QColor(0x6A, 0xAB, 0xFF)},
            {0.10, QColor(0x4A, 0x93, 0xFF)}, {0.20, QColor(0x1F, 0x6F, 0xF5)},
            {0.45, QColor(0x0B, 0x5B, 0xEC)}, {0.75, QColor(0x02, 0x50, 0xE2)},
            {0.90, QColor(0x00, 0x47, 0xD6)}, {1.0, QColor(0x00, 0x3B, 0xC2)}};
}

Stops deepBlueStops()
{
    return {{0.0, QColor(0x4E, 0x78, 0xD6)},  {0.04, QColor(0x33, 0x5B, 0xBC)},
            {0.40, QColor(0x16, 0x36, 0x8C)}, {0.68, QColor(0x0C, 0x25, 0x68)},
            {0.70, QColor(0x2A, 0x48, 0x98)}, {0.73, QColor(0x10, 0x2A, 0x70)},
            {0.97, QColor(0x08, 0x1A, 0x4C)}, {1.0, QColor(0x02, 0x0A, 0x26)}};
}

Stops proteinSilver()
{
    return {{0.0, QColor(0xFF, 0xFF, 0xFF)},
            {0.5, QColor(0xEE, 0xF0, 0xF5)},
            {0.92, QColor(0xD6, 0xD9, 0xE2)},
            {1.0, QColor(0xA8, 0xAC, 0xBC)}};
}

Stops proteinBlue()
{
    return {{0.0, QColor(0x80, 0x83, 0xEE)},
            {0.5, QColor(0x38, 0x3B, 0xCC)},
            {0.92, QColor(0x24, 0x27, 0xA6)},
            {1.0, QColor(0x14, 0x16, 0x70)}};
}

Stops blueGlassStops()
{
    return {{0.0, QColor(0x1E, 0x46, 0x96)},  {0.04, QColor(0xB4, 0xD2, 0xFA)},
            {0.45, QColor(0x62, 0x96, 0xE4)}, {0.46, QColor(0x30, 0x68, 0xCA)},
            {0.96, QColor(0x52, 0x8C, 0xE0)}, {1.0, QColor(0x1A, 0x3E, 0x88)}};
}

// Grey pinstripes: alternating rows, a light top edge and a dark bottom edge.
QImage macStripes(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QColor c = (y % 2 == 0) ? QColor(0x8C, 0x8C, 0x8C) : QColor(0x76, 0x76, 0x76);
        if (y == 0)
            c = QColor(0xC4, 0xC4, 0xC4);
        else if (y == h - 2)
            c = QColor(0x5C, 0x5C, 0x5C);
        else if (y == h - 1)
            c = QColor(0x3A, 0x3A, 0x3A);
        QPainter p(&img);
        p.fillRect(0, y, w, 1, c);
    }
    return img;
}

QImage titleFill(TsuiUIStyle style, int w, int h)
{
    switch (style) {
    case TsuiUIStyle::MacOS:
        return macStripes(w, h);
    case TsuiUIStyle::WinXP:
        return verticalGradient(w, h, winXpStops());
    case TsuiUIStyle::DeepBlue:
        return verticalGradient(w, h, deepBlueStops());
    case TsuiUIStyle::Protein:
        return verticalGradient(w, h, proteinSilver());
    default:
        return verticalGradient(w, h, blueGlassStops());
    }
}

TitleLook titleLook(TsuiUIStyle style)
{
    TitleLook t;
    TitleButtonLook &b = t.button;
    switch (style) {
    case TsuiUIStyle::MacOS:
        t.height = 23;
        t.buttonSize = 17;
        t.left = {48, 23};
        t.middle = {49, 23};
        t.right = {48, 23};
        b.normal = {{0, QColor(0xF4, 0xF4, 0xF4)}, {1, QColor(0xA8, 0xA8, 0xA8)}};
        b.hot = {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xB4, 0xC0, 0xD4)}};
        b.pressed = {{0, QColor(0x6A, 0x6A, 0x6A)}, {1, QColor(0x9C, 0x9C, 0x9C)}};
        b.closeNormal = b.normal;
        b.closeHot = {{0, QColor(0xFF, 0xF2, 0xF0)}, {1, QColor(0xD8, 0xA0, 0x98)}};
        b.closePressed = b.pressed;
        b.border = QColor(0x2E, 0x2E, 0x2E);
        b.closeBorder = b.border;
        b.innerLine = QColor(255, 255, 255, 150);
        b.glyph = QColor(0x22, 0x22, 0x22);
        b.radius = 1.5;
        break;
    case TsuiUIStyle::WinXP:
        t.height = 29;
        t.buttonSize = 21;
        t.left = {35, 29};
        t.middle = {37, 29};
        t.right = {35, 29};
        t.outside = BgrToQColor(StyleColor(style, StyleEntry::FormBorderColor));
        t.corner = 8;
        b.normal = {{0, QColor(0x5E, 0x9C, 0xFF)},
                    {0.5, QColor(0x2A, 0x72, 0xF6)},
                    {1, QColor(0x1B, 0x60, 0xEE)}};
        b.hot = {{0, QColor(0x86, 0xB8, 0xFF)},
                 {0.5, QColor(0x4A, 0x90, 0xFF)},
                 {1, QColor(0x36, 0x7E, 0xFA)}};
        b.pressed = {{0, QColor(0x0A, 0x3E, 0xC0)},
                     {0.5, QColor(0x12, 0x4E, 0xD6)},
                     {1, QColor(0x2A, 0x64, 0xE4)}};
        b.closeNormal = {{0, QColor(0xF2, 0x9A, 0x7C)},
                         {0.5, QColor(0xE2, 0x5A, 0x34)},
                         {1, QColor(0xCC, 0x40, 0x1C)}};
        b.closeHot = {{0, QColor(0xFF, 0xBC, 0xA0)},
                      {0.5, QColor(0xF6, 0x78, 0x50)},
                      {1, QColor(0xE4, 0x5A, 0x32)}};
        b.closePressed = {{0, QColor(0xA8, 0x2C, 0x10)},
                          {0.5, QColor(0xC0, 0x3A, 0x18)},
                          {1, QColor(0xD4, 0x52, 0x2C)}};
        b.border = QColor(0xFF, 0xFF, 0xFF);
        b.closeBorder = QColor(0xFF, 0xFF, 0xFF);
        b.innerLine = QColor(255, 255, 255, 70);
        b.glyph = QColor(0xFF, 0xFF, 0xFF);
        b.radius = 3.5;
        break;
    case TsuiUIStyle::DeepBlue:
        t.height = 32;
        t.buttonSize = 19;
        t.left = {97, 32};
        t.middle = {98, 32};
        t.right = {97, 32};
        b.normal = {{0, QColor(0x3E, 0x68, 0xC8)}, {1, QColor(0x14, 0x34, 0x86)}};
        b.hot = {{0, QColor(0x5C, 0x88, 0xE6)}, {1, QColor(0x24, 0x4C, 0xAC)}};
        b.pressed = {{0, QColor(0x0A, 0x1E, 0x58)}, {1, QColor(0x1C, 0x3C, 0x90)}};
        b.closeNormal = {{0, QColor(0xC8, 0x4C, 0x56)}, {1, QColor(0x82, 0x16, 0x22)}};
        b.closeHot = {{0, QColor(0xE8, 0x6C, 0x74)}, {1, QColor(0xA8, 0x26, 0x32)}};
        b.closePressed = {{0, QColor(0x5C, 0x0C, 0x14)}, {1, QColor(0x90, 0x20, 0x2A)}};
        b.border = QColor(0x04, 0x10, 0x38);
        b.closeBorder = QColor(0x3A, 0x06, 0x0C);
        b.innerLine = QColor(255, 255, 255, 90);
        b.glyph = QColor(0xFF, 0xFF, 0xFF);
        b.radius = 2;
        break;
    case TsuiUIStyle::Protein:
        t.height = 23;
        t.buttonSize = 19;
        t.left = {441, 23};
        t.middle = {1, 23};
        t.right = {1, 23};
        b.normal = {{0, QColor(0xFF, 0xFF, 0xFF)}, {1, QColor(0xD6, 0xD9, 0xE4)}};
        b.hot = {{0, QColor(0xF0, 0xF1, 0xFF)}, {1, QColor(0xBE, 0xC1, 0xF6)}};
        b.pressed = {{0, QColor(0xA6, 0xA9, 0xEC)}, {1, QColor(0xD6, 0xD8, 0xF8)}};
        b.closeNormal = b.normal;
        b.closeHot = {{0, QColor(0xFF, 0xF0, 0xF0)}, {1, QColor(0xF2, 0xB4, 0xB0)}};
        b.closePressed = {{0, QColor(0xE0, 0x8A, 0x84)}, {1, QColor(0xF6, 0xCC, 0xC8)}};
        b.border = QColor(0x80, 0x86, 0x9C);
        b.closeBorder = QColor(0x9C, 0x6C, 0x70);
        b.innerLine = QColor(255, 255, 255, 200);
        b.glyph = QColor(0x2D, 0x30, 0xC4);
        b.round = true;
        break;
    default: // BlueGlass
        t.height = 33;
        t.buttonSize = 19;
        t.left = {162, 33};
        t.middle = {179, 33};
        t.right = {101, 33};
        t.outside = QColor(0, 0, 0);
        t.corner = 6; // just inside the window region of RoundCorner 11
        b.normal = {{0, QColor(0x8C, 0xBE, 0xFF)},
                    {0.5, QColor(0x3A, 0x78, 0xE0)},
                    {1, QColor(0x1C, 0x4C, 0xB0)}};
        b.hot = {{0, QColor(0xB0, 0xD6, 0xFF)},
                 {0.5, QColor(0x5A, 0x98, 0xF6)},
                 {1, QColor(0x30, 0x66, 0xD0)}};
        b.pressed = {{0, QColor(0x14, 0x3A, 0x90)},
                     {0.5, QColor(0x22, 0x54, 0xB8)},
                     {1, QColor(0x4A, 0x84, 0xE0)}};
        b.closeNormal = {{0, QColor(0xFF, 0xA8, 0x98)},
                         {0.5, QColor(0xE8, 0x48, 0x30)},
                         {1, QColor(0xB0, 0x20, 0x10)}};
        b.closeHot = {{0, QColor(0xFF, 0xC8, 0xBA)},
                      {0.5, QColor(0xFA, 0x66, 0x4C)},
                      {1, QColor(0xD0, 0x34, 0x20)}};
        b.closePressed = {{0, QColor(0x90, 0x14, 0x08)},
                          {0.5, QColor(0xB8, 0x2A, 0x16)},
                          {1, QColor(0xE0, 0x50, 0x38)}};
        b.border = QColor(0x10, 0x30, 0x70);
        b.closeBorder = QColor(0x70, 0x10, 0x08);
        b.glyph = QColor(0xFF, 0xFF, 0xFF);
        b.round = true;
        b.glossy = true;
        break;
    }
    return t;
}

// ---- title buttons ----

enum class State
{
    Normal,
    Hot,
    Pressed
};

QImage titleButton(TsuiUIStyle style, const TitleLook &t, Glyph glyph, State state)
{
    const TitleButtonLook &b = t.button;
    const int s = t.buttonSize;
    const bool close = glyph == Glyph::Close;
    const Stops &stops = close ? (state == State::Hot       ? b.closeHot
                                  : state == State::Pressed ? b.closePressed
                                                            : b.closeNormal)
                               : (state == State::Hot       ? b.hot
                                  : state == State::Pressed ? b.pressed
                                                            : b.normal);
    QImage img = canvas(s, s);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer =
        b.round ? QRectF(1.0, 1.0, s - 2.0, s - 2.0) : QRectF(0.5, 0.5, s - 1.0, s - 1.0);
    QPainterPath shape;
    if (b.round)
        shape.addEllipse(outer);
    else
        shape = roundedRect(outer, b.radius);
    p.setClipPath(shape);
    fillVertical(p, outer, stops);
    if (b.glossy) {
        QPainterPath shine;
        shine.addEllipse(
            QRectF(outer.left() + 2.5, outer.top() + 1, outer.width() - 5, outer.height() * 0.5));
        QLinearGradient g(0, outer.top(), 0, outer.top() + outer.height() * 0.5);
        g.setColorAt(0, QColor(255, 255, 255, 220));
        g.setColorAt(1, QColor(255, 255, 255, 30));
        p.fillPath(shine, g);
    }
    if (b.innerLine.isValid()) {
        p.setPen(QPen(b.innerLine, 1));
        p.setBrush(Qt::NoBrush);
        if (b.round)
            p.drawEllipse(outer.adjusted(1, 1, -1, -1));
        else
            p.drawPath(roundedRect(outer.adjusted(1, 1, -1, -1), std::max(0.0, b.radius - 1)));
    }
    p.setClipping(false);
    p.setPen(QPen(close ? b.closeBorder : b.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    // The glyph moves one pixel down and right while pressed, as the button goes in.
    const qreal shift = state == State::Pressed ? 1.0 : 0.0;
    QColor glyphColor = b.glyph;
    if (style == TsuiUIStyle::MacOS && state == State::Pressed)
        glyphColor = QColor(0xFF, 0xFF, 0xFF);
    if (style == TsuiUIStyle::Protein && close)
        glyphColor = QColor(0xC4, 0x30, 0x2D);
    drawGlyph(p, glyph, QRectF(shift, shift, s, s), glyphColor, 1.0);
    p.end();

    if (StyleBool(style, StyleEntry::TitleBarButtonTransparentBool)) {
        const int top = StyleInt(style, StyleEntry::TitleBarButtonTopInt);
        const QImage behind = titleFill(style, 1, t.height);
        return flattenMasked(img, behind.pixelColor(0, std::min(t.height - 1, top + s / 2)));
    }
    const int top = StyleInt(style, StyleEntry::TitleBarButtonTopInt);
    return flatten(img, titleFill(style, s, t.height).copy(0, top, s, s));
}

QImage titleButtonStrip(TsuiUIStyle style, const TitleLook &t)
{
    std::vector<QImage> frames;
    for (Glyph g : {Glyph::WindowMenu, Glyph::Help, Glyph::Maximize, Glyph::Restore,
                    Glyph::Minimize, Glyph::Close}) {
        for (State s : {State::Normal, State::Hot, State::Pressed})
            frames.push_back(titleButton(style, t, g, s));
    }
    return hstrip(frames);
}

// ---- title ends ----

// Cuts a rounded top corner out of an end piece: pixels beyond the arc take the outside colour,
// and a light arc follows the curve. mirrored: the top-right corner.
void roundCorner(QImage &img, const TitleLook &t, bool mirrored)
{
    if (t.corner <= 0)
        return;
    QImage shapeMask = canvas(img.width(), img.height());
    {
        QPainter p(&shapeMask);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal r = t.corner;
        QPainterPath inside;
        inside.addRoundedRect(
            QRectF(mirrored ? -2 * r : 0, 0, img.width() + 2 * r, img.height() + 2 * r), r, r);
        p.fillPath(inside, Qt::black);
    }
    QPainter p(&img);
    for (int y = 0; y < std::min(img.height(), int(t.corner) + 1); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(shapeMask.pixel(x, y));
            if (a < 255)
                img.setPixelColor(x, y, mix(t.outside, img.pixelColor(x, y), a / 255.0));
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    QPen light(QColor(255, 255, 255, 110), 1);
    p.setPen(light);
    const qreal r = t.corner;
    const QRectF arc = mirrored ? QRectF(img.width() - 2 * r + 0.5, 1.0, 2 * r - 2, 2 * r - 2)
                                : QRectF(1.5, 1.0, 2 * r - 2, 2 * r - 2);
    p.drawArc(arc, mirrored ? 0 : 90 * 16, 90 * 16);
}

// A light vertical edge on the left end and a darker one on the right, fading downward.
void shadeEdge(QImage &img, const QColor &color, bool rightSide, int width)
{
    QPainter p(&img);
    for (int i = 0; i < width; ++i) {
        QColor c = color;
        c.setAlphaF(float(c.alphaF() * (1.0 - double(i) / width)));
        const int x = rightSide ? img.width() - 1 - i : i;
        QLinearGradient g(0, 0, 0, img.height());
        g.setColorAt(0, c);
        QColor end = c;
        end.setAlphaF(c.alphaF() * 0.35f);
        g.setColorAt(1, end);
        p.fillRect(QRectF(x, 0, 1, img.height()), g);
    }
}

QImage proteinLeft(const TitleLook &t)
{
    const QImage blue = verticalGradient(1, t.height, proteinBlue());
    const QImage silver = verticalGradient(1, t.height, proteinSilver());
    QImage img(t.left, QImage::Format_RGB32);
    for (int x = 0; x < img.width(); ++x) {
        const double u = std::clamp((x - 150.0) / 270.0, 0.0, 1.0);
        const double k = u * u * (3 - 2 * u); // smooth fade from blue into silver
        for (int y = 0; y < img.height(); ++y)
            img.setPixelColor(x, y, mix(blue.pixelColor(0, y), silver.pixelColor(0, y), k));
    }
    QPainter p(&img);
    // A soft sheen over the blue part.
    QLinearGradient sheen(0, 0, 0, t.height / 2.0);
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 1, 300, t.height / 2.0), sheen);
    p.end();
    shadeEdge(img, QColor(255, 255, 255, 120), false, 2);
    return img;
}

// Glass reflections: a wide soft arc of light over the upper half of an end piece, faded out
// towards the side where the piece meets the stretched middle, so the joint shows no seam.
void glassSheen(QImage &img, bool joinsOnRight)
{
    const qreal w = img.width();
    const qreal h = img.height();
    QImage sheen = canvas(img.width(), img.height());
    {
        QPainter p(&sheen);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath arc;
        arc.addEllipse(QRectF(joinsOnRight ? -w * 0.25 : w * 0.25, -h * 1.1, w, h * 1.6));
        QLinearGradient g(0, 0, 0, h * 0.5);
        g.setColorAt(0, QColor(255, 255, 255, 120));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillPath(arc, g);
    }
    for (int x = 0; x < img.width(); ++x) {
        const double d = joinsOnRight ? double(img.width() - 1 - x) : double(x);
        const double k = std::clamp(d / (w * 0.5), 0.0, 1.0);
        for (int y = 0; y < img.height(); ++y) {
            QColor c = sheen.pixelColor(x, y);
            c.setAlphaF(float(c.alphaF() * k * k));
            sheen.setPixelColor(x, y, c);
        }
    }
    QPainter p(&img);
    p.drawImage(0, 0, sheen);
}

void addEnds(TsuiUIStyle style, const TitleLook &t, const QString &prefix, ArtSet &out)
{
    QImage left =
        style == TsuiUIStyle::Protein ? proteinLeft(t) : titleFill(style, t.left.width(), t.height);
    QImage middle = titleFill(style, t.middle.width(), t.height);
    QImage right = titleFill(style, t.right.width(), t.height);
    switch (style) {
    case TsuiUIStyle::WinXP:
        shadeEdge(left, QColor(0x9C, 0xC8, 0xFF, 200), false, 3);
        shadeEdge(right, QColor(0x00, 0x2A, 0xA8, 170), true, 2);
        break;
    case TsuiUIStyle::MacOS:
        shadeEdge(left, QColor(255, 255, 255, 140), false, 1);
        shadeEdge(right, QColor(0, 0, 0, 120), true, 1);
        break;
    case TsuiUIStyle::DeepBlue:
        glassSheen(left, true);
        shadeEdge(left, QColor(0x7A, 0x9C, 0xE6, 160), false, 2);
        shadeEdge(right, QColor(0, 0, 0x20, 150), true, 2);
        break;
    case TsuiUIStyle::Protein: {
        right = titleFill(style, t.right.width(), t.height);
        break;
    }
    default:
        glassSheen(left, true);
        glassSheen(right, false);
        shadeEdge(left, QColor(255, 255, 255, 120), false, 2);
        shadeEdge(right, QColor(255, 255, 255, 90), true, 2);
        break;
    }
    roundCorner(left, t, false);
    roundCorner(right, t, true);
    out.emplace_back(prefix + "TITLE_LEFT", left.convertToFormat(QImage::Format_RGB32));
    out.emplace_back(prefix + "TITLE_CLIENT", middle.convertToFormat(QImage::Format_RGB32));
    out.emplace_back(prefix + "TITLE_RIGHT", right.convertToFormat(QImage::Format_RGB32));
}

} // namespace

void addTitleArt(TsuiUIStyle style, ArtSet &out)
{
    const TitleLook t = titleLook(style);
    const QString prefix = BuiltinStyleTable::prefix(style) + QLatin1Char('_');
    out.emplace_back(prefix + "TITLEBTN", titleButtonStrip(style, t));
    addEnds(style, t, prefix, out);
}

} // namespace art
