// The message around each recording, from a loaded and a mapped session alike, and what saving
// carries of it: the tags of every decoded format (read back by ffprobe) and the files' times.
#include "extract/ContainerSession.h"
#include "extract/SaveRun.h"
#include "message/MmsBuilder.h"
#include "support/TestFiles.h"

#include "RecordingGenerator.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vocafetch::MmsBuild;
using namespace vocafetch;

namespace {

constexpr qint64 SentAt = 1276063200; // 2010-06-09 06:00 UTC

const QByteArray Voice =
    RecGen::makeRecording(AmrFormat::NarrowBand, 1, RecGen::encodedSpeechFrames(100, {7}, false))
        .bytes;

// A phone's message: a Cyrillic sender, subject and text, the voice in a part named after it.
QByteArray voiceMessage(qint64 date, const QByteArray &voice)
{
    return message()
        .header(Date, longInteger(quint64(date)))
        .from(encodedString("Иван Петров", 106))
        .header(Subject, encodedString("Из отпуска", 106))
        .body(wellKnownType(MultipartRelated),
              {{contentType(TextPlain, charsetParameter(106)), {}, "Привет, это я!"},
               {contentType("audio/amr", nameParameter("Голос моря.amr")), {}, voice}})
        .bytes();
}

QJsonObject probedTags(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStandardPaths::findExecutable("ffprobe"),
                  {"-v", "error", "-show_format", "-show_streams", "-of", "json", path});
    if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
        return {};
    const QJsonDocument probed = QJsonDocument::fromJson(ffprobe.readAllStandardOutput());
    // Ogg keeps its comments with the stream; Vorbis comments are upper case.
    QJsonObject lower;
    for (const QJsonValue &value : {probed["format"]["tags"], probed["streams"][0]["tags"]}) {
        const QJsonObject tags = value.toObject();
        for (auto it = tags.begin(); it != tags.end(); ++it)
            lower[it.key().toLower()] = it.value();
    }
    return lower;
}

