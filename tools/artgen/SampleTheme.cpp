#include "SampleTheme.h"

#include "StyleArt.h"

#include "skin/style/BuiltinStyleTable.h"
#include "skin/style/StyleLookup.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>

using namespace vocafetch;

namespace art {

namespace {

// Blues become amber, everything else keeps its hue; the title bar additionally turns to
// graphite by losing most of its saturation in the dark rows.
QImage toAmber(const QImage &src, bool graphite)
{
    QImage out = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                continue; // keep the mask colour
            QColor c = QColor::fromRgb(line[x]);
            const int h = c.hsvHue();
            if (h < 180 || h > 270)
                continue;
            int s = c.hsvSaturation();
            int v = c.value();
            if (graphite && v < 200) {
                s = s / 5;
                v = v * 4 / 5;
            }
            c.setHsv(32, s, v);
            line[x] = c.rgb();
        }
    }
    return out;
}

QString fileNameFor(const QString &resource)
{
    // "DEEPBLUE_TITLE_LEFT" -> "title_left.png"
    QString stem = resource.section(QLatin1Char('_'), 1).toLower();
    if (resource == QLatin1String("MORE_SCROLLBUTTON"))
        stem = QStringLiteral("scrollbutton");
    return stem + QStringLiteral(".png");
}

struct Value
{
    int entry;
    qint64 value;
};

// Colours are 0x00BBGGRR.
const Value kValues[] = {
    {2, 0},           {6, 0},           {7, 2},           {8, -2},          {9, 2},
    {13, 160},        {14, 0},          {15, 0x00E2EDF3}, {16, 0x00303438}, {17, 2},
    {18, 0x00106CC8}, {19, 0x004AB4F6}, {20, 0x00000000}, {21, 0x00F4F9FC}, {22, 0x00202020},
    {23, 0x00C8D8E4}, {25, 0x00405060}, {26, 0x00E2EDF3}, {27, 0x00104070}, {31, 0x00EAF2F6},
    {35, 0x00106CC8}, {36, 0x00B4E0FC}, {37, 0x0070C0F0},
};

} // namespace

bool writeSampleTheme(const QString &folder, QString *error)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    // The pieces start from DeepBlue's shapes and sizes (19-pixel title buttons on a 32-pixel bar).
    ArtSet base;
    addTitleArt(TsuiUIStyle::DeepBlue, base);
    ControlLook look = controlLook(TsuiUIStyle::DeepBlue);
    look.formBack = QColor(0xF3, 0xED, 0xE2); // the theme's form colour, behind the corners
    addControlArt(look, base);
    base.emplace_back(QStringLiteral("MORE_SCROLLBUTTON"), moreScrollButtons());

    QSaveFile file(dir.filePath(QStringLiteral("amber.theme")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    QTextStream s(&file);
    s << "; Amber: graphite title bar, amber buttons and selections, warm form colour.\n"
      << "; Written by vocafetch-artgen --theme; see docs/theme-format.md.\n\n"
      << "[Strings]\nName=Amber\n\n[Bitmaps]\n";
    for (int n = StyleEntry::First; n <= StyleEntry::Last; ++n) {
        if (StyleEntryKindOf(n) != StyleEntryKind::Bitmap)
            continue;
        const QString resource = StyleBitmapName(TsuiUIStyle::DeepBlue, n);
        QImage img;
        for (const auto &[name, picture] : base) {
            if (name == resource)
                img = picture;
        }
        const bool title =
            n == StyleEntry::TitleBarLeftImage || n == StyleEntry::TitleBarClientImage ||
            n == StyleEntry::TitleBarRightImage || n == StyleEntry::TitleBarButtonImage;
        const QString name = fileNameFor(resource);
        if (img.isNull() || !toAmber(img, title).save(dir.filePath(name), "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(name);
            return false;
        }
        s << StyleEntryKeyName(n) << '=' << name << '\n';
    }
    s << "\n[Integers]\n";
    for (const Value &v : kValues) {
        if (StyleEntryKindOf(v.entry) == StyleEntryKind::Boolean)
            continue;
        s << StyleEntryKeyName(v.entry) << '=';
        if (StyleEntryKindOf(v.entry) == StyleEntryKind::Colour)
            s << "0x" << QString::number(v.value, 16).rightJustified(8, QLatin1Char('0')).toUpper();
        else
            s << v.value;
        s << '\n';
    }
    s << "\n[Booleans]\n";
    for (const Value &v : kValues) {
        if (StyleEntryKindOf(v.entry) == StyleEntryKind::Boolean)
            s << StyleEntryKeyName(v.entry) << '=' << v.value << '\n';
    }
    s.flush();
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace art
