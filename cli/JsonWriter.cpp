#include "cli/JsonWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace vocafetch {

namespace {

// Room for bytes more in out: the buffer grows by doubling, never by the few bytes an entry
// adds (millions of entries are written into one buffer).
void makeRoom(QByteArray &out, qsizetype bytes)
{
    if (out.capacity() - out.size() < bytes)
        out.reserve(std::max(2 * out.capacity(), out.size() + bytes));
}

// The UTF-8 bytes escaped into out: runs that need no escape are copied at once.
void appendEscaped(QByteArray &out, const char *bytes, qsizetype size)
{
    qsizetype plain = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(bytes + plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"':
            out.append("\\\"", 2);
            break;
        case '\\':
            out.append("\\\\", 2);
            break;
        case '\n':
            out.append("\\n", 2);
            break;
        case '\r':
            out.append("\\r", 2);
            break;
        case '\t':
            out.append("\\t", 2);
            break;
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out.append(escaped, 6);
        }
        }
    }
    out.append(bytes + plain, size - plain);
}

void appendString(QByteArray &out, const QString &text)
{
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    appendEscaped(out, utf8.constData(), utf8.size());
    out.append('"');
}

} // namespace

QByteArray jsonString(const QString &text)
{
    QByteArray quoted;
    quoted.reserve(text.size() + 2);
    appendString(quoted, text);
    return quoted;
}

JsonObjectWriter::JsonObjectWriter(QByteArray &out) : m_out(out)
{
    put('{');
}

void JsonObjectWriter::put(const char *bytes, qsizetype size)
{
    if (m_pendingSize + size > qsizetype(sizeof m_pending)) {
        flush();
        if (size > qsizetype(sizeof m_pending)) {
            m_out.append(bytes, size);
            return;
        }
    }
    std::memcpy(m_pending + m_pendingSize, bytes, size_t(size));
    m_pendingSize += size;
}

void JsonObjectWriter::put(char byte)
{
    if (m_pendingSize == qsizetype(sizeof m_pending))
        flush();
    m_pending[m_pendingSize++] = byte;
}

void JsonObjectWriter::flush()
{
    makeRoom(m_out, m_pendingSize);
    m_out.append(m_pending, m_pendingSize);
    m_pendingSize = 0;
}

void JsonObjectWriter::key(const char *name)
{
    if (!m_first)
        put(',');
    m_first = false;
    put('"');
    put(name, qsizetype(std::strlen(name)));
    put("\":", 2);
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, qint64 value)
{
    key(name);
    char digits[24];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    put(digits, qsizetype(written.ptr - digits));
    return *this;
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, bool value)
{
    key(name);
    if (value)
        put("true", 4);
    else
        put("false", 5);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, const QString &value)
{
    key(name);
    const QByteArray quoted = jsonString(value);
    put(quoted.constData(), quoted.size());
    return *this;
}

JsonObjectWriter &JsonObjectWriter::rawField(const char *name, const QByteArray &json)
{
    key(name);
    put(json.constData(), json.size());
    return *this;
}

void JsonObjectWriter::close()
{
    if (m_closed)
        return;
    m_closed = true;
    put('}');
    flush();
}

} // namespace vocafetch