qint64 modified(const QString &path)
{
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

using RecordingMessageTest = ContainerFolderTest;

TEST_F(RecordingMessageTest, EachRecordingGetsTheMessagePartHoldingItLoadedOrMapped)
{
    // The container's own message with the first voice; a second message 2 MiB on with the
    // second; a third recording beyond a megabyte of filler lies in no message.
    const QByteArray own = voiceMessage(SentAt, Voice);
    const QByteArray second = voiceMessage(SentAt + 60, Voice);
    const QByteArray data = own + filler(2 << 20) + second + filler(1 << 20, '.') + Voice;
    const QString file = container(data);
    ContainerSession loaded(file);
    ContainerSession mapped;
    mapped.openMapped(file);
    ContainerSession plain(container(filler(100) + Voice));
    EXPECT_TRUE(plain.messages().isEmpty());
    EXPECT_EQ(plain.messageOf(0), nullptr);

    for (ContainerSession *session : {&loaded, &mapped}) {
        ASSERT_EQ(session->recordingCount(), 3);
        ASSERT_EQ(session->messages().size(), 2);
        EXPECT_EQ(session->messages()[0].offset, 0);
        EXPECT_EQ(session->messages()[1].offset, own.size() + (2 << 20));
        for (int i : {0, 1}) {
            ASSERT_NE(session->partOf(i), nullptr) << i;
            EXPECT_EQ(session->messageOf(i), &session->messages()[i]);
            EXPECT_EQ(session->partOf(i)->name, QStringLiteral("Голос моря.amr"));
            EXPECT_EQ(session->messageOf(i)->text, QStringLiteral("Привет, это я!"));
        }
        EXPECT_EQ(session->messageOf(2), nullptr);
        EXPECT_EQ(session->partOf(2), nullptr);
        EXPECT_EQ(session->fileTimeOf(1), SentAt + 60);

        const AudioTags tags = session->tagsOf(0);
        EXPECT_EQ(tags.title, QStringLiteral("Голос моря"));
        EXPECT_EQ(tags.artist, QStringLiteral("Иван Петров"));
        EXPECT_EQ(tags.album, QStringLiteral("Из отпуска"));
        EXPECT_EQ(tags.track, 1);
        EXPECT_EQ(session->tagsOf(2).title, QStringLiteral("Запись_3"));
        EXPECT_EQ(session->tagsOf(2).album, QFileInfo(file).fileName());
    }
    // The message changes no byte of a saved recording.
    EXPECT_EQ(loaded.range(0).begin, data.indexOf("#!AMR"));
    EXPECT_EQ(loaded.recordingBytes(0), mapped.recordingBytes(0));
}

TEST_F(RecordingMessageTest, EveryDecodedFormatCarriesTheMessageInItsTags)
{
    if (QStandardPaths::findExecutable("ffprobe").isEmpty())
        GTEST_SKIP() << "ffprobe is not installed";
    ContainerSession session(container(filler(10) + voiceMessage(SentAt, Voice)));
    const QDateTime local = QDateTime::fromSecsSinceEpoch(SentAt);
    for (OutputFormat format :
         {OutputFormat::Wav, OutputFormat::Flac, OutputFormat::Opus, OutputFormat::Mp3}) {
        const OutputKind kind = OutputKind::decoded(format);
        SCOPED_TRACE(kind.info().name.data());
        const SaveOutcome outcome = saveRecordings(session, planSaveAll(session, kind, path("v")));
        ASSERT_EQ(outcome.placed, 1);
        const QJsonObject tags = probedTags(path("v_1.") + kind.info().extension);
        EXPECT_EQ(tags["title"].toString(), QStringLiteral("Голос моря"));
        EXPECT_EQ(tags["artist"].toString(), QStringLiteral("Иван Петров"));
        EXPECT_EQ(tags["album"].toString(), QStringLiteral("Из отпуска"));
        EXPECT_EQ(tags["comment"].toString(), QStringLiteral("Привет, это я!"));
        EXPECT_EQ(tags["track"].toString(), "1");
        EXPECT_TRUE(tags["date"].toString().startsWith(local.toString("yyyy-MM-dd")))
            << tags["date"].toString().toStdString();
    }
}

TEST_F(RecordingMessageTest, SavedFilesTakeAPlausibleMessageDateUnlessAskedNotTo)
{
    const qint64 unsetClock = 315532800; // 1980-01-01: a phone whose clock was never set
    const qint64 nextYear = QDateTime::currentSecsSinceEpoch() + 365 * 24 * 3600;
    ContainerSession session(container(voiceMessage(SentAt, Voice) + filler(8) +
                                       voiceMessage(unsetClock, Voice) + filler(8) +
                                       voiceMessage(nextYear, Voice)));
    ASSERT_EQ(session.recordingCount(), 3);
    const qint64 before = QDateTime::currentSecsSinceEpoch() - 1;
    for (const OutputKind kind :
         {OutputKind::whole(), OutputKind::cleanCut(), OutputKind::decoded(OutputFormat::Wav)}) {
        const QString name = path(kind.clean ? "clean" : "t");
        saveRecordings(session, planSaveAll(session, kind, name));
        SavePlan keep = planSaveOne(session, 0, kind, name + "_now");
        keep.restoreTimes = false;
        saveRecordings(session, keep);

        const QString ext = QStringLiteral(".") + kind.info().extension;
        EXPECT_EQ(modified(name + "_1" + ext), SentAt) << name.toStdString() << ext.toStdString();
        EXPECT_GE(modified(name + "_2" + ext), before);
        EXPECT_GE(modified(name + "_3" + ext), before);
        EXPECT_GE(modified(name + "_now_1" + ext), before);
    }
}

TEST_F(RecordingMessageTest, RealMessagesNameTheirVoices)
{
    const QString real =
        QStringLiteral(VOCAFETCH_SHARED_TEST_DATA "/realworld-amr/mms/mms_sample2amr.mms");
    if (!QFileInfo::exists(real))
        GTEST_SKIP() << "the real messages are not beside the source tree";
    ContainerSession loaded(real);
    ContainerSession mapped;
    mapped.openMapped(real);
    for (ContainerSession *session : {&loaded, &mapped}) {
        ASSERT_EQ(session->recordingCount(), 2);
        EXPECT_EQ(session->tagsOf(0).title, "YCBNYH");
        EXPECT_EQ(session->tagsOf(1).title, "HelloWorld");
        EXPECT_EQ(session->tagsOf(1).album, "This is a nice message ...");
        EXPECT_EQ(session->fileTimeOf(0),
                  QDateTime::fromString("2021-12-21T13:51:53Z", Qt::ISODate).toSecsSinceEpoch());
    }
}

} // namespace
