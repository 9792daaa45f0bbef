// Real MMS PDUs from phones, servers and conformance suites, read from the shared test data
// beside the source tree; skipped when it is not there.
#include "MmsBuilder.h"
#include "analysis/ExactBuffer.h"
#include "extract/message/MessagePlacement.h"
#include "extract/message/MmsReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

QString sharedFolder(const QString &name)
{
    return QDir(QStringLiteral(VOCAFETCH_SHARED_TEST_DATA)).filePath(name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

// Every "#!AMR" in any case, as the scan lists recording starts.
QVector<qint64> recordingStarts(const QByteArray &bytes)
{
    const QByteArray lowered = bytes.toLower();
    QVector<qint64> starts;
    for (qint64 at = lowered.indexOf("#!amr"); at >= 0; at = lowered.indexOf("#!amr", at + 1))
        starts << at;
    return starts;
}

MessagePlacement place(const QByteArray &bytes)
{
    const ExactBuffer buffer(bytes);
    return placeMessages(buffer.data(), buffer.size(), recordingStarts(bytes));
}

std::optional<MmsMessage> read(const QByteArray &bytes)
{
    const ExactBuffer buffer(bytes);
    return readMmsMessage(buffer.data(), buffer.size());
}

QString utc(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate);
}

#define SKIP_WITHOUT(folder)                                                                       \
    if (!QDir(sharedFolder(folder)).exists())                                                      \
    GTEST_SKIP() << "no test data in " << qPrintable(sharedFolder(folder))

} // namespace

TEST(RealMessages, PhoneMessagesWithVoiceParts)
{
    SKIP_WITHOUT("realworld-amr/mms");
    struct Expected
    {
        const char *file;
        const char *date;
        const char *from;
        const char *subject;
        QStringList voices; // the audio/amr parts' locations, else ids
    };
    const Expected messages[] = {
        {"mms_btmms.MMS", "2003-01-21T01:57:04Z", "", "BT Ignite MMS", {"catchy_g.amr"}},
        {"mms_m.mms", "2002-08-09T13:08:02Z", "goldpost@hotmail.com", "GOLD", {"gold102.amr"}},
        {"mms_nowmms.MMS",
         "2002-11-20T01:27:49Z",
         "NowMMS <nowsms@now.co.uk>",
         "NowMMS Test Message",
         {"catchy_g.amr"}},
        {"mms_sample2amr.mms",
         "2021-12-21T13:51:53Z",
         "made by Aristotelis",
         "This is a nice message ...",
         {"YCBNYH.amr", "HelloWorld.amr"}},
        {"mms_tomslot.MMS",
         "2003-02-16T03:48:33Z",
         "allan@tomslot.com",
         "Tom Slot Band",
         {"aud04.amr"}},
    };
    for (const Expected &expected : messages) {
        SCOPED_TRACE(expected.file);
        const QByteArray bytes = readFile(sharedFolder("realworld-amr/mms/") + expected.file);
        const auto message = read(bytes);
        ASSERT_TRUE(message);
        EXPECT_EQ(message->problem, QString());
        EXPECT_EQ(message->end, bytes.size());
        EXPECT_EQ(message->type, "retrieve-conf");
        ASSERT_TRUE(message->date);
        EXPECT_EQ(utc(*message->date), expected.date);
        EXPECT_EQ(message->from, expected.from);
        EXPECT_EQ(message->subject, expected.subject);

        QStringList voices;
        QVector<RecordingMessage> voiceParts;
        for (int i = 0; i < message->parts.size(); ++i) {
            const MmsPart &part = message->parts[i];
            if (part.mediaType != "audio/amr")
                continue;
            voices << (part.location.isEmpty() ? part.contentId : part.location);
            EXPECT_EQ(bytes.mid(part.dataOffset, 6), "#!AMR\n");
            voiceParts << RecordingMessage{0, i};
        }
        EXPECT_EQ(voices, expected.voices);
        EXPECT_EQ(place(bytes).recordings, voiceParts);
    }
}

