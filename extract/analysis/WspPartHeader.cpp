#include "extract/analysis/WspPartHeader.h"

#include <algorithm>
#include <cstring>

namespace vocafetch {

namespace {

constexpr int MaxUintvarLength = 5;
constexpr int MaxBytesBeforeContentType = 4;
constexpr quint8 LengthQuote = 0x1F; // a uintvar length follows
constexpr quint8 MaxShortLength = 30;
const char AudioAmr[] = "audio/amr";
constexpr qint64 AudioAmrLength = sizeof(AudioAmr) - 1;

constexpr qint64 SlashInAudioAmr = 5; // "audio" comes before it

// The last '/' of the count bytes at from, or null.
const char *lastSlash(const char *from, qint64 count)
{
#ifdef __GLIBC__
    return static_cast<const char *>(memrchr(from, '/', size_t(count)));
#else
    for (qint64 i = count - 1; i >= 0; --i)
        if (from[i] == '/')
            return from + i;
    return nullptr;
#endif
}

bool isAudioAmrAt(const char *data, qint64 pos)
{
    for (qint64 i = 0; i < AudioAmrLength; ++i) {
        char c = data[pos + i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != AudioAmr[i])
            return false;
    }
    return true;
}

// The media type's text at data[pos], up to its zero byte before end; empty when unterminated.
QByteArray mediaTextAt(const char *data, qint64 pos, qint64 end)
{
    const void *zero = std::memchr(data + pos, 0, size_t(end - pos));
    if (zero == nullptr)
        return {};
    return QByteArray(data + pos, qint64(static_cast<const char *>(zero) - (data + pos)));
}

// A content type starting at typeStart whose media text is at mediaStart and whose value
// (after the length) ends at valueEnd: plausible when the text is terminated inside the value,
// and the value inside the headers that end at dataOffset.
bool plausibleContentType(const char *data, qint64 mediaStart, qint64 valueEnd, qint64 dataOffset,
                          QByteArray &mediaType)
{
    if (valueEnd > dataOffset || valueEnd <= mediaStart + AudioAmrLength)
        return false;
    mediaType = mediaTextAt(data, mediaStart, valueEnd);
    return !mediaType.isEmpty();
}

// HeadersLen and DataLen ending at lengthsEnd, HeadersLen reaching from there to dataOffset.
std::optional<WspPartHeader> lengthsEndingAt(const char *data, qint64 lengthsEnd, qint64 dataOffset,
                                             qint64 lowerBound)
{
    const qint64 headersLength = dataOffset - lengthsEnd;
    for (int dataLenBytes = 1; dataLenBytes <= MaxUintvarLength; ++dataLenBytes) {
        for (int headersLenBytes = 1; headersLenBytes <= MaxUintvarLength; ++headersLenBytes) {
            const qint64 offset = lengthsEnd - dataLenBytes - headersLenBytes;
            if (offset < lowerBound)
                break;
            const auto headers = readUintvar(data, offset, lengthsEnd);
            if (!headers || headers->length != headersLenBytes ||
                headers->value != quint64(headersLength))
                continue;
            const auto dataLen = readUintvar(data, offset + headersLenBytes, lengthsEnd);
            if (!dataLen || dataLen->length != dataLenBytes)
                continue;
            WspPartHeader header;
            header.offset = offset;
            header.dataOffset = dataOffset;
            header.headersLength = headers->value;
            header.dataLength = dataLen->value;
            return header;
        }
    }
    return std::nullopt;
}

// HeadersLen and DataLen before the content type at typeStart: right before it, or up to maxGap
// bytes before it (phone containers put a byte such as 06 there), HeadersLen counting those.
std::optional<WspPartHeader> lengthsBefore(const char *data, qint64 typeStart, qint64 dataOffset,
                                           qint64 lowerBound, int maxGap)
{
    for (int gap = 0; gap <= maxGap; ++gap) {
        if (auto header = lengthsEndingAt(data, typeStart - gap, dataOffset, lowerBound))
            return header;
    }
    return std::nullopt;
}

// Tries the three content-type encodings that put "audio/amr" at mediaStart.
std::optional<WspPartHeader> partHeaderAround(const char *data, qint64 mediaStart,
                                              qint64 dataOffset, qint64 lowerBound)
{
    QByteArray mediaType;
    // Only a content type with a length may follow other bytes: a bare media text could be the
    // tail of anything.
    auto tryType = [&](qint64 typeStart, qint64 valueEnd) -> std::optional<WspPartHeader> {
        if (typeStart < lowerBound ||
            !plausibleContentType(data, mediaStart, valueEnd, dataOffset, mediaType))
            return std::nullopt;
        const int maxGap = typeStart == mediaStart ? 0 : MaxBytesBeforeContentType;
        auto header = lengthsBefore(data, typeStart, dataOffset, lowerBound, maxGap);
        if (header)
            header->mediaType = mediaType;
        return header;
    };

    // Plain text: the media type alone, up to its zero byte.
    if (auto header = tryType(mediaStart, dataOffset))
        return header;
    // Short length: one byte 0 ... 30, then the value.
    if (mediaStart - 1 >= lowerBound) {
        const quint8 length = quint8(data[mediaStart - 1]);
        if (length <= MaxShortLength)
            if (auto header = tryType(mediaStart - 1, mediaStart + length))
                return header;
    }
    // Length quote: 0x1F, a uintvar length, then the value.
    for (int lengthBytes = 1; lengthBytes <= MaxUintvarLength; ++lengthBytes) {
        const qint64 typeStart = mediaStart - 1 - lengthBytes;
        if (typeStart < lowerBound)
            break;
        if (quint8(data[typeStart]) != LengthQuote)
            continue;
        const auto length = readUintvar(data, typeStart + 1, mediaStart);
        if (!length || length->length != lengthBytes)
            continue;
        if (auto header = tryType(typeStart, mediaStart + qint64(length->value)))
            return header;
    }
    return std::nullopt;
}

} // namespace

std::optional<Uintvar> readUintvar(const char *data, qint64 pos, qint64 limit)
{
    quint64 value = 0;
    for (int i = 0; i < MaxUintvarLength && pos + i < limit; ++i) {
        const quint8 byte = quint8(data[pos + i]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
            return Uintvar{quint32(value), i + 1};
        }
    }
    return std::nullopt;
}

std::optional<WspPartHeader> findPartHeader(const char *data, qint64 dataOffset, qint64 lowerBound)
{
    lowerBound = std::max({lowerBound, dataOffset - PartHeaderSearchWindow, qint64(0)});
    // The smallest part header: HeadersLen, DataLen, "audio/amr" and its zero byte. The search
    // goes back from slash to slash, which is fast where there is no part header at all.
    const qint64 firstMedia = lowerBound + 2;
    qint64 end = dataOffset - AudioAmrLength - 1 + SlashInAudioAmr + 1;
    while (end > firstMedia + SlashInAudioAmr) {
        const qint64 from = firstMedia + SlashInAudioAmr;
        const char *slash = lastSlash(data + from, end - from);
        if (slash == nullptr)
            break;
        const qint64 media = qint64(slash - data) - SlashInAudioAmr;
        end = media + SlashInAudioAmr;
        if (!isAudioAmrAt(data, media))
            continue;
        if (auto header = partHeaderAround(data, media, dataOffset, lowerBound))
            return header;
    }
    return std::nullopt;
}

} // namespace vocafetch
