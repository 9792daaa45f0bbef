#include "ContactSheet.h"

#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"

#include <QFont>
#include <QMetaEnum>
#include <QPainter>

using namespace vocafetch;

namespace art {

namespace {

constexpr int SheetWidth = 1500;
constexpr int Margin = 16;

QImage find(const ArtSet &art, const QString &name)
{
    for (const auto &[n, img] : art) {
        if (n == name)
            return img;
    }
    return QImage();
}

// A 311-pixel title bar as the main window shows it: left end, right end, stretched middle,
// close and minimise from the right, the control box on the left and the caption.
QImage titleMock(const ArtSet &art, TsuiUIStyle style, int width)
{
    const QString prefix = BuiltinStyleTable::prefix(style) + QLatin1Char('_');
    const QImage left = find(art, prefix + "TITLE_LEFT");
    const QImage middle = find(art, prefix + "TITLE_CLIENT");
    const QImage right = find(art, prefix + "TITLE_RIGHT");
    const QImage strip = find(art, prefix + "TITLEBTN");
    if (left.isNull() || middle.isNull() || right.isNull() || strip.isNull())
        return QImage();
    const int h = left.height();
    QImage bar(width, h, QImage::Format_RGB32);
    bar.fill(Qt::black);
    QPainter p(&bar);
    int l = -1;
    int r = width + 1;
    p.drawImage(l + 1, 0, left);
    l += left.width();
    if (width - l >= right.width()) {
        p.drawImage(r - right.width() - 1, 0, right);
        r -= right.width();
    }
    if (r - 1 > l + 1)
        p.drawImage(QRect(l + 1, 0, r - l - 2, h), middle);

    const int top = StyleInt(style, StyleEntry::TitleBarButtonTopInt);
    const bool transparent = StyleBool(style, StyleEntry::TitleBarButtonTransparentBool);
    auto frame = [&](int k) {
        QImage f;
        CutFrame(strip, &f, 18, k);
        if (transparent)
            return MakeColorTransparent(f, f.pixel(0, f.height() - 1));
        return f;
    };
    int x = width + StyleInt(style, StyleEntry::TitleBarButtonRightOffsetInt) + 1;
    for (int k : {16, 13}) { // close, minimise
        const QImage f = frame(k);
        x -= f.width() + 1;
        p.drawImage(x, top, f);
    }
    int c = StyleInt(style, StyleEntry::TitleBarButtonLeftOffsetInt);
    const QImage box = frame(1);
    p.drawImage(c, top, box);
    c += box.width() + 5;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    const int textH = p.fontMetrics().height();
    p.drawText(c, (strip.height() - textH) / 2 + top + p.fontMetrics().ascent(),
               QStringLiteral("Vocafetch"));
    return bar;
}

// A button of the window's size drawn from one face frame: corners unscaled, the middle row
// and column stretched, magenta left out (a preview of how the buttons use the faces).
QImage buttonMock(const QImage &strip, int frame, const QColor &back)
{
    QImage f;
    CutFrame(strip, &f, 3, frame);
    if (f.isNull())
        return QImage();
    const QImage face = MakeColorTransparent(f, SkinMaskColor);
    const int W = face.width(), H = face.height(), cx = W / 2, cy = H / 2;
    const int DW = 145, DH = 27;
    QImage out(DW, DH, QImage::Format_RGB32);
    out.fill(back);
    QPainter p(&out);
    const int rw = W - cx - 1, bh = H - cy - 1;
    const int xs[3][2] = {{0, cx}, {cx, 1}, {cx + 1, rw}};
    const int ys[3][2] = {{0, cy}, {cy, 1}, {cy + 1, bh}};
    const int dxs[3][2] = {{0, cx}, {cx, DW - cx - rw}, {DW - rw, rw}};
    const int dys[3][2] = {{0, cy}, {cy, DH - cy - bh}, {DH - bh, bh}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            p.drawImage(QRect(dxs[i][0], dys[j][0], dxs[i][1], dys[j][1]), face,
                        QRect(xs[i][0], ys[j][0], xs[i][1], ys[j][1]));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(frame == 3 ? 1 : 0, frame == 3 ? 1 : 0, DW, DH), Qt::AlignCenter,
               QString::fromUtf8("\u041E\u0442\u043A\u0440\u044B\u0442\u044C"));
    return out;
}

// The top of the main window in a style: border strips, title bar, menu bar with its second item
// under the mouse, the form background with two buttons (normal and hot), and the window's
// rounded top corners.
QImage windowMock(const ArtSet &art, TsuiUIStyle style, const QColor &sheetBack)
{
    const QString prefix = BuiltinStyleTable::prefix(style) + QLatin1Char('_');
    const int W = 317;
    const int H = 120;
    const int bw = StyleInt(style, StyleEntry::FormBorderWidthInt);
    const QColor border = BgrToQColor(StyleColor(style, StyleEntry::FormBorderColor));
    const QColor formColor = BgrToQColor(StyleColor(style, StyleEntry::FormBackgroundColor));
    QImage win(W, H, QImage::Format_RGB32);
    win.fill(border);
    QPainter p(&win);
    const QRect frame(bw, 0, W - 2 * bw, H - bw);
    const QString pattern = style == TsuiUIStyle::MacOS ? QStringLiteral("MACOS_FORM_BACKGROUND")
                            : style == TsuiUIStyle::Protein
                                ? QStringLiteral("PROTEIN_FORM_BACKGROUND")
                                : QString();
    if (pattern.isEmpty())
        p.fillRect(frame, formColor);
    else
        p.fillRect(frame, QBrush(find(art, pattern)));
    const QImage title = titleMock(art, style, frame.width());
    p.drawImage(frame.left(), 0, title);

    const QRect menuBar(frame.left(), title.height(), frame.width(), 22);
    if (style == TsuiUIStyle::MacOS)
        p.drawImage(menuBar, find(art, QStringLiteral("MACOS_MENU_BAR")));
    else
        p.fillRect(menuBar, formColor);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    const QRect file(menuBar.left() + 2, menuBar.top(), 40, 22);
    const QRect help(file.right() + 1, menuBar.top(), 60, 22);
    p.setPen(BgrToQColor(StyleColor(style, StyleEntry::MenuFontColor)));
    p.drawText(file, Qt::AlignCenter, QString::fromUtf8("\u0424\u0430\u0439\u043B"));
    if (style == TsuiUIStyle::MacOS) {
        p.drawImage(help, find(art, QStringLiteral("MACOS_MENU_SELECT")));
    } else {
        p.fillRect(help, BgrToQColor(StyleColor(style, StyleEntry::MenuSelectedBackgroundColor)));
        p.setPen(BgrToQColor(StyleColor(style, StyleEntry::MenuSelectedBorderColor)));
        p.drawRect(help.adjusted(0, 0, -1, -1));
    }
    p.setPen(BgrToQColor(StyleColor(style, StyleEntry::MenuSelectedFontColor)));
    p.drawText(help.adjusted(0, 2, 0, 0), Qt::AlignCenter,
               QString::fromUtf8("\u0421\u043F\u0440\u0430\u0432\u043A\u0430"));

    const QImage faces = find(art, prefix + "BUTTON");
    const int by = menuBar.bottom() + 12;
    const QImage normal = buttonMock(faces, 1, formColor);
    const QImage hot = buttonMock(faces, 2, formColor);
    p.drawImage(frame.left() + 6, by, normal);
    p.drawImage(frame.left() + 6 + 145 + 10, by, hot);
    p.end();

    // Window region: rounded top corners of the style's size, square bottom corners.
    const int r = StyleInt(style, StyleEntry::FormRoundCornerInt);
    if (r <= 0)
        return win;
    QImage out(W, H, QImage::Format_RGB32);
    out.fill(sheetBack);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, W + 1, H + 1), r / 2.0, r / 2.0);
    QPainterPath bottom;
    bottom.addRect(QRectF(0, H - 2 * r, W, 2 * r));
    const QPainterPath region = rounded.united(bottom);
    QPainter q(&out);
    q.setClipPath(region);
    q.drawImage(0, 0, win);
    return out;
}

