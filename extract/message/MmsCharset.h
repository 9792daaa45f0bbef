#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vocafetch {

// The character sets of MMS strings and text parts: WSP names them by their IANA MIBenum
// number (106 for UTF-8) or, less often, by name.

namespace Mib {
constexpr int UsAscii = 3;
constexpr int Latin1 = 4;
constexpr int Utf8 = 106;
constexpr int Ucs2 = 1000;
constexpr int Utf16Be = 1013;
constexpr int Utf16Le = 1014;
constexpr int Utf16 = 1015;
constexpr int Koi8R = 2084;
constexpr int Windows1251 = 2251;
} // namespace Mib

// The IANA name of a MIBenum number ("windows-1251"); an unknown number as its decimal digits.
// 0 (WSP's "any charset") gives an empty name.
QByteArray charsetName(quint64 mib);

// bytes in the named character set. Without a name they are taken as UTF-8, which reads the
// US-ASCII the standard expects and the UTF-8 many phones write anyway, as are bytes that begin
// with a UTF-8 byte-order mark. UTF-16 and UCS-2 follow a byte-order mark, else are big-endian. An
// unknown set reads as US-ASCII; whatever cannot be read becomes U+FFFD, never a failure.
QString decodeText(QByteArrayView bytes, const QByteArray &charset = {});

} // namespace vocafetch
