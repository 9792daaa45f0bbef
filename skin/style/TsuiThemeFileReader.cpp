#include "skin/style/TsuiThemeFileReader.h"

#include "skin/style/ThemeError.h"
#include "skin/style/TsuiUIStyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>

#include <algorithm>

namespace {

Q_LOGGING_CATEGORY(lcTheme, "vocafetch.skin.theme")

enum class Section
{
    None,
    Bitmaps,
    Integers,
    Booleans,
    Strings,
    Unknown,
};

Section sectionOf(const QString &name)
{
    if (name.compare(QLatin1String("Bitmaps"), Qt::CaseInsensitive) == 0)
        return Section::Bitmaps;
    if (name.compare(QLatin1String("Integers"), Qt::CaseInsensitive) == 0)
        return Section::Integers;
    if (name.compare(QLatin1String("Booleans"), Qt::CaseInsensitive) == 0)
        return Section::Booleans;
    if (name.compare(QLatin1String("Strings"), Qt::CaseInsensitive) == 0)
        return Section::Strings;
    return Section::Unknown;
}

bool isBitmapKey(const QString &key)
{
    const int n = vocafetch::StyleEntryFromKeyName(key);
    return n != 0 && vocafetch::StyleEntryKindOf(n) == StyleEntryKind::Bitmap;
}

// Up to one byte more than bound from device: no further, whatever size the file claims or
// grows to, and a piece at a time, for asking for the bound at once sets aside that much
// however small the file.
QByteArray readAtMost(QIODevice &device, qint64 bound)
{
    QByteArray bytes;
    char piece[64 * 1024];
    while (bytes.size() <= bound) {
        const qint64 got =
            device.read(piece, std::min<qint64>(sizeof piece, bound + 1 - bytes.size()));
        if (got <= 0)
            break;
        bytes.append(piece, qsizetype(got));
    }
    return bytes;
}

// The bytes of one bitmap file, at most MaxBitmapFileSize of them; nothing, with a warning,
// when it cannot be read or is larger.
std::optional<QByteArray> readBitmapBytes(const QString &key, const QString &path)
{
    QFile image(path);
    if (!image.open(QIODevice::ReadOnly)) {
        qCWarning(lcTheme, "bitmap %s: cannot open \"%s\": %s", qPrintable(key), qPrintable(path),
                  qPrintable(image.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = readAtMost(image, TsuiThemeFileReader::MaxBitmapFileSize);
    if (bytes.size() > TsuiThemeFileReader::MaxBitmapFileSize) {
        qCWarning(lcTheme, "bitmap %s: \"%s\" is too large", qPrintable(key), qPrintable(path));
        return std::nullopt;
    }
    if (image.error() != QFileDevice::NoError) {
        qCWarning(lcTheme, "bitmap %s: cannot read \"%s\": %s", qPrintable(key), qPrintable(path),
                  qPrintable(image.errorString()));
        return std::nullopt;
    }
    return bytes;
}

std::optional<qint32> parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    if (!ok || value < qint64(INT32_MIN) || value > qint64(UINT32_MAX))
        return std::nullopt;
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

void TsuiThemeFileReader::load(const QString &path)
{
    using vocafetch::ThemeError;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ThemeError(
            QStringLiteral("Cannot open theme file \"%1\": %2").arg(path, file.errorString()));
    if (file.size() > MaxThemeFileSize)
        throw ThemeError(QStringLiteral("Theme file \"%1\" is larger than %2 bytes")
                             .arg(path)
                             .arg(MaxThemeFileSize));
    const QByteArray bytes = readAtMost(file, MaxThemeFileSize);
    if (bytes.size() > MaxThemeFileSize)
        throw ThemeError(QStringLiteral("Theme file \"%1\" is larger than %2 bytes")
                             .arg(path)
                             .arg(MaxThemeFileSize));
    if (file.error() != QFileDevice::NoError)
        throw ThemeError(
            QStringLiteral("Cannot read theme file \"%1\": %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) // byte order mark written by some editors
        text.remove(0, 1);
    parse(text, QFileInfo(path).absolutePath(), path);
    readBitmaps(path);
}

void TsuiThemeFileReader::parse(const QString &text, const QString &baseDir, const QString &path)
{
    Section section = Section::None;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = sectionOf(line.mid(1, line.size() - 2).trimmed());
            if (section == Section::Unknown)
                qCWarning(lcTheme, "%s:%d: unknown section %s, its lines are ignored",
                          qPrintable(path), i + 1, qPrintable(line));
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section == Section::None) {
            if (section != Section::Unknown)
                qCWarning(lcTheme, "%s:%d: expected key=value inside a section", qPrintable(path),
                          i + 1);
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        switch (section) {
        case Section::Bitmaps:
            if (isBitmapKey(key))
                m_bitmapFiles.insert(key, QDir(baseDir).filePath(value));
            else
                qCWarning(lcTheme, "%s:%d: no bitmap entry is called %s; ignored", qPrintable(path),
                          i + 1, qPrintable(key));
            break;
        case Section::Integers:
            m_integers.insert(key, value);
            break;
        case Section::Booleans:
            m_booleans.insert(key, value);
            break;
        case Section::Strings:
            m_strings.insert(key, value);
            break;
        case Section::None:
        case Section::Unknown:
            break;
        }
    }
}

// Reads the bitmap files of the known keys in entry order, each file once, within
// MaxBitmapBytes together.
void TsuiThemeFileReader::readBitmaps(const QString &themePath)
{
    // Keys mostly name one strip by one path: a path is looked at once.
    QHash<QString, int> byPath;
    for (int n = StyleEntry::First; n <= StyleEntry::Last; ++n) {
        const QString &key = vocafetch::StyleEntryKey(n);
        const auto named = m_bitmapFiles.constFind(key);
        if (named == m_bitmapFiles.constEnd())
            continue;
        auto file = byPath.constFind(*named);
        if (file == byPath.constEnd())
            file = byPath.insert(*named, readBitmapFile(key, *named, themePath));
        if (*file >= 0)
            m_bitmaps.insert(key, *file);
    }
    m_bitmapFiles.clear();
    m_canonicalFiles.clear();
}

int TsuiThemeFileReader::readBitmapFile(const QString &key, const QString &path,
                                        const QString &themePath)
{
    // A pipe would block the open and a device such as /dev/zero passes the size check with 0
    // and never ends: only files are read.
    const QFileInfo info(path);
    if (!info.isFile()) {
        qCWarning(lcTheme, "bitmap %s: \"%s\" is not a file", qPrintable(key), qPrintable(path));
        return -1;
    }
    // Another path may name a file read already (through a link, or with "..").
    const QString canonical = info.canonicalFilePath();
    if (const auto read = m_canonicalFiles.constFind(canonical);
        read != m_canonicalFiles.constEnd())
        return *read;
    std::optional<QByteArray> bytes = readBitmapBytes(key, path);
    if (!bytes)
        return -1;
    m_bitmapBytes += bytes->size();
    if (m_bitmapBytes > MaxBitmapBytes)
        throw vocafetch::ThemeError(
            QStringLiteral("Theme file \"%1\" names bitmaps of more than %2 bytes together")
                .arg(themePath)
                .arg(MaxBitmapBytes));
    m_files << *bytes;
    m_canonicalFiles.insert(canonical, int(m_files.size() - 1));
    return int(m_files.size() - 1);
}

std::optional<qint32> TsuiThemeFileReader::integer(const QString &key) const
{
    const auto it = m_integers.constFind(key);
    if (it == m_integers.constEnd())
        return std::nullopt;
    return parseNumber(*it);
}

std::optional<bool> TsuiThemeFileReader::boolean(const QString &key) const
{
    const auto it = m_booleans.constFind(key);
    if (it == m_booleans.constEnd())
        return std::nullopt;
    const std::optional<qint32> number = parseNumber(*it);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<QImage> TsuiThemeFileReader::bitmap(const QString &key) const
{
    const auto it = m_bitmaps.constFind(key);
    if (it == m_bitmaps.constEnd())
        return std::nullopt;
    if (const auto decoded = m_decoded.constFind(*it); decoded != m_decoded.constEnd())
        return *decoded;
    QImage image = QImage::fromData(m_files[*it]);
    std::optional<QImage> result;
    if (!image.isNull())
        result = image.hasAlphaChannel() ? image : image.convertToFormat(QImage::Format_RGB32);
    m_decoded.insert(*it, result);
    return result;
}

int TsuiThemeFileReader::entryCount() const
{
    return int(m_bitmaps.size() + m_integers.size() + m_booleans.size() + m_strings.size());
}
