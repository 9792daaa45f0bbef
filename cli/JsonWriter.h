#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

// JSON written straight into a byte buffer, for listings of millions of recordings: no
// document or object is built per entry.

// text as a quoted JSON string: quotes, backslashes and control characters escaped, the rest
// as UTF-8.
QByteArray jsonString(const QString &text);

// One JSON object appended to out field by field; the braces are written by the constructor
// and by close() (or the destructor). The object's bytes gather in the writer and reach out
// at close(), a few hundred at a time: one append an entry, not a few per field.
class JsonObjectWriter
{
public:
    explicit JsonObjectWriter(QByteArray &out);
    ~JsonObjectWriter() { close(); }
    JsonObjectWriter(const JsonObjectWriter &) = delete;
    JsonObjectWriter &operator=(const JsonObjectWriter &) = delete;

    JsonObjectWriter &field(const char *key, qint64 value);
    JsonObjectWriter &field(const char *key, int value) { return field(key, qint64(value)); }
    JsonObjectWriter &field(const char *key, bool value);
    JsonObjectWriter &field(const char *key, const QString &value);
    // A text field only when the text is not empty: listings leave out what is not known.
    JsonObjectWriter &fieldIfAny(const char *key, const QString &value)
    {
        return value.isEmpty() ? *this : field(key, value);
    }
    // A value that is JSON already (an array, an object).
    JsonObjectWriter &rawField(const char *key, const QByteArray &json);
    void close();

private:
    void key(const char *name);
    void put(const char *bytes, qsizetype size);
    void put(char byte);
    void flush();

    QByteArray &m_out;
    bool m_first = true;
    bool m_closed = false;
    qsizetype m_pendingSize = 0;
    char m_pending[512];
};

} // namespace vocafetch
