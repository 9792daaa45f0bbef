#include "skin/style/StyleLookup.h"

#include "skin/style/PixelMap.h"

#include "skin/style/BuiltinStyleTable.h"

#include <QFile>
#include <QIcon>

namespace vocafetch {

namespace {

// One answer of the built-in table: the entry's kind and stored value. Styles without a table
// and entry numbers outside 1..42 answer an integer of -1.
struct TableAnswer
{
    StyleEntryKind kind = StyleEntryKind::Integer;
    StyleTableValue value{-1, nullptr};
};

TableAnswer lookUp(TsuiUIStyle s, int n)
{
    const StyleTableRow *row = BuiltinStyleTable::row(s);
    if (!row || n < StyleEntry::First || n > StyleEntry::Last)
        return {};
    return {BuiltinStyleTable::kinds()[n - 1], (*row)[n - 1]};
}

// Classic system colours for values 0xFF0000nn (nn = system colour index).
QColor systemColor(quint32 index)
{
    switch (index) {
    case 0:
        return QColor(212, 208, 200); // scroll bar
    case 1:
        return QColor(0, 78, 152); // desktop
    case 2:
        return QColor(0, 84, 227); // active caption
    case 3:
        return QColor(122, 150, 223); // inactive caption
    case 4:
        return QColor(255, 255, 255); // menu
    case 5:
        return QColor(255, 255, 255); // window
    case 6:
        return QColor(0, 0, 0); // window frame
    case 7:
        return QColor(0, 0, 0); // menu text
    case 8:
        return QColor(0, 0, 0); // window text
    case 9:
        return QColor(255, 255, 255); // caption text
    case 10:
        return QColor(212, 208, 200); // active border
    case 11:
        return QColor(212, 208, 200); // inactive border
    case 12:
        return QColor(128, 128, 128); // application workspace
    case 13:
        return QColor(49, 106, 197); // highlight
    case 14:
        return QColor(255, 255, 255); // highlight text
    case 15:
        return QColor(236, 233, 216); // button face
    case 16:
        return QColor(172, 168, 153); // button shadow
    case 17:
        return QColor(172, 168, 153); // grey text
    case 18:
        return QColor(0, 0, 0); // button text
    case 19:
        return QColor(216, 228, 248); // inactive caption text
    case 20:
        return QColor(255, 255, 255); // button highlight
    case 21:
        return QColor(113, 111, 100); // dark shadow
    case 22:
        return QColor(241, 239, 226); // light
    case 23:
        return QColor(0, 0, 0); // info text
    case 24:
        return QColor(255, 255, 225); // info background
    default:
        return QColor(Qt::transparent);
    }
}

} // namespace

} // namespace vocafetch

// Registers the compiled-in bitmaps; the library is static, so this also keeps the linker from
// dropping them. Must stay outside any namespace.
static int initSkinResources()
{
    Q_INIT_RESOURCE(skin);
    return 0;
}

static void ensureSkinResources()
{
    static const int once = initSkinResources();
    Q_UNUSED(once);
}

namespace vocafetch {

QColor BgrToQColor(quint32 bgr)
{
    if ((bgr >> 24) == 0xFF)
        return systemColor(bgr & 0xFFFFFF);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 QColorToBgr(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

quint32 StyleColor(TsuiUIStyle s, int n)
{
    const TableAnswer a = lookUp(s, n);
    return a.kind == StyleEntryKind::Colour ? quint32(a.value.number) : 0;
}

int StyleInt(TsuiUIStyle s, int n)
{
    const TableAnswer a = lookUp(s, n);
    return a.kind == StyleEntryKind::Integer ? a.value.number : -1;
}

bool StyleBool(TsuiUIStyle s, int n)
{
    const TableAnswer a = lookUp(s, n);
    return a.kind == StyleEntryKind::Boolean && a.value.number != 0;
}

QString StyleBitmapName(TsuiUIStyle s, int n)
{
    const TableAnswer a = lookUp(s, n);
    if (a.kind != StyleEntryKind::Bitmap || !a.value.resource)
        return QString();
    return QString::fromLatin1(a.value.resource);
}

void LoadStyleBitmap(TsuiUIStyle s, int n, QImage *target, int frameCount, int frameIndex)
{
    if (!target)
        return;
    const QString name = StyleBitmapName(s, n);
    if (frameCount <= 0) {
        if (!name.isEmpty())
            *target = LoadSkinResource(name);
        return;
    }
    const QImage whole = name.isEmpty() ? QImage() : LoadSkinResource(name);
    CutFrame(whole, target, frameCount, frameIndex);
}

void CutFrame(const QImage &source, QImage *target, int n, int k)
{
    if (!target)
        return;
    if (source.isNull() || n < 1 || k < 1 || k > n || source.width() / n == 0) {
        *target = QImage();
        return;
    }
    const int w = source.width() / n;
    *target = source.copy(w * (k - 1), 0, w, source.height());
}

QString SkinResourcePath(const QString &name)
{
    return QStringLiteral(":/skin/") + name + QStringLiteral(".png");
}

QImage LoadSkinResource(const QString &name)
{
    ensureSkinResources();
    if (name.isEmpty())
        return QImage();
    QImage image(SkinResourcePath(name));
    if (image.isNull() || image.hasAlphaChannel())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

QIcon SkinProgramIcon()
{
    QIcon icon;
    for (const char *name : {"MAINICON_16", "MAINICON_32", "MAINICON"}) {
        const QImage image = LoadSkinResource(QString::fromLatin1(name));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage MakeColorTransparent(const QImage &image, QRgb key)
{
    const QRgb rgb = key & 0xFFFFFF;
    return MapPixels(image, [rgb](QRgb p) { return (p & 0xFFFFFF) == rgb ? 0 : p; });
}

} // namespace vocafetch
