#pragma once

#include <QByteArray>
#include <QVector>

namespace vocafetch {

// Builds MMS PDUs byte by byte, in the WSP encoding phones write, for the message tests and the
// fuzz seeds. Each piece is the exact bytes of one value, so a test can also write them wrongly.
namespace MmsBuild {

// Header field codes (with the high bit) of the message headers.
enum Field : quint8
{
    Bcc = 0x81,
    Cc = 0x82,
    ContentLocationField = 0x83,
    ContentTypeField = 0x84,
    Date = 0x85,
    DeliveryReport = 0x86,
    Expiry = 0x88,
    From = 0x89,
    MessageClass = 0x8A,
    MessageId = 0x8B,
    Version = 0x8D,
    MessageSize = 0x8E,
    Priority = 0x8F,
    Subject = 0x96,
    To = 0x97,
    TransactionId = 0x98,
    PreviouslySentBy = 0xA0,
};

// Message types.
constexpr quint8 SendReq = 0x80;
constexpr quint8 NotificationInd = 0x82;
constexpr quint8 RetrieveConf = 0x84;

// Well-known content types.
constexpr quint8 TextPlain = 0x03;
constexpr quint8 ImageJpeg = 0x1E;
constexpr quint8 MultipartMixed = 0x23;
constexpr quint8 MultipartRelated = 0x33;

inline QByteArray uintvar(quint32 value)
{
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7)
        out.prepend(char(0x80 | (value & 0x7F)));
    return out;
}

inline QByteArray valueLength(qsizetype length)
{
    return length <= 30 ? QByteArray(1, char(length)) : '\x1F' + uintvar(quint32(length));
}

// The length, then the value.
inline QByteArray withLength(const QByteArray &value)
{
    return valueLength(value.size()) + value;
}

// A Text-string: a Quote before a first byte of 128 or more, the zero byte after.
inline QByteArray text(const QByteArray &bytes)
{
    const bool quote = !bytes.isEmpty() && quint8(bytes[0]) >= 0x80;
    return (quote ? QByteArray("\x7F") : QByteArray()) + bytes + '\0';
}

inline QByteArray shortInteger(quint8 value)
{
    return QByteArray(1, char(0x80 | value));
}

inline QByteArray longInteger(quint64 value)
{
    QByteArray bytes;
    do {
        bytes.prepend(char(value & 0xFF));
        value >>= 8;
    } while (value != 0);
    return char(bytes.size()) + bytes;
}

inline QByteArray integer(quint64 value)
{
    return value < 0x80 ? shortInteger(quint8(value)) : longInteger(value);
}

// An Encoded-string-value in its long form: length, charset (MIBenum), text.
inline QByteArray encodedString(const QByteArray &bytes, quint64 mib)
{
    return withLength(integer(mib) + text(bytes));
}

// Content types: the general form (a length, the media, parameters) or a bare number.
inline QByteArray contentType(const QByteArray &media, const QByteArray &parameters = {})
{
    return withLength(text(media) + parameters);
}
inline QByteArray contentType(quint8 wellKnown, const QByteArray &parameters)
{
    return withLength(shortInteger(wellKnown) + parameters);
}
inline QByteArray wellKnownType(quint8 wellKnown)
{
    return shortInteger(wellKnown);
}

// Parameters and part headers.
inline QByteArray charsetParameter(quint64 mib)
{
    return '\x81' + integer(mib);
}
inline QByteArray nameParameter(const QByteArray &name)
{
    return '\x85' + text(name);
}
inline QByteArray startParameter(const QByteArray &start)
{
    return '\x8A' + text(start);
}
inline QByteArray contentLocation(const QByteArray &location)
{
    return '\x8E' + text(location);
}
inline QByteArray contentId(const QByteArray &id)
{
    return "\xC0\"" + id + '\0'; // a quoted string
}
// Content-Disposition: attachment with a Filename parameter (the WSP 1.4 codes).
inline QByteArray attachment(const QByteArray &filename)
{
    return '\xC5' + withLength(QByteArray("\x81\x98") + text(filename));
}

struct Part
{
    QByteArray contentType; // encoded
    QByteArray headers;     // encoded, after the content type
    QByteArray data;
    qint64 declaredLength = -1; // DataLen when not the data's size
};

class MmsBuilder
{
public:
    explicit MmsBuilder(quint8 type = RetrieveConf) : m_bytes(QByteArray("\x8C") + char(type)) {}

    // A header as it is written: its code, then its encoded value.
    MmsBuilder &header(quint8 field, const QByteArray &value)
    {
        m_bytes += char(field) + value;
        return *this;
    }
    MmsBuilder &textHeader(quint8 field, const QByteArray &value)
    {
        return header(field, text(value));
    }
    MmsBuilder &from(const QByteArray &encodedAddress)
    {
        return header(From, withLength('\x80' + encodedAddress));
    }
    MmsBuilder &applicationHeader(const QByteArray &name, const QByteArray &value)
    {
        m_bytes += text(name) + text(value);
        return *this;
    }
    // The Content-Type header and the multipart body; declaredParts overrides the count.
    MmsBuilder &body(const QByteArray &type, const QVector<Part> &parts, int declaredParts = -1)
    {
        m_bytes += char(ContentTypeField) + type;
        m_bytes += uintvar(quint32(declaredParts < 0 ? parts.size() : declaredParts));
        for (const Part &part : parts) {
            const QByteArray headers = part.contentType + part.headers;
            const qint64 length = part.declaredLength < 0 ? part.data.size() : part.declaredLength;
            m_bytes +=
                uintvar(quint32(headers.size())) + uintvar(quint32(length)) + headers + part.data;
        }
        return *this;
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// The start every PDU needs after its type: a transaction id and the version.
inline MmsBuilder message(quint8 type = RetrieveConf)
{
    MmsBuilder builder(type);
    builder.textHeader(TransactionId, "T1").header(Version, shortInteger(0x12));
    return builder;
}

// Stand-in recording data: the signature, then bytes that hold no 0x8C.
inline QByteArray recordingData(int size = 200)
{
    QByteArray data("#!AMR\n");
    for (int i = 0; data.size() < size; ++i)
        data += char(0x3C + (i * 7) % 40);
    return data;
}

} // namespace MmsBuild

} // namespace vocafetch
