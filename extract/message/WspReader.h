#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace vocafetch {

// The first bytes by which WSP tells its encodings apart.
namespace wsp {
constexpr quint8 LengthQuote = 31;        // a uintvar length follows
constexpr quint8 FirstTextByte = 32;      // 32 ... 127 open text ended by a zero byte
constexpr quint8 StringQuote = 0x22;      // opens a Quoted-string
constexpr quint8 TextQuote = 0x7F;        // opens a Text-string whose first byte is high
constexpr quint8 ShiftDelimiter = 0x7F;   // in headers: a shift to another code page
constexpr quint8 ShortIntegerFlag = 0x80; // set on a Short-integer
} // namespace wsp

// Reads WSP-encoded values (the encoding of MMS headers and multipart bodies) from the bytes
// data[pos] ... data[end - 1], never touching a byte at or past end. A read that does not fit,
// or finds another encoding than the one asked for, gives nothing and leaves the position where
// it was, so the caller may try another reading or give up.
class WspReader
{
public:
    // base: the container offset of data[0], so offset() speaks of the container.
    WspReader(const char *data, qint64 pos, qint64 end, qint64 base = 0)
        : m_data(data), m_pos(pos), m_end(end), m_base(base)
    {
    }

    qint64 pos() const { return m_pos; }
    qint64 end() const { return m_end; }
    qint64 offset() const { return m_base + m_pos; }
    qint64 remaining() const { return m_end - m_pos; }
    bool atEnd() const { return m_pos >= m_end; }
    const char *data() const { return m_data; }
    qint64 base() const { return m_base; }

    std::optional<quint8> peek() const;
    std::optional<quint8> byte();
    bool skip(qint64 count);
    // A reader over the next length bytes; this one moves past them.
    std::optional<WspReader> take(qint64 length);
    // A reader over the same bytes up to at most limit bytes from here.
    WspReader limited(qint64 limit) const;

    // 7 bits a byte, the high bit set while more follow; at most 32 bits.
    std::optional<quint32> uintvar();
    // Short-length (0 ... 30) or Length-quote (31) and a uintvar; the value must fit.
    std::optional<qint64> valueLength();
    // The bytes up to a zero byte, which is consumed: Text-string without its leading Quote
    // (0x7F), Token-text, or a Quoted-string with its opening quote (0x22) left on.
    std::optional<QByteArrayView> text();
    // Short-integer (0x80 | n) or Long-integer (a short length of 1 ... 8, then big-endian).
    std::optional<quint64> integer();
    // Skips one value by the rules every WSP value follows: 0 ... 30 a short length and that
    // many bytes, 31 a uintvar length and that many, 32 ... 127 text up to its zero byte, 128
    // and above one byte.
    bool skipValue();

private:
    const char *m_data;
    qint64 m_pos;
    qint64 m_end;
    qint64 m_base;
};

// Drops the opening quote of a Quoted-string, and its closing one if an encoder wrote it.
QByteArrayView unquoted(QByteArrayView text);

} // namespace vocafetch
