#pragma once

#include "extract/message/MmsMessage.h"
#include "extract/message/WspReader.h"

// The two halves of an MMS PDU, read into a message.
namespace vocafetch {

// Reads the message headers after the message type, up to and including Content-Type. True
// when Content-Type was read: reader is then at the body. False when the headers end without
// one (the PDU has no body) or cannot be read on (message.problem says why).
bool readMessageHeaders(WspReader &reader, MmsMessage &message);

// Reads the multipart body at reader into message.parts.
void readMessageBody(WspReader &reader, MmsMessage &message);

// Drops the "/TYPE=PLMN" (or other "/TYPE=") suffix of an MMS address.
QString plainAddress(QString address);

} // namespace vocafetch
