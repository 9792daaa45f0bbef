// The message headers of an MMS PDU.
#include "extract/message/MmsPduReading.h"
#include "extract/message/MmsReader.h"
#include "extract/message/ProblemText.h"
#include "extract/message/WspContentType.h"
#include "extract/message/WspText.h"

#include "extract/message/WspReader.h"
#include <array>
#include <limits>

namespace vocafetch {

namespace {

using wsp::FirstTextByte;
using wsp::ShortIntegerFlag;

// MMS header fields (their codes without the high bit) this reader keeps; the others are
// skipped by the length rules of their values.
enum Field : quint8
{
    Bcc = 0x01,
    Cc = 0x02,
    ContentType = 0x04,
    Date = 0x05,
    From = 0x09,
    MessageId = 0x0B,
    MessageType = 0x0C,
    Version = 0x0D,
    Subject = 0x16,
    To = 0x17,
    TransactionId = 0x18,
};

constexpr quint8 AddressPresent = 0x80;

// From: a value length, then an address or the token asking the server to insert one.
std::optional<QString> readFrom(WspReader &reader)
{
    const auto first = reader.peek();
    if (first && *first >= FirstTextByte)
        return readEncodedString(reader); // written without the length, as some phones do
    const auto length = reader.valueLength();
    if (!length)
        return std::nullopt;
    WspReader value = *reader.take(*length);
    if (value.byte() != AddressPresent)
        return QString();
    return readEncodedString(value).value_or(QString());
}

// A version written as a short integer: three bits of major, four of minor, a minor of 15
// meaning none. Every PDU begins with one: the 128 texts are made once and shared.
QString shortVersion(quint8 value)
{
    static const auto versions = [] {
        std::array<QString, 128> all;
        for (int v = 0; v < 128; ++v) {
            const int major = (v >> 4) & 0x07, minor = v & 0x0F;
            all[v] = minor == 0x0F ? QString::number(major)
                                   : QStringLiteral("%1.%2").arg(major).arg(minor);
        }
        return all;
    }();
    return versions[value & 0x7F];
}

std::optional<QString> readVersion(WspReader &reader)
{
    const auto first = reader.peek();
    if (first && *first >= ShortIntegerFlag) {
        reader.byte();
        return shortVersion(*first);
    }
    return readText(reader);
}

std::optional<qint64> readDate(WspReader &reader)
{
    const auto seconds = reader.integer();
    if (!seconds || *seconds > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(*seconds);
}

// Reads the value of field into message; false when it cannot be read as its kind.
bool readField(WspReader &reader, quint8 field, MmsMessage &message)
{
    auto keep = [](auto value, auto &into) {
        if (value)
            into = *value;
        return value.has_value();
    };
    auto keepAddress = [](std::optional<QString> value, QStringList &into) {
        if (value)
            into << plainAddress(*value);
        return value.has_value();
    };
    switch (field) {
    case TransactionId:
        return keep(readText(reader), message.transactionId);
    case Version:
        return keep(readVersion(reader), message.version);
    case MessageId:
        return keep(readText(reader), message.messageId);
    case Date: {
        const auto date = readDate(reader);
        if (date)
            message.date = date;
        return date.has_value();
    }
    case From: {
        const auto from = readFrom(reader);
        if (from)
            message.from = plainAddress(*from);
        return from.has_value();
    }
    case To:
        return keepAddress(readEncodedString(reader), message.to);
    case Cc:
        return keepAddress(readEncodedString(reader), message.cc);
    case Bcc:
        return keepAddress(readEncodedString(reader), message.bcc);
    case Subject:
        return keep(readEncodedString(reader), message.subject);
    default:
        return false;
    }
}

// The reader for the value at headers: a value written as text is looked for only so far, so
// that bytes without a zero byte cost little to refuse.
WspReader valueReader(const WspReader &headers)
{
    const auto first = headers.peek();
    const bool text = first && *first >= FirstTextByte && *first < ShortIntegerFlag;
    return text ? headers.limited(MaxMmsTextValueBytes) : headers;
}

bool skipText(WspReader &headers)
{
    WspReader value = valueReader(headers);
    return value.text() && headers.skip(value.pos() - headers.pos());
}

QString cutShort(qint64 offset)
{
    return ProblemText::of("the header at offset ", offset, " is cut short or malformed");
}

} // namespace

QString plainAddress(QString address)
{
    const qsizetype type = address.lastIndexOf(QLatin1String("/TYPE="), -1, Qt::CaseInsensitive);
    if (type >= 0)
        address.truncate(type);
    return address;
}

std::optional<WspContentType> readMessageHeaders(WspReader &reader, MmsMessage &message)
{
    WspReader headers = reader.limited(MaxMmsHeaderBytes);
    std::optional<WspContentType> body;
    while (!headers.atEnd()) {
        const qint64 at = headers.offset();
        const quint8 first = *headers.peek();
        if (first >= ShortIntegerFlag) {
            headers.byte();
            const quint8 field = first & ~ShortIntegerFlag;
            if (field == MessageType) {
                // Every PDU has one, first: a second is the next PDU.
                message.problem =
                    ProblemText::of("the headers meet a second message type at offset ", at);
                break;
            }
            WspReader value = valueReader(headers);
            if (field == ContentType) {
                body = readContentType(value);
                if (body)
                    message.contentType = body->mediaType;
                else
                    message.problem = cutShort(at);
            } else if (!readField(value, field, message) && !value.skipValue()) {
                message.problem = cutShort(at);
            }
            headers.skip(value.pos() - headers.pos());
            if (field == ContentType || !message.problem.isEmpty())
                break;
        } else if (first >= FirstTextByte) {
            // An application header: its name, then its text.
            if (!skipText(headers) || !skipText(headers)) {
                message.problem = cutShort(at);
                break;
            }
        } else {
            message.problem = ProblemText::of("no header begins with the byte 0x", HexByte{first},
                                              " at offset ", at);
            break;
        }
    }
    if (!body && message.problem.isEmpty() && headers.end() < reader.end())
        message.problem =
            ProblemText::of("the headers go on past ", headers.end() - reader.pos(), " bytes");
    reader.skip(headers.pos() - reader.pos());
    return body;
}

} // namespace vocafetch