int scaleFor(const QImage &img)
{
    int s = std::clamp(900 / std::max(1, img.width()), 1, 4);
    while (s > 1 && img.height() * s > 200)
        --s;
    return s;
}

// Pictures a few pixels wide (stretched bars) are shown widened so their colours can be seen.
QImage widenNarrow(const QImage &img)
{
    if (img.width() >= 4)
        return img;
    return img.scaled(12, img.height());
}

struct Cursor
{
    int x = Margin;
    int y = Margin;
    int rowHeight = 0;
};

void place(QPainter &p, Cursor &cur, const QString &label, const QImage &img, int scale)
{
    const QImage shown = widenNarrow(img);
    const int w = shown.width() * scale;
    const int h = shown.height() * scale;
    const int cellW = std::max(w, p.fontMetrics().horizontalAdvance(label)) + 18;
    if (cur.x + cellW > SheetWidth - Margin) {
        cur.x = Margin;
        cur.y += cur.rowHeight + 10;
        cur.rowHeight = 0;
    }
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.drawText(cur.x, cur.y + 12, label);
    p.drawImage(QRect(cur.x, cur.y + 18, w, h), shown);
    cur.x += cellW;
    cur.rowHeight = std::max(cur.rowHeight, h + 18);
}

void newSection(QPainter &p, Cursor &cur, const QString &title)
{
    cur.x = Margin;
    cur.y += cur.rowHeight + 22;
    cur.rowHeight = 0;
    QFont f = p.font();
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x10, 0x10, 0x10));
    p.drawText(cur.x, cur.y + 16, title);
    f.setPixelSize(11);
    f.setBold(false);
    p.setFont(f);
    cur.y += 26;
}