// Conformance messages: each read whole; those with a body, given a voice part and put inside
// a larger image, are found by the recording.
TEST(RealMessages, ConformanceMessages)
{
    SKIP_WITHOUT("mms-headers");
    const QDir folder(sharedFolder("mms-headers"));
    const QStringList files = folder.entryList({"*.mms"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 16);
    for (const QString &file : files) {
        SCOPED_TRACE(qPrintable(file));
        QByteArray pdu = readFile(folder.filePath(file));
        const auto original = read(pdu);
        ASSERT_TRUE(original);
        EXPECT_EQ(original->problem, QString());
        EXPECT_EQ(original->type, file.startsWith("ni")   ? "notification-ind"
                                  : file.startsWith("rc") ? "retrieve-conf"
                                                          : "send-req");
        if (original->bodyOffset < 0)
            continue;
        ASSERT_LT(original->parts.size(), 127); // the part count is one byte
        pdu[original->bodyOffset] = char(original->parts.size() + 1);
        const QByteArray voice = MmsBuild::recordingData();
        const QByteArray headers =
            MmsBuild::contentType("audio/amr") + MmsBuild::contentLocation("Voice_090312_001.amr");
        pdu += MmsBuild::uintvar(quint32(headers.size())) +
               MmsBuild::uintvar(quint32(voice.size())) + headers + voice;
        const QByteArray prefix(7000, '\x8C');
        const MessagePlacement placement = place(prefix + pdu + QByteArray(3000, '\xFF'));
        ASSERT_EQ(placement.messages.size(), 1);
        const MmsMessage &found = placement.messages[0];
        EXPECT_EQ(found.offset, prefix.size());
        EXPECT_EQ(found.subject, original->subject);
        EXPECT_EQ(found.to, original->to);
        EXPECT_EQ(found.text, original->text);
        EXPECT_EQ(placement.recordings,
                  QVector<RecordingMessage>({{0, int(original->parts.size())}}));
        EXPECT_EQ(found.parts.last().location, "Voice_090312_001.amr");
    }

    const auto utf8Subject = read(readFile(folder.filePath("rc-mms-1-3-con-211.mms")));
    EXPECT_EQ(utf8Subject->subject, "Shõrt Téxt - ¥üëäÿ");
    EXPECT_EQ(utf8Subject->text, "Hello World");
    const auto twoRecipients = read(readFile(folder.filePath("sr-mms-related-multi-to.mms")));
    EXPECT_EQ(twoRecipients->to, QStringList({"+33612345678", "+33612345679"}));
    const auto utf16 = read(readFile(folder.filePath("rc-mms-1-3-con-214.mms")));
    EXPECT_TRUE(utf16->text.startsWith("French ê has a roof")) << qPrintable(utf16->text);
}

TEST(RealMessages, BuiltContainers)
{
    SKIP_WITHOUT("realworld-amr/built");
    const MessagePlacement voice4 =
        place(readFile(sharedFolder("realworld-amr/built/mms_voice4.drf")));
    ASSERT_EQ(voice4.messages.size(), 1);
    QStringList names;
    for (const RecordingMessage &recording : voice4.recordings) {
        ASSERT_EQ(recording.message, 0);
        names << voice4.messages[0].parts[recording.part].name;
    }
    EXPECT_EQ(names, QStringList({"call.amr", "yall.amr", "wide.awb", "wolf.amr"}));
    EXPECT_EQ(voice4.messages[0].from, "+79161234567");
    EXPECT_EQ(voice4.messages[0].subject, "Голосовое сообщение");

    // A memory dump with recordings and no message.
    const MessagePlacement dump =
        place(readFile(sharedFolder("realworld-amr/built/dump_mixed.bin")));
    EXPECT_TRUE(dump.messages.isEmpty());
    EXPECT_EQ(dump.recordings, QVector<RecordingMessage>(dump.recordings.size()));
    EXPECT_FALSE(dump.recordings.isEmpty());
}
