#include "cli/JsonWriter.h"

#include <cstdio>

namespace vocafetch {

QByteArray jsonString(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray quoted;
    quoted.reserve(utf8.size() + 2);
    quoted += '"';
    for (const char c : utf8) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

JsonObjectWriter::JsonObjectWriter(QByteArray &out) : m_out(out)
{
    m_out += '{';
}

void JsonObjectWriter::key(const char *name)
{
    if (!m_first)
        m_out += ',';
    m_first = false;
    m_out += '"';
    m_out += name;
    m_out += "\":";
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, qint64 value)
{
    key(name);
    m_out += QByteArray::number(value);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, bool value)
{
    key(name);
    m_out += value ? "true" : "false";
    return *this;
}

JsonObjectWriter &JsonObjectWriter::field(const char *name, const QString &value)
{
    key(name);
    m_out += jsonString(value);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::rawField(const char *name, const QByteArray &json)
{
    key(name);
    m_out += json;
    return *this;
}

void JsonObjectWriter::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_out += '}';
}

} // namespace vocafetch
