// Any bytes as an MMS PDU, or as a container with messages and recordings in it: the reader at
// the start and at every possible PDU start, and the placement of every "#!" in the bytes, in
// the whole and in a window; a text in one of several charsets. The bytes live in a buffer that
// ends exactly at their end, so any read past it is caught.
//
// Input: one control byte (where the window begins, which charset a text is read in), then the
// bytes.
#include "FuzzSupport.h"

#include "extract/message/MessagePlacement.h"
#include "extract/message/MmsCharset.h"
#include "extract/message/MmsReader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include <QStringDecoder>

using namespace vocafetch;

namespace {

constexpr int MaxReadsPerInput = 64;
constexpr int MaxRecordingsPerInput = 64;

void checkMessage(const MmsMessage &message, qint64 base, qint64 size)
{
    FUZZ_CHECK(message.offset >= base && message.offset + 4 <= base + size);
    FUZZ_CHECK(message.end > message.offset && message.end <= base + size);
    FUZZ_CHECK(!message.type.isEmpty());
    FUZZ_CHECK(message.parts.size() <= qint64(message.declaredParts));
    FUZZ_CHECK(message.parts.size() <= MaxMmsParts);
    FUZZ_CHECK(message.parts.isEmpty() || message.bodyOffset > message.offset);
    qint64 previousEnd = message.bodyOffset;
    for (const MmsPart &part : message.parts) {
        FUZZ_CHECK(part.headerOffset >= previousEnd);
        FUZZ_CHECK(part.dataOffset >= part.headerOffset && part.dataOffset <= part.dataEnd);
        FUZZ_CHECK(part.dataEnd <= message.end);
        FUZZ_CHECK(part.dataOffset - part.headerOffset <= MaxMmsPartHeaderBytes + 10);
        FUZZ_CHECK(part.dataEnd - part.dataOffset <= qint64(part.declaredLength));
        // Only the last part read may be cut short, by the end of the bytes.
        FUZZ_CHECK(!part.truncated() || part.dataEnd == base + size);
        previousEnd = part.dataEnd;
    }
    if (message.problem.isEmpty() && !message.parts.isEmpty())
        FUZZ_CHECK(message.parts.size() == qint64(message.declaredParts));
}

void checkReadsAt(const char *data, qint64 size)
{
    int reads = 0;
    for (qint64 at = 0; at < size && reads < MaxReadsPerInput; ++at) {
        if (quint8(data[at]) != 0x8C)
            continue;
        const std::optional<MmsMessage> message = readMmsMessage(data, size, at);
        FUZZ_CHECK(message.has_value() == looksLikeMmsStart(data, size, at));
        if (message) {
            FUZZ_CHECK(message->offset == at);
            checkMessage(*message, 0, size);
        }
        ++reads;
    }
}

void checkPlacement(const char *data, qint64 size, qint64 base, const QVector<qint64> &recordings)
{
    const MessagePlacement placement = placeMessages(data, size, recordings, base);
    FUZZ_CHECK(placement.recordings.size() == recordings.size());
    for (int i = 0; i < placement.messages.size(); ++i) {
        checkMessage(placement.messages[i], base, size);
        if (i > 0)
            FUZZ_CHECK(placement.messages[i - 1].offset < placement.messages[i].offset);
    }
    for (int i = 0; i < recordings.size(); ++i) {
        const RecordingMessage &placed = placement.recordings[i];
        if (placed.message < 0) {
            FUZZ_CHECK(placed.part == -1);
            continue;
        }
        FUZZ_CHECK(placed.message < placement.messages.size());
        const MmsMessage &message = placement.messages[placed.message];
        FUZZ_CHECK(message.offset < recordings[i]);
        if (placed.part >= 0) {
            FUZZ_CHECK(placed.part < message.parts.size());
            FUZZ_CHECK(message.parts[placed.part].holds(recordings[i]));
        } else {
            // Without a part only the container's own message, when its body broke.
            FUZZ_CHECK(base == 0 && message.offset == 0 && !message.problem.isEmpty());
        }
        if (message.offset != 0) {
            FUZZ_CHECK(recordings[i] - message.offset <= MaxMessageDistance);
            FUZZ_CHECK(isMultipartType(message.contentType));
        }
    }
}

QVector<qint64> recordingStarts(const char *data, qint64 size)
{
    QVector<qint64> starts;
    for (qint64 at = 0; at + 1 < size && starts.size() < MaxRecordingsPerInput; ++at)
        if (data[at] == '#' && data[at + 1] == '!')
            starts << at;
    return starts;
}

void checkDecoding(const char *data, qint64 size, quint8 control)
{
    struct Charset
    {
        QByteArray name;
        bool byQt; // converted by Qt's converter of that name
    };
    static const Charset charsets[] = {
        {"", false},       {"UTF-8", false},    {"US-ASCII", false},        {"ISO-8859-1", false},
        {"UTF-16", false}, {"UTF-16LE", false}, {"ISO-10646-UCS-2", false}, {"windows-1251", true},
        {"KOI8-R", true},  {"Shift_JIS", true}, {"ISO-2022-JP", true},      {"9999", false}};
    const Charset &charset = charsets[control % std::size(charsets)];
    const QByteArrayView bytes(data, std::min<qint64>(size, 256));
    const QString text = decodeText(bytes, charset.name);
    FUZZ_CHECK(text.size() <= bytes.size());
    // The converters of named sets are kept from text to text: each text is still read as if
    // by a converter opened for it alone, whatever state the last one left (a lead byte, a
    // shift into another set). A UTF-8 byte-order mark is read as UTF-8 whatever the name.
    if (charset.byQt && !bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder fresh(charset.name.constData(), QStringConverter::Flag::Stateless);
        FUZZ_CHECK(fresh.isValid() && text == fresh.decode(bytes));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 1)
        return 0;
    const quint8 control = bytes[0];
    // libFuzzer hands the input in a heap block of exactly its size, so the bytes after the
    // control byte end where the block ends: the sanitizer sees the first byte past them.
    const char *data = reinterpret_cast<const char *>(bytes) + 1;
    const qint64 length = qint64(size) - 1;

    checkReadsAt(data, length);
    const QVector<qint64> recordings = recordingStarts(data, length);
    checkPlacement(data, length, 0, recordings);
    // A window that begins later, with the same recordings (those before it get none).
    const qint64 windowStart = std::min<qint64>(control, length);
    checkPlacement(data + windowStart, length - windowStart, windowStart, recordings);
    checkDecoding(data, length, control);
    return 0;
}
