#pragma once

#include "extract/message/MmsMessage.h"

#include <optional>

namespace vocafetch {

// Reads an MMS PDU (OMA MMS encapsulation, WSP encoding) from a container's bytes.

// Bounds that keep the reading of any bytes short: real messages stay far below them.
constexpr qint64 MaxMmsHeaderBytes = 64 * 1024;     // the message headers
constexpr qint64 MaxMmsTextValueBytes = 4 * 1024;   // one header value written as text
constexpr qint64 MaxMmsPartHeaderBytes = 64 * 1024; // one part's headers
constexpr int MaxMmsParts = 4096;
constexpr qint64 MaxMmsTextBytes = 64 * 1024; // read of each text part

// Whether an MMS PDU begins at data[at]: 0x8C and a known message type, then what the standard
// puts next, X-Mms-Transaction-ID with its text or X-Mms-MMS-Version with its number. data holds
// size bytes.
bool looksLikeMmsStart(const char *data, qint64 size, qint64 at);

// Reads the PDU that begins at data[at], where data holds the container's bytes
// base ... base + size - 1 (a whole container, or a window of one). Nothing when no PDU begins
// there; otherwise the message as far as it could be read, its problem saying why it stopped
// early. Safe on any bytes: nothing outside data[0] ... data[size - 1] is read.
std::optional<MmsMessage> readMmsMessage(const char *data, qint64 size, qint64 at = 0,
                                         qint64 base = 0);

// The same without decoding the text parts (cheaper where most candidates are thrown away);
// decodeMessageText adds them afterwards.
std::optional<MmsMessage> readMmsStructure(const char *data, qint64 size, qint64 at, qint64 base);
void decodeMessageText(MmsMessage &message, const char *data, qint64 size, qint64 base);

// Whether a body of this media type is made of parts.
bool isMultipartType(const QByteArray &mediaType);

// The JSON name of an X-Mms-Message-Type value ("retrieve-conf"); empty when unknown.
QString mmsMessageTypeName(quint8 value);

} // namespace vocafetch
