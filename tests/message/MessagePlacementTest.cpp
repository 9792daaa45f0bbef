#include "extract/message/MessagePlacement.h"
#include "MmsBuilder.h"
#include "analysis/ExactBuffer.h"

#include <gtest/gtest.h>

using namespace vocafetch::MmsBuild;
using namespace vocafetch;

namespace {

// Every "#!AMR" in bytes, as the scan lists recording starts.
QVector<qint64> recordingStarts(const QByteArray &bytes)
{
    QVector<qint64> starts;
    for (qint64 at = bytes.indexOf("#!AMR"); at >= 0; at = bytes.indexOf("#!AMR", at + 1))
        starts << at;
    return starts;
}

MessagePlacement place(const QByteArray &bytes, const QVector<qint64> &recordings)
{
    const ExactBuffer buffer(bytes);
    return placeMessages(buffer.data(), buffer.size(), recordings);
}

// Bytes in which nothing is a message or a recording, with many 0x8C among them.
QByteArray junk(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = char(seed >> 24);
        if (i % 97 == 0)
            bytes[i] = char(0x8C);
    }
    bytes.replace("#!", "#?");
    return bytes;
}

QByteArray voiceMessage(const QByteArray &subject, int parts = 2, int imageSize = 100)
{
    QVector<Part> body = {{contentType(TextPlain, charsetParameter(106)), {}, subject + " text"},
                          {wellKnownType(ImageJpeg), {}, QByteArray(imageSize, 'J')}};
    for (int i = 0; i < parts; ++i)
        body << Part{contentType("audio/amr"),
                     contentLocation("v" + QByteArray::number(i) + ".amr"), recordingData()};
    MmsBuilder pdu = message();
    pdu.header(Subject, encodedString(subject, 106)).body(wellKnownType(MultipartMixed), body);
    return pdu.bytes();
}

} // namespace

// The usual container: it begins with the message, whose parts hold its recordings however far
// into it they lie.
TEST(MessagePlacement, TheContainersOwnMessage)
{
    const QByteArray drf = voiceMessage("own", 2, int(MaxMessageDistance) + 1000);
    const QVector<qint64> starts = recordingStarts(drf);
    ASSERT_EQ(starts.size(), 2);
    const MessagePlacement placement = place(drf, starts);
    ASSERT_EQ(placement.messages.size(), 1);
    EXPECT_EQ(placement.messages[0].subject, "own");
    EXPECT_EQ(placement.messages[0].text, "own text");
    EXPECT_EQ(placement.recordings, QVector<RecordingMessage>({{0, 2}, {0, 3}}));
}

// A card image: messages among other bytes, recordings in them and outside them.
TEST(MessagePlacement, MessagesInsideALargerImage)
{
    const QByteArray first = voiceMessage("first"), second = voiceMessage("second", 1);
    const QByteArray image = junk(5000, 1) + recordingData() + junk(3000, 2) + first +
                             junk(4000, 3) + second + recordingData() + junk(7000, 4);
    const QVector<qint64> starts = recordingStarts(image);
    ASSERT_EQ(starts.size(), 5);
    const MessagePlacement placement = place(image, starts);
    ASSERT_EQ(placement.messages.size(), 2);
    EXPECT_EQ(placement.messages[0].offset, image.indexOf(first));
    EXPECT_EQ(placement.messages[0].subject, "first");
    EXPECT_EQ(placement.messages[1].offset, image.indexOf(second));
    EXPECT_EQ(placement.messages[1].text, "second text");
    EXPECT_EQ(placement.recordings, QVector<RecordingMessage>({{}, {0, 2}, {0, 3}, {1, 2}, {}}));

    // The same found in a window of the image, offsets still the image's.
    const qint64 base = 4000;
    const QByteArray window = image.mid(base);
    const ExactBuffer buffer(window);
    const MessagePlacement windowed = placeMessages(buffer.data(), buffer.size(), starts, base);
    EXPECT_EQ(windowed.recordings, placement.recordings);
    ASSERT_EQ(windowed.messages.size(), 2);
    EXPECT_EQ(windowed.messages[1].offset, placement.messages[1].offset);
    EXPECT_EQ(windowed.messages[1].parts[2].dataOffset, placement.messages[1].parts[2].dataOffset);
}

