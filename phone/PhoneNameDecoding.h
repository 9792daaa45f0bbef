// Turning the 8-bit names a phone lists into text: phones that do not speak UTF-8 write their
// names in the Windows Cyrillic code page (cp1251).
#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

// `raw` as UTF-8 when it is valid UTF-8 (plain ASCII included), else as cp1251. The one byte
// cp1251 leaves unassigned (0x98) becomes U+FFFD.
QString decodePhoneName(const QByteArray &raw);

// `raw` read as cp1251, byte for byte.
QString decodeCp1251(const QByteArray &raw);

} // namespace vocafetch
