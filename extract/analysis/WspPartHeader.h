#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace vocafetch {

// The part headers of a WSP/MMS multipart body: each part is HeadersLen and DataLen (uintvars),
// a content type, further headers (HeadersLen bytes in all, content type included) and then
// DataLen bytes of data.

struct Uintvar
{
    quint32 value = 0;
    int length = 0; // bytes read, 1 ... 5
};

// Reads a uintvar (7 bits a byte, high bit set while more follow) at data[pos], reading no
// byte at or past limit. Empty when it is unterminated, longer than 5 bytes or over 32 bits.
std::optional<Uintvar> readUintvar(const char *data, qint64 pos, qint64 limit);

struct WspPartHeader
{
    qint64 offset = 0;     // the first byte of HeadersLen
    qint64 dataOffset = 0; // the first byte of the part's data: the recording's "#!AMR"
    quint32 headersLength = 0;
    quint32 dataLength = 0;
    QByteArray mediaType; // as written, e.g. "audio/amr"

    qint64 dataEnd() const { return dataOffset + dataLength; }
};

// How far before a recording a part header is looked for.
constexpr qint64 PartHeaderSearchWindow = 64 * 1024;

// Looks for the part header of a part whose data starts at dataOffset: an "audio/amr..."
// content type (0x1F + uintvar length, a short length, or plain text) at most
// PartHeaderSearchWindow bytes back and not before lowerBound, preceded by HeadersLen and
// DataLen, whose HeadersLen ends exactly at dataOffset. Up to 4 bytes may stand between DataLen
// and a content type with a length (phone containers put a 06 there), counted in HeadersLen.
// The nearest such header wins. Nothing is checked about DataLen here. Safe on any bytes.
std::optional<WspPartHeader> findPartHeader(const char *data, qint64 dataOffset,
                                            qint64 lowerBound = 0);

} // namespace vocafetch
