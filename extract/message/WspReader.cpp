#include "extract/message/WspReader.h"

#include "extract/analysis/WspPartHeader.h"

#include <cstring>

namespace vocafetch {

namespace {

using wsp::LengthQuote;
using wsp::ShortIntegerFlag;
using wsp::StringQuote;
using wsp::TextQuote;

constexpr int MaxLongIntegerBytes = 8;

} // namespace

std::optional<quint8> WspReader::peek() const
{
    if (atEnd())
        return std::nullopt;
    return quint8(m_data[m_pos]);
}

std::optional<quint8> WspReader::byte()
{
    const auto value = peek();
    if (value)
        ++m_pos;
    return value;
}

bool WspReader::skip(qint64 count)
{
    if (count < 0 || count > remaining())
        return false;
    m_pos += count;
    return true;
}

std::optional<WspReader> WspReader::take(qint64 length)
{
    if (length < 0 || length > remaining())
        return std::nullopt;
    WspReader part(m_data, m_pos, m_pos + length, m_base);
    m_pos += length;
    return part;
}

WspReader WspReader::limited(qint64 limit) const
{
    return WspReader(m_data, m_pos, m_pos + qMin(limit, remaining()), m_base);
}

std::optional<quint32> WspReader::uintvar()
{
    const auto value = readUintvar(m_data, m_pos, m_end);
    if (!value)
        return std::nullopt;
    m_pos += value->length;
    return value->value;
}

std::optional<qint64> WspReader::valueLength()
{
    const auto first = peek();
    if (!first || *first > LengthQuote)
        return std::nullopt;
    const qint64 start = m_pos;
    qint64 length = *first;
    ++m_pos;
    if (*first == LengthQuote) {
        const auto quoted = uintvar();
        if (!quoted) {
            m_pos = start;
            return std::nullopt;
        }
        length = *quoted;
    }
    if (length > remaining()) {
        m_pos = start;
        return std::nullopt;
    }
    return length;
}

std::optional<QByteArrayView> WspReader::text()
{
    const auto first = peek();
    if (!first)
        return std::nullopt;
    const void *zero = std::memchr(m_data + m_pos, 0, size_t(remaining()));
    if (zero == nullptr)
        return std::nullopt;
    const char *from = m_data + m_pos;
    const char *to = static_cast<const char *>(zero);
    m_pos = qint64(to - m_data) + 1;
    if (*first == TextQuote)
        ++from;
    return QByteArrayView(from, qint64(to - from));
}

std::optional<quint64> WspReader::integer()
{
    const auto first = peek();
    if (!first)
        return std::nullopt;
    if (*first & ShortIntegerFlag) {
        ++m_pos;
        return quint64(*first & ~ShortIntegerFlag);
    }
    if (*first == 0 || *first > MaxLongIntegerBytes || *first >= remaining())
        return std::nullopt;
    quint64 value = 0;
    for (int i = 1; i <= *first; ++i)
        value = (value << 8) | quint8(m_data[m_pos + i]);
    m_pos += 1 + *first;
    return value;
}

bool WspReader::skipValue()
{
    const auto first = peek();
    if (!first)
        return false;
    if (*first <= LengthQuote) {
        const qint64 start = m_pos;
        const auto length = valueLength();
        if (!length || !skip(*length)) {
            m_pos = start;
            return false;
        }
        return true;
    }
    if (*first < ShortIntegerFlag)
        return text().has_value();
    ++m_pos;
    return true;
}

QByteArrayView unquoted(QByteArrayView text)
{
    if (text.isEmpty() || quint8(text.front()) != StringQuote)
        return text;
    text = text.sliced(1);
    if (!text.isEmpty() && quint8(text.back()) == StringQuote)
        text.chop(1);
    return text;
}

} // namespace vocafetch
