#include "extract/message/MmsReader.h"

#include "extract/message/MmsCharset.h"
#include "extract/message/MmsPduReading.h"

#include <array>
#include <iterator>

namespace vocafetch {

namespace {

constexpr quint8 MessageTypeField = 0x8C;
constexpr quint8 TransactionIdField = 0x98;
constexpr quint8 VersionField = 0x8D;
constexpr quint8 FirstMessageType = 0x80;

// X-Mms-Message-Type values from 0x80 on.
const char *const MessageTypes[] = {
    "send-req",        "send-conf",        "notification-ind", "notifyresp-ind",   "retrieve-conf",
    "acknowledge-ind", "delivery-ind",     "read-rec-ind",     "read-orig-ind",    "forward-req",
    "forward-conf",    "mbox-store-req",   "mbox-store-conf",  "mbox-view-req",    "mbox-view-conf",
    "mbox-upload-req", "mbox-upload-conf", "mbox-delete-req",  "mbox-delete-conf", "mbox-descr",
    "delete-req",      "delete-conf",      "cancel-req",       "cancel-conf",
};

} // namespace

int MmsMessage::partHolding(qint64 offset) const
{
    for (int i = 0; i < parts.size(); ++i)
        if (parts[i].holds(offset))
            return i;
    return -1;
}

bool isMultipartType(const QByteArray &mediaType)
{
    return mediaType.startsWith("application/vnd.wap.multipart.") ||
           mediaType.startsWith("multipart/");
}

namespace {

bool isMessageType(quint8 value)
{
    const int index = int(value) - FirstMessageType;
    return index >= 0 && index < int(std::size(MessageTypes));
}

} // namespace

QString mmsMessageTypeName(quint8 value)
{
    // Every message read names its type: the names are made once and shared.
    static const auto names = [] {
        std::array<QString, std::size(MessageTypes)> all;
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = QString::fromLatin1(MessageTypes[i]);
        return all;
    }();
    return isMessageType(value) ? names[value - FirstMessageType] : QString();
}

bool looksLikeMmsStart(const char *data, qint64 size, qint64 at)
{
    if (at < 0 || size - at < 4)
        return false;
    const auto byte = [&](int i) { return quint8(data[at + i]); };
    if (byte(0) != MessageTypeField || !isMessageType(byte(1)))
        return false;
    if (byte(2) == TransactionIdField)
        return byte(3) >= 0x20 && byte(3) <= 0x7F;     // the start of its text
    return byte(2) == VersionField && byte(3) >= 0x80; // a short integer
}

std::optional<MmsMessage> readMmsStructure(const char *data, qint64 size, qint64 at, qint64 base)
{
    if (!looksLikeMmsStart(data, size, at))
        return std::nullopt;
    MmsMessage message;
    message.offset = base + at;
    message.type = mmsMessageTypeName(quint8(data[at + 1]));
    WspReader reader(data, at + 2, size, base);
    if (const auto type = readMessageHeaders(reader, message))
        readMessageBody(reader, *type, message);
    message.end = reader.offset();
    return message;
}

void decodeMessageText(MmsMessage &message, const char *data, qint64 size, qint64 base)
{
    QStringList texts;
    for (const MmsPart &part : qAsConst(message.parts)) {
        if (part.mediaType != "text/plain")
            continue;
        const qint64 from = part.dataOffset - base;
        const qint64 length = qMin(part.dataEnd - part.dataOffset, MaxMmsTextBytes);
        if (from < 0 || from + length > size)
            continue;
        QString text = decodeText(QByteArrayView(data + from, length), part.charset);
        while (text.endsWith(QChar(0)))
            text.chop(1);
        if (!text.isEmpty())
            texts << text;
    }
    message.text = texts.join(QLatin1Char('\n'));
}

std::optional<MmsMessage> readMmsMessage(const char *data, qint64 size, qint64 at, qint64 base)
{
    auto message = readMmsStructure(data, size, at, base);
    if (message)
        decodeMessageText(*message, data, size, base);
    return message;
}

} // namespace vocafetch
