#include "ExactBuffer.h"
#include "RecordingGenerator.h"
#include "extract/analysis/WspPartHeader.h"

#include <gtest/gtest.h>

using namespace vocafetch;

using namespace RecGen;

namespace {

std::optional<WspPartHeader> find(const QByteArray &bytes, qint64 dataOffset, qint64 lowerBound = 0)
{
    const ExactBuffer buffer(bytes);
    return findPartHeader(buffer.data(), dataOffset, lowerBound);
}

// HeadersLen and DataLen, then the headers, then "#!AMR": the offset of the "#".
QByteArray partBefore(const QByteArray &headers, quint32 dataLength)
{
    return uintvar(quint32(headers.size())) + uintvar(dataLength) + headers;
}

const QByteArray Audio = QByteArrayLiteral("#!AMR\n<");

} // namespace

TEST(PartHeader, ReadsUintvars)
{
    struct Case
    {
        QByteArray bytes;
        std::optional<quint32> value;
        int length;
    };
    const Case cases[] = {
        {QByteArray(1, '\0'), 0u, 1},
        {"\x7F", 127u, 1},
        {QByteArray("\x81\x00", 2), 128u, 2},
        {"\x83\xF4\x03", 0xFA03u, 3},
        {"\x8F\xFF\xFF\xFF\x7F", 0xFFFFFFFFu, 5},
        {"\x80\x80\x80\x80\x01", 1u, 5},
        {QByteArray("\x90\x80\x80\x80\x00", 5), std::nullopt, 0}, // 33 bits
        {"\x81\x81\x81\x81\x81\x01", std::nullopt, 0},            // six bytes
        {"\x81\x81", std::nullopt, 0},                            // unterminated before the limit
    };
    for (const Case &c : cases) {
        const ExactBuffer buffer(c.bytes);
        const auto read = readUintvar(buffer.data(), 0, buffer.size());
        ASSERT_EQ(read.has_value(), c.value.has_value()) << c.bytes.toHex().constData();
        if (read) {
            EXPECT_EQ(read->value, *c.value);
            EXPECT_EQ(read->length, c.length);
        }
    }
    for (quint32 value : {0u, 1u, 127u, 128u, 16383u, 16384u, 0x0FFFFFFFu, 0xFFFFFFFFu}) {
        const ExactBuffer buffer(uintvar(value));
        EXPECT_EQ(readUintvar(buffer.data(), 0, buffer.size())->value, value);
    }
}

TEST(PartHeader, FindsEveryContentTypeEncoding)
{
    const QByteArray params = QByteArray("\x85voice.amr", 10) + '\0';
    const QByteArray media = QByteArray("audio/amr", 9) + '\0';
    const QByteArray encodings[] = {
        audioContentType(),                                                 // 0x1F + uintvar length
        QByteArray(1, char(media.size() + params.size())) + media + params, // short length
        media + QByteArray("\x8Epart", 5) + '\0',                           // plain text
        "\x1F\x80\x15" + media + params, // a two-byte length uintvar
        audioContentType("Audio/AMR-WB"),
        media, // the smallest: the media type is all the headers
    };
    for (const QByteArray &type : encodings) {
        const QByteArray prefix = "junk" + partBefore(type, 5000);
        const auto header = find(prefix + Audio, prefix.size());
        ASSERT_TRUE(header.has_value()) << type.toHex().constData();
        EXPECT_EQ(header->offset, 4);
        EXPECT_EQ(header->dataOffset, prefix.size());
        EXPECT_EQ(header->headersLength, quint32(type.size()));
        EXPECT_EQ(header->dataLength, 5000u);
        EXPECT_TRUE(header->mediaType.toLower().startsWith("audio/amr"));
    }
}

TEST(PartHeader, AllowsAFewBytesBeforeTheContentType)
{
    // HeadersLen 37, DataLen 8954, then 06 before 1F 22 "audio/amr": the headers start with it.
    const QByteArray headers = "\x06" + audioContentType("audio/amr", "Rec001.amr");
    const QByteArray prefix = "z" + partBefore(headers, 8954);
    const auto header = find(prefix + Audio, prefix.size());
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->offset, 1);
    EXPECT_EQ(header->headersLength, quint32(headers.size()));
    EXPECT_EQ(header->dataLength, 8954u);

    const QByteArray tooFar = "z" + partBefore("\x06\x06\x06\x06\x06" + audioContentType(), 99);
    EXPECT_FALSE(find(tooFar + Audio, tooFar.size()).has_value());
}

TEST(PartHeader, RefusesHeadersThatDoNotReachTheRecording)
{
    const QByteArray type = audioContentType();
    struct Case
    {
        const char *what;
        QByteArray prefix;
    };
    const Case cases[] = {
        {"headers one byte short", uintvar(quint32(type.size() - 1)) + uintvar(99) + type},
        {"headers one byte long", uintvar(quint32(type.size() + 1)) + uintvar(99) + type},
        {"extra byte before the data", partBefore(type, 99) + "x"},
        {"unterminated media type", partBefore("\x1F\x09" + QByteArray("audio/amr"), 99)},
        {"value longer than the headers",
         partBefore(QByteArray("\x1F\x30") + "audio/amr" + QByteArray(1, '\0'), 99)},
        {"other media type", partBefore(audioContentType("audio/mpeg"), 99)},
        {"no lengths before it", type},
    };
    for (const Case &c : cases)
        EXPECT_FALSE(find(c.prefix + Audio, c.prefix.size()).has_value()) << c.what;
}

TEST(PartHeader, TakesTheNearestHeaderWithinItsBounds)
{
    const QByteArray part = partBefore(audioContentType(), 77);
    // An older part header further back must not win over the one right before the data.
    const QByteArray older = partBefore(audioContentType(), 11);
    const QByteArray bytes = older + Audio + "zz" + part + Audio;
    const auto nearest = find(bytes, bytes.size() - Audio.size());
    ASSERT_TRUE(nearest.has_value());
    EXPECT_EQ(nearest->dataLength, 77u);

    // Not before the lower bound (the previous recording's start) ...
    const qint64 dataOffset = bytes.size() - Audio.size();
    EXPECT_FALSE(find(bytes, dataOffset, dataOffset - part.size() + 1).has_value());
    EXPECT_TRUE(find(bytes, dataOffset, dataOffset - part.size()).has_value());

    // ... and not further back than the search window.
    const QByteArray headers = audioContentType() + QByteArray(PartHeaderSearchWindow, 'h');
    const QByteArray far = partBefore(headers, 5) + Audio;
    EXPECT_FALSE(find(far, far.size() - Audio.size()).has_value());
}

TEST(PartHeader, IsSafeOnRandomBytes)
{
    Rng rng(11);
    const QByteArray seeds[] = {"audio/amr", "\x1F", QByteArray(1, '\0')};
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = rng.bytes(rng.below(400));
        for (int i = 0; i < 6 && !bytes.isEmpty(); ++i)
            bytes.insert(rng.below(int(bytes.size())), seeds[rng.below(3)]);
        const ExactBuffer buffer(bytes);
        const qint64 dataOffset = buffer.size() == 0 ? 0 : rng.below(int(buffer.size()) + 1);
        const auto header = findPartHeader(buffer.data(), dataOffset, 0);
        if (header) {
            EXPECT_GE(header->offset, 0);
            EXPECT_EQ(header->dataOffset, dataOffset);
        }
    }
}