// Inside a larger image a message counts only within reach and when a part holds the recording.
TEST(MessagePlacement, OnlyNearMessagesWhosePartsHoldTheRecording)
{
    const QByteArray farAway = voiceMessage("far", 1, int(MaxMessageDistance));
    QByteArray image = junk(100, 5) + farAway;
    QVector<qint64> starts = recordingStarts(image);
    EXPECT_EQ(place(image, starts).recordings, QVector<RecordingMessage>({{}}));
    EXPECT_TRUE(place(image, starts).messages.isEmpty());

    // Just within reach.
    const QByteArray near = voiceMessage("near", 1, int(MaxMessageDistance) - 200);
    image = junk(100, 5) + near;
    starts = recordingStarts(image);
    ASSERT_EQ(starts.size(), 1);
    ASSERT_LT(starts[0] - image.indexOf(near), MaxMessageDistance);
    EXPECT_EQ(place(image, starts).recordings, QVector<RecordingMessage>({{0, 2}}));

    // A message that ends before the recording, and one whose part count lies.
    MmsBuilder before = message();
    before.body(wellKnownType(MultipartMixed), {{wellKnownType(TextPlain), {}, "done"}});
    MmsBuilder broken = message();
    broken.body(wellKnownType(MultipartMixed), {{wellKnownType(TextPlain), {}, "x", 2}}, 3);
    image = junk(100, 6) + before.bytes() + junk(50, 7) + recordingData() + broken.bytes() +
            QByteArray("\xFF\xFF\xFF") + recordingData();
    const MessagePlacement placement = place(image, recordingStarts(image));
    EXPECT_EQ(placement.recordings, QVector<RecordingMessage>({{}, {}}));
    EXPECT_TRUE(placement.messages.isEmpty());
}

// A container's own message whose body breaks still names the recordings after the break.
TEST(MessagePlacement, RecordingsAfterTheOwnMessagesBodyBroke)
{
    MmsBuilder pdu = message();
    pdu.body(wellKnownType(MultipartMixed),
             {{contentType("audio/amr"), {}, recordingData()}, {QByteArray("\x01"), {}, "x"}});
    const QByteArray drf = pdu.bytes() + recordingData();
    const MessagePlacement placement = place(drf, recordingStarts(drf));
    ASSERT_EQ(placement.messages.size(), 1);
    EXPECT_FALSE(placement.messages[0].problem.isEmpty());
    EXPECT_EQ(placement.recordings, QVector<RecordingMessage>({{0, 0}, {0, -1}}));

    // Read to its end, the message does not reach a recording after it.
    const QByteArray whole = voiceMessage("whole", 1) + junk(100, 8) + recordingData();
    EXPECT_EQ(place(whole, recordingStarts(whole)).recordings,
              QVector<RecordingMessage>({{0, 2}, {}}));
}

TEST(MessagePlacement, RecordingsOutsideTheWindowOrUnordered)
{
    const QByteArray image = junk(300, 9) + voiceMessage("m", 2);
    const QVector<qint64> starts = recordingStarts(image);
    const MessagePlacement placement =
        place(image, {-5, starts[1], starts[0], image.size(), starts[1]});
    EXPECT_EQ(placement.recordings, QVector<RecordingMessage>({{}, {0, 3}, {0, 2}, {}, {0, 3}}));
    EXPECT_EQ(placement.messages.size(), 1);
}

// A message whose body is a single recording, not parts: its body reaches to the end of the
// bytes, so it counts only as the container's own message.
TEST(MessagePlacement, ABodyOfOneRecording)
{
    MmsBuilder pdu = message();
    pdu.textHeader(Subject, "single").header(ContentTypeField, contentType("audio/amr"));
    const QByteArray drf = pdu.bytes() + recordingData();
    const MessagePlacement own = place(drf, recordingStarts(drf));
    ASSERT_EQ(own.messages.size(), 1);
    ASSERT_EQ(own.messages[0].parts.size(), 1);
    EXPECT_EQ(own.messages[0].parts[0].mediaType, "audio/amr");
    EXPECT_EQ(own.messages[0].parts[0].dataOffset, drf.indexOf("#!AMR"));
    EXPECT_EQ(own.messages[0].problem, QString());
    EXPECT_EQ(own.recordings, QVector<RecordingMessage>({{0, 0}}));

    const QByteArray image = junk(500, 10) + drf;
    EXPECT_EQ(place(image, recordingStarts(image)).recordings, QVector<RecordingMessage>({{}}));
}
