#include "extract/message/MmsCharset.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <map>

namespace vocafetch {

namespace {

struct CharsetEntry
{
    int mib;
    const char *name;
};

// The sets phones and servers write, by MIBenum number.
constexpr CharsetEntry Charsets[] = {
    {3, "US-ASCII"},
    {4, "ISO-8859-1"},
    {5, "ISO-8859-2"},
    {6, "ISO-8859-3"},
    {7, "ISO-8859-4"},
    {8, "ISO-8859-5"},
    {9, "ISO-8859-6"},
    {10, "ISO-8859-7"},
    {11, "ISO-8859-8"},
    {12, "ISO-8859-9"},
    {13, "ISO-8859-10"},
    {17, "Shift_JIS"},
    {18, "EUC-JP"},
    {36, "KS_C_5601-1987"},
    {37, "ISO-2022-KR"},
    {38, "EUC-KR"},
    {39, "ISO-2022-JP"},
    {106, "UTF-8"},
    {109, "ISO-8859-13"},
    {110, "ISO-8859-14"},
    {111, "ISO-8859-15"},
    {112, "ISO-8859-16"},
    {113, "GBK"},
    {114, "GB18030"},
    {1000, "ISO-10646-UCS-2"},
    {1013, "UTF-16BE"},
    {1014, "UTF-16LE"},
    {1015, "UTF-16"},
    {1017, "UTF-32"},
    {1018, "UTF-32BE"},
    {1019, "UTF-32LE"},
    {2025, "GB2312"},
    {2026, "Big5"},
    {2084, "KOI8-R"},
    {2088, "KOI8-U"},
    {2250, "windows-1250"},
    {2251, "windows-1251"},
    {2252, "windows-1252"},
    {2253, "windows-1253"},
    {2254, "windows-1254"},
    {2255, "windows-1255"},
    {2256, "windows-1256"},
    {2257, "windows-1257"},
    {2258, "windows-1258"},
    {2259, "TIS-620"},
};

constexpr char16_t Replacement = 0xFFFD;
constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

bool named(const QByteArray &charset, std::initializer_list<const char *> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char *name) {
        return charset.compare(name, Qt::CaseInsensitive) == 0;
    });
}

QString decodeAscii(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char c) { return quint8(c) < 0x80 ? QChar(c) : QChar(Replacement); });
    return text;
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    // Stateless: a sequence cut at the end becomes U+FFFD rather than vanishing.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// UTF-16 and UCS-2: a byte-order mark decides, else the byte order the name gives.
QString decodeUtf16(QByteArrayView bytes, bool littleEndian)
{
    if (bytes.size() >= 2) {
        const quint8 first = quint8(bytes[0]), second = quint8(bytes[1]);
        if (first == 0xFE && second == 0xFF) {
            bytes = bytes.sliced(2);
            littleEndian = false;
        } else if (first == 0xFF && second == 0xFE) {
            bytes = bytes.sliced(2);
            littleEndian = true;
        }
    }
    return decodeWith(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, bytes);
}

// Qt's converter of the set called charset, invalid when Qt has none. Opening one by name
// costs more than most texts it decodes, and a container's messages name few sets: the
// converters asked for are kept, a few per thread, and start each text afresh.
QStringDecoder &namedDecoder(const QByteArray &charset)
{
    constexpr size_t MaxKept = 16;
    thread_local std::map<QByteArray, QStringDecoder> kept;
    auto found = kept.find(charset);
    if (found == kept.end()) {
        if (kept.size() == MaxKept)
            kept.clear();
        found = kept.emplace(charset,
                             QStringDecoder(charset.constData(), QStringConverter::Flag::Stateless))
                    .first;
    }
    found->second.resetState();
    return found->second;
}

bool isNumber(const QByteArray &name)
{
    return !name.isEmpty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

QByteArray charsetName(quint64 mib)
{
    if (mib == 0)
        return {};
    const auto entry = std::find_if(std::begin(Charsets), std::end(Charsets),
                                    [mib](const CharsetEntry &e) { return quint64(e.mib) == mib; });
    if (entry != std::end(Charsets))
        return QByteArray::fromRawData(entry->name, qstrlen(entry->name)); // no copy of a constant
    return QByteArray::number(mib);
}

QString decodeText(QByteArrayView bytes, const QByteArray &charset)
{
    // A UTF-8 byte-order mark outweighs the set named: servers put it before text they call
    // US-ASCII, and read in an 8-bit set it would only be three letters of noise.
    if (charset.isEmpty() || named(charset, {"UTF-8", "utf8"}) || bytes.startsWith(Utf8Bom))
        return decodeWith(QStringConverter::Utf8, bytes);
    if (named(charset, {"US-ASCII", "ASCII", "ANSI_X3.4-1968"}))
        return decodeAscii(bytes);
    if (named(charset, {"ISO-8859-1", "latin1"}))
        return decodeWith(QStringConverter::Latin1, bytes);
    if (named(charset, {"UTF-16", "UTF-16BE", "ISO-10646-UCS-2", "UCS-2", "csUnicode"}))
        return decodeUtf16(bytes, false);
    if (named(charset, {"UTF-16LE"}))
        return decodeUtf16(bytes, true);
    // The other sets (windows-1251, KOI8-R, ...) come from Qt's converters by name. A number
    // is a MIBenum this reader does not know: no converter should guess at it.
    if (!isNumber(charset)) {
        QStringDecoder &decoder = namedDecoder(charset);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return decodeAscii(bytes);
}

} // namespace vocafetch
