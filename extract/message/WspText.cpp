#include "extract/message/WspText.h"

#include "extract/message/MmsCharset.h"
#include "extract/message/WspReader.h"

namespace vocafetch {

namespace {

using wsp::FirstTextByte;
using wsp::LengthQuote;
using wsp::TextQuote;

constexpr quint8 NoValue = 0;
constexpr quint8 MaxLongIntegerLength = 8;

// Sets whose characters hold zero bytes, so a zero byte does not end their text.
bool isWide(const QByteArray &charset)
{
    const QByteArray name = charset.toUpper();
    return name.startsWith("UTF-16") || name.startsWith("UTF-32") || name == "ISO-10646-UCS-2" ||
           name == "UCS-2" || name == "CSUNICODE";
}

// The charset and text inside an encoded value.
std::optional<QString> encodedValue(WspReader value)
{
    const auto charset = readCharset(value);
    if (!charset)
        return std::nullopt;
    return decodeStringBytes(QByteArrayView(value.data() + value.pos(), value.remaining()),
                             *charset);
}

} // namespace

std::optional<QByteArray> readCharset(WspReader &reader)
{
    const auto first = reader.peek();
    if (!first)
        return std::nullopt;
    if (*first >= 0x80 || (*first >= 1 && *first <= MaxLongIntegerLength)) {
        const auto mib = reader.integer();
        if (!mib)
            return std::nullopt;
        return charsetName(*mib);
    }
    if (*first >= FirstTextByte) {
        const auto name = reader.text();
        if (!name)
            return std::nullopt;
        return name->toByteArray();
    }
    return std::nullopt;
}

std::optional<QString> readText(WspReader &reader)
{
    const auto first = reader.peek();
    if (!first || (*first != NoValue && *first < FirstTextByte) || *first >= 0x80)
        return std::nullopt;
    const auto text = reader.text();
    if (!text)
        return std::nullopt;
    return decodeText(*text);
}

std::optional<QString> readEncodedString(WspReader &reader)
{
    const auto first = reader.peek();
    if (!first)
        return std::nullopt;
    if (*first > LengthQuote)
        return readText(reader);
    const qint64 start = reader.pos();
    const auto length = reader.valueLength();
    if (!length)
        return std::nullopt;
    auto decoded = encodedValue(*reader.take(*length));
    if (!decoded)
        reader = WspReader(reader.data(), start, reader.end(), reader.base());
    return decoded;
}

std::optional<QString> readTextValue(WspReader &reader)
{
    const auto first = reader.peek();
    if (first && *first == NoValue) {
        reader.byte();
        return QString();
    }
    if (first && *first <= LengthQuote)
        return readEncodedString(reader);
    if (!first || *first < FirstTextByte || *first >= 0x80)
        return std::nullopt;
    const auto text = reader.text();
    if (!text)
        return std::nullopt;
    return decodeText(unquoted(*text));
}

QString decodeStringBytes(QByteArrayView bytes, const QByteArray &charset)
{
    if (!bytes.isEmpty() && quint8(bytes.front()) == TextQuote)
        bytes = bytes.sliced(1);
    QString text;
    if (isWide(charset)) {
        // An odd zero byte at the end ends the string; it is no half of a character.
        if (bytes.size() % 2 == 1 && bytes.back() == '\0')
            bytes.chop(1);
        text = decodeText(bytes, charset);
    } else {
        const qsizetype zero = bytes.indexOf('\0');
        text = decodeText(zero < 0 ? bytes : bytes.first(zero), charset);
    }
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

} // namespace vocafetch
