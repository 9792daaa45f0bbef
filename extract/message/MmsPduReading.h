#pragma once

#include "extract/message/MmsMessage.h"
#include "extract/message/WspContentType.h"
#include "extract/message/WspReader.h"

#include <optional>

namespace vocafetch {

// The two halves of an MMS PDU, read into a message.

// Reads the message headers after the message type, up to and including Content-Type. Gives
// the content type when it was read: reader is then at the body. Nothing when the headers end
// without one (the PDU has no body) or cannot be read on (message.problem says why).
std::optional<WspContentType> readMessageHeaders(WspReader &reader, MmsMessage &message);

// Reads the body of the given type at reader into message.parts: a multipart body part by
// part, any other as one part reaching to the end of the bytes.
void readMessageBody(WspReader &reader, const WspContentType &type, MmsMessage &message);

// Drops the "/TYPE=PLMN" (or other "/TYPE=") suffix of an MMS address.
QString plainAddress(QString address);

} // namespace vocafetch
