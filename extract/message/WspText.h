#pragma once

#include "extract/message/WspReader.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vocafetch {

// The text values of WSP and MMS headers, decoded by their character sets.

// A charset value: a well-known number (short or long integer) or a name. An empty name for
// "any charset".
std::optional<QByteArray> readCharset(WspReader &reader);

// An Encoded-string-value: a Text-string, or a value length, a charset and the text.
std::optional<QString> readEncodedString(WspReader &reader);

// A Text-value: No-value, a token, a quoted string, or (as newer encoders write names) a value
// length, a charset and the text.
std::optional<QString> readTextValue(WspReader &reader);

// A plain Text-string, decoded as UTF-8.
std::optional<QString> readText(WspReader &reader);

// Text in a charset, as a string or a text part holds it: 16- and 32-bit sets are read whole,
// the others up to their first zero byte; zero characters at the end are dropped.
QString decodeStringBytes(QByteArrayView bytes, const QByteArray &charset);

} // namespace vocafetch
