// The multipart body of an MMS PDU: a part count, then per part HeadersLen, DataLen, the
// content type, further headers and the data.
#include "extract/message/MmsCharset.h"
#include "extract/message/MmsPduReading.h"
#include "extract/message/MmsReader.h"
#include "extract/message/ProblemText.h"
#include "extract/message/WspContentType.h"
#include "extract/message/WspText.h"

namespace vocafetch {

namespace {

using wsp::FirstTextByte;
using wsp::ShiftDelimiter;
using wsp::ShortIntegerFlag;

// Part header fields (WSP well-known header codes without the high bit).
enum PartField : quint8
{
    ContentLocation = 0x0E,
    ContentDisposition = 0x2E,
    ContentId = 0x40,
    ContentDispositionV14 = 0x45,
};

QString withoutAngleBrackets(QString id)
{
    if (id.startsWith(QLatin1Char('<')) && id.endsWith(QLatin1Char('>')) && id.size() >= 2)
        return id.mid(1, id.size() - 2);
    return id;
}

// Content-Disposition: a value length, the disposition, then parameters such as Filename.
bool readDisposition(WspReader &reader, WspContentType &disposition)
{
    const auto length = reader.valueLength();
    if (!length)
        return false;
    WspReader value = *reader.take(*length);
    if (value.skipValue())
        readParameters(value, disposition);
    return true;
}

bool readWellKnownHeader(WspReader &headers, quint8 field, MmsPart &part,
                         WspContentType &disposition)
{
    switch (field) {
    case ContentLocation:
    case ContentId: {
        const auto text = headers.text();
        if (!text)
            return false;
        const QString value = decodeText(unquoted(*text));
        if (field == ContentLocation)
            part.location = value;
        else
            part.contentId = withoutAngleBrackets(value);
        return true;
    }
    case ContentDisposition:
    case ContentDispositionV14:
        return readDisposition(headers, disposition);
    default:
        return headers.skipValue();
    }
}

// A header written as text: its name, then its value as text.
bool readApplicationHeader(WspReader &headers, MmsPart &part)
{
    const auto name = headers.text();
    const auto value = name ? headers.text() : std::nullopt;
    if (!value)
        return false;
    const QByteArray key = name->toByteArray().toLower();
    if (key == "content-location")
        part.location = decodeText(unquoted(*value));
    else if (key == "content-id")
        part.contentId = withoutAngleBrackets(decodeText(unquoted(*value)));
    return true;
}

// The headers after the content type; what cannot be read is left out.
void readPartHeaders(WspReader headers, MmsPart &part, const WspContentType &type)
{
    WspContentType disposition;
    while (!headers.atEnd()) {
        const quint8 first = *headers.peek();
        bool read = false;
        if (first == ShiftDelimiter) {
            read = headers.skip(2); // to another header code page
        } else if (first >= ShortIntegerFlag) {
            headers.byte();
            read = readWellKnownHeader(headers, first & ~ShortIntegerFlag, part, disposition);
        } else if (first >= FirstTextByte) {
            read = readApplicationHeader(headers, part);
        } else if (first != 0) {
            read = headers.skip(1); // a short-cut shift to another code page
        }
        if (!read)
            break;
    }
    const QString *const names[] = {&type.name, &disposition.filename, &type.filename,
                                    &disposition.name};
    for (const QString *name : names) {
        if (!name->isEmpty()) {
            part.name = *name;
            break;
        }
    }
}

// Reads part number index (from 0) at reader; false when the body cannot be read on.
bool readPart(WspReader &reader, int index, MmsMessage &message)
{
    auto stop = [&](const auto &...why) {
        message.problem =
            ProblemText::of("part ", index + 1, " at offset ", reader.offset(), " ", why...);
        return false;
    };
    WspReader lengths = reader;
    const auto headersLength = lengths.uintvar();
    const auto dataLength = headersLength ? lengths.uintvar() : std::nullopt;
    if (!dataLength)
        return stop("has its lengths cut short");
    if (*headersLength > MaxMmsPartHeaderBytes)
        return stop("declares ", *headersLength, " bytes of headers");
    auto headers = lengths.take(*headersLength);
    if (!headers)
        return stop("has its headers cut short");
    const auto type = readContentType(*headers);
    if (!type)
        return stop("has no content type that can be read");

    MmsPart part;
    part.headerOffset = reader.offset();
    part.dataOffset = lengths.offset();
    part.declaredLength = *dataLength;
    part.dataEnd = part.dataOffset + qMin<qint64>(*dataLength, lengths.remaining());
    part.mediaType = type->mediaType;
    part.charset = type->charset;
    readPartHeaders(*headers, part, *type);
    message.parts << part;

    lengths.skip(part.dataEnd - part.dataOffset);
    reader = lengths;
    if (part.truncated()) {
        message.problem = ProblemText::of("part ", index + 1, " at offset ", part.headerOffset,
                                          " has ", part.dataEnd - part.dataOffset, " of its ",
                                          part.declaredLength, " bytes of data");
        return false;
    }
    return true;
}

// A body of one content (a message of a single recording, say): it has no length of its own,
// so it reaches to the end of the bytes.
void readSingleBody(WspReader &reader, const WspContentType &type, MmsMessage &message)
{
    MmsPart part;
    part.headerOffset = part.dataOffset = reader.offset();
    part.declaredLength = quint32(qMin<qint64>(reader.remaining(), 0xFFFFFFFF));
    part.dataEnd = part.dataOffset + part.declaredLength;
    part.mediaType = type.mediaType;
    part.charset = type.charset;
    part.name = type.name.isEmpty() ? type.filename : type.name;
    reader.skip(part.declaredLength);
    message.declaredParts = 1;
    message.parts << part;
}

} // namespace

void readMessageBody(WspReader &reader, const WspContentType &type, MmsMessage &message)
{
    message.bodyOffset = reader.offset();
    if (!isMultipartType(type.mediaType)) {
        readSingleBody(reader, type, message);
        return;
    }
    const auto count = reader.uintvar();
    if (!count) {
        message.problem =
            ProblemText::of("the body at offset ", message.bodyOffset, " has no part count");
        return;
    }
    message.declaredParts = *count;
    for (quint32 index = 0; index < *count; ++index) {
        if (reader.atEnd()) {
            message.problem = ProblemText::of("the body declares ", *count,
                                              " parts; the bytes end after ", index);
            return;
        }
        if (index == quint32(MaxMmsParts)) {
            message.problem =
                ProblemText::of("the body declares ", *count, " parts; ", index, " were read");
            return;
        }
        if (!readPart(reader, int(index), message))
            return;
    }
}

} // namespace vocafetch
