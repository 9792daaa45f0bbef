// The message around each recording on the command line: the listing's message lines and JSON,
// files named from a template of the message's fields, and the message's date as file time.
#include "CliFixture.h"
#include "message/MmsBuilder.h"

#include "RecordingGenerator.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

using namespace vocafetch::MmsBuild;
using namespace vocafetch;

namespace {

constexpr qint64 SentAt = 1241019788; // 2009-04-29 15:43:08 UTC

const QByteArray Voice =
    RecGen::makeRecording(AmrFormat::NarrowBand, 1, RecGen::encodedSpeechFrames(50, {7}, false))
        .bytes;

// A received message: two voices (one named, one known by its location alone) and a text.
QByteArray phoneMessage(qint64 date, const QByteArray &subject,
                        const QByteArray &from = "+79161234567/TYPE=PLMN")
{
    return message()
        .header(Date, longInteger(quint64(date)))
        .from(text(from))
        .textHeader(To, "+79031112233/TYPE=PLMN")
        .textHeader(To, "anna@example.org")
        .textHeader(Cc, "boris@example.org")
        .textHeader(MessageId, "Mid-42")
        .header(Subject, encodedString(subject, 106))
        .body(wellKnownType(MultipartMixed),
              {{contentType(TextPlain, charsetParameter(106)), {}, "Привет\nиз отпуска"},
               {contentType("audio/amr", nameParameter("Voice_090312_001.amr")), contentId("<v1>"),
                Voice},
               {contentType("audio/amr"), contentLocation("clip2.amr"), Voice}})
        .bytes();
}

qint64 modified(const QString &path)
{
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

class CliMessageTest : public CliFixture
{
protected:
    // The message, then a recording that lies in no message.
    void writeContainer(const QString &name, qint64 date = SentAt,
                        const QByteArray &subject = "Из отпуска")
    {
        write(name, phoneMessage(date, subject) + QByteArray(4096, '\xFF') + Voice);
    }
    QStringList filesIn(const QString &folder) const
    {
        return QDir(path(folder)).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(CliMessageTest, TheListingShowsEachMessageAndThePartOfEachRecording)
{
    writeContainer("voice.drf");
    const CliRun json = run({"list", "--json", "voice.drf"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject entry =
        QJsonDocument::fromJson(json.out).object()["containers"][0].toObject();
    const QJsonArray messages = entry["messages"].toArray();
    ASSERT_EQ(messages.size(), 1);
    const QJsonObject message = messages[0].toObject();
    EXPECT_EQ(message["offset"].toInt(), 0);
    EXPECT_EQ(message["type"].toString(), "retrieve-conf");
    EXPECT_EQ(message["date"].toString(), "2009-04-29T15:43:08Z");
    EXPECT_EQ(message["from"].toString(), "+79161234567");
    EXPECT_EQ(message["to"].toArray(), QJsonArray({"+79031112233", "anna@example.org"}));
    EXPECT_EQ(message["cc"].toArray(), QJsonArray({"boris@example.org"}));
    EXPECT_EQ(message["subject"].toString(), QStringLiteral("Из отпуска"));
    EXPECT_EQ(message["message_id"].toString(), "Mid-42");
    EXPECT_EQ(message["text"].toString(), QStringLiteral("Привет\nиз отпуска"));
    // The keys written in alphabetical order, as every object of the listing.
    EXPECT_TRUE(json.out.contains("{\"cc\":[\"boris@example.org\"],\"date\":"));

    const QJsonArray recordings = entry["recordings"].toArray();
    ASSERT_EQ(recordings.size(), 3);
    EXPECT_EQ(recordings[0]["message"].toInt(-1), 0);
    EXPECT_EQ(
        recordings[0]["part"].toObject(),
        QJsonObject({{"name", "Voice_090312_001.amr"}, {"id", "v1"}, {"media_type", "audio/amr"}}));
    EXPECT_EQ(recordings[1]["part"].toObject(),
              QJsonObject({{"location", "clip2.amr"}, {"media_type", "audio/amr"}}));
    EXPECT_FALSE(recordings[2].toObject().contains("message"));
    EXPECT_FALSE(recordings[2].toObject().contains("part"));
    EXPECT_EQ(recordings[2]["number"].toInt(), 3);

    const CliRun text = run({"list", "voice.drf"});
    ASSERT_EQ(text.exitCode, 0);
    const QStringList lines = text.outText().split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[1], QStringLiteral("  message 1  offset 0  retrieve-conf  date "
                                       "2009-04-29T15:43:08Z  from +79161234567  to "
                                       "+79031112233, anna@example.org  cc boris@example.org  "
                                       "subject Из отпуска"));
    EXPECT_TRUE(lines[2].startsWith("    1  offset ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("  message 1  part Voice_090312_001.amr"));
    EXPECT_TRUE(lines[3].endsWith("  message 1  part clip2.amr"));
    EXPECT_FALSE(lines[4].contains("message")) << lines[4].toStdString();
}

TEST_F(CliMessageTest, NamesFromEveryFieldOfTheTemplate)
{
    writeContainer("voice.drf");
    const CliRun named = run({"extract", "-o", "out", "--name",
                              "{date}_{time}_{from}_{subject}_{part}_{name}_{k}", "voice.drf"});
    ASSERT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_EQ(filesIn("out"),
              QStringList({QStringLiteral("2009-04-29_15-43-08_+79161234567_Из отпуска_"
                                          "Voice_090312_001_voice_1.amr"),
                           QStringLiteral("2009-04-29_15-43-08_+79161234567_Из отпуска_clip2_"
                                          "voice_2.amr"),
                           "unknown_unknown_unknown_unknown_unknown_voice_3.amr"}));
    // A prefix is the name, and its numbers go on across containers.
    writeContainer("second.drf");
    const CliRun prefixed =
        run({"extract", "-o", "p", "--prefix", "trip", "--name", "{name}-{k}-{part}", "--format",
             "wav", "voice.drf", "second.drf"});
    ASSERT_EQ(prefixed.exitCode, 0) << prefixed.err.toStdString();
    EXPECT_EQ(filesIn("p"), QStringList({"trip-1-Voice_090312_001.wav", "trip-2-clip2.wav",
                                         "trip-3-unknown.wav", "trip-4-Voice_090312_001.wav",
                                         "trip-5-clip2.wav", "trip-6-unknown.wav"}));
    // The default template gives today's names, a recording found without its header included.
    const QByteArray lost = RecGen::makeRecording(AmrFormat::NarrowBand, 1,
                                                  RecGen::encodedSpeechFrames(150, {7}, false))
                                .bytes.mid(6);
    write("lost.drf", Voice + QByteArray(4096, '\xFF') + lost);
    ASSERT_EQ(run({"extract", "-o", "plain", "--headerless", "voice.drf", "lost.drf"}).exitCode, 0);
    ASSERT_EQ(run({"extract", "-o", "default", "--headerless", "--name", "{name}_{k}", "voice.drf",
                   "lost.drf"})
                  .exitCode,
              0);
    EXPECT_EQ(filesIn("plain"), QStringList({"lost_1.amr", "lost_lost_1.amr", "voice_1.amr",
                                             "voice_2.amr", "voice_3.amr"}));
    EXPECT_EQ(filesIn("default"), filesIn("plain"));
    EXPECT_EQ(read("plain/voice_1.amr"), read("out/" + filesIn("out")[0]));
}

TEST_F(CliMessageTest, HostileFieldValuesStayOneFileInTheOutputFolder)
{
    write("evil.drf", phoneMessage(SentAt, "../../x\n" + QByteArray(300, 'z'), "-rf\r\n.hidden") +
                          QByteArray(4096, '\xFF') + Voice);
    // Both voices of the message would get the subject's name: the container is refused whole.
    const CliRun same = run({"extract", "-o", "out", "--name", "{subject}", "evil.drf"});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_TRUE(same.err.contains("would be the name of recordings 1 and 2; nothing written"))
        << same.err.toStdString();
    EXPECT_TRUE(filesIn("out").isEmpty());

    const CliRun named = run({"extract", "-o", "out", "--name", "{from}{k}{subject}", "evil.drf"});
    ASSERT_EQ(named.exitCode, 0) << named.err.toStdString();
    const QString subject = ".._.._x_" + QString(300, 'z');
    EXPECT_EQ(filesIn("out"),
              QStringList({("_rf__.hidden1" + subject).left(200) + ".amr",
                           ("_rf__.hidden2" + subject).left(200) + ".amr", "unknown3unknown.amr"}));
    // The listing keeps the message on its one line.
    const CliRun list = run({"list", "evil.drf"});
    EXPECT_EQ(list.outText().count('\n'), 5);
    EXPECT_TRUE(list.outText().contains("from -rf\\r\\n.hidden  to "))
        << list.outText().toStdString();
    // A template naming no known field is a usage error.
    const CliRun unknown = run({"extract", "--name", "{sender}", "evil.drf"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("{sender}")) << unknown.err.toStdString();
}

TEST_F(CliMessageTest, FilesTakeAPlausibleMessageDateUnlessNoTimes)
{
    writeContainer("voice.drf");
    writeContainer("unset.drf", 315532800); // 1980: a phone clock never set
    const qint64 before = QDateTime::currentSecsSinceEpoch() - 1;
    ASSERT_EQ(run({"extract", "-o", "t", "voice.drf", "unset.drf"}).exitCode, 0);
    ASSERT_EQ(run({"extract", "-o", "now", "--no-times", "voice.drf"}).exitCode, 0);
    EXPECT_EQ(modified(path("t/voice_1.amr")), SentAt);
    EXPECT_EQ(modified(path("t/voice_2.amr")), SentAt);
    EXPECT_GE(modified(path("t/voice_3.amr")), before); // in no message
    EXPECT_GE(modified(path("t/unset_1.amr")), before);
    EXPECT_GE(modified(path("now/voice_1.amr")), before);
    EXPECT_EQ(read("now/voice_1.amr"), read("t/voice_1.amr"));
}

} // namespace