void drawSheet(QPainter &p, const ArtSet &art, Cursor &cur)
{
    for (TsuiUIStyle style : BuiltinStyleTable::styles()) {
        const QString prefix = BuiltinStyleTable::prefix(style);
        newSection(p, cur,
                   QString::fromLatin1(QMetaEnum::fromType<TsuiUIStyle>().valueToKey(int(style))));
        const QImage window = windowMock(art, style, QColor(0xF2, 0xF2, 0xEE));
        place(p, cur, QStringLiteral("window top (x2)"), window, 2);
        const QImage faces = find(art, prefix + "_BUTTON");
        const QColor back = BgrToQColor(StyleColor(style, StyleEntry::FormBackgroundColor));
        const QImage pressed = buttonMock(faces, 3, back);
        if (!pressed.isNull())
            place(p, cur, QStringLiteral("button 145x27, pressed (x2)"), pressed, 2);
        for (const auto &[name, img] : art) {
            if (!name.startsWith(prefix + QLatin1Char('_')) || img.isNull())
                continue;
            const int s = scaleFor(img);
            place(p, cur,
                  QStringLiteral("%1 %2x%3 (x%4)")
                      .arg(name)
                      .arg(img.width())
                      .arg(img.height())
                      .arg(s),
                  img, s);
        }
    }
    newSection(p, cur, QStringLiteral("Shared"));
    for (const auto &[name, img] : art) {
        bool styled = false;
        for (TsuiUIStyle style : BuiltinStyleTable::styles())
            styled = styled || name.startsWith(BuiltinStyleTable::prefix(style) + "_");
        if (styled)
            continue;
        const int s = scaleFor(img);
        place(p, cur,
              QStringLiteral("%1 %2x%3 (x%4)").arg(name).arg(img.width()).arg(img.height()).arg(s),
              img, s);
    }
}

} // namespace

QImage renderContactSheet(const ArtSet &art)
{
    // First pass measures the height, second draws.
    QImage probe(SheetWidth, 10, QImage::Format_RGB32);
    Cursor measure;
    {
        QPainter p(&probe);
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(11);
        p.setFont(f);
        measure.y -= 22;
        drawSheet(p, art, measure);
    }
    QImage sheet(SheetWidth, measure.y + measure.rowHeight + Margin + 22, QImage::Format_RGB32);
    sheet.fill(QColor(0xF2, 0xF2, 0xEE));
    QPainter p(&sheet);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    p.setFont(f);
    Cursor cur;
    cur.y -= 22;
    drawSheet(p, art, cur);
    return sheet;
}

} // namespace art
