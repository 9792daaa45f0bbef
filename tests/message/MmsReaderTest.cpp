#include "extract/message/MmsReader.h"
#include "MmsBuilder.h"
#include "analysis/ExactBuffer.h"
#include "extract/message/MmsCharset.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

using namespace vocafetch::MmsBuild;
using namespace vocafetch;

namespace {

std::optional<MmsMessage> readPdu(const QByteArray &bytes)
{
    const ExactBuffer buffer(bytes);
    return readMmsMessage(buffer.data(), buffer.size());
}

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

} // namespace

TEST(MmsReader, ReadsEveryHeaderKindAndSkipsTheOthers)
{
    MmsBuilder pdu(RetrieveConf);
    pdu.textHeader(TransactionId, "tid-77")
        .header(Version, shortInteger(0x13))
        .textHeader(MessageId, "msg-0042@mmsc")
        .header(Date, longInteger(1234567890))
        .from(encodedString(utf8("+79161234567/TYPE=PLMN"), 106))
        .textHeader(To, "+79037654321/TYPE=PLMN")
        .header(To, encodedString(utf8("Мария <maria@example.ru>"), 106))
        .textHeader(To, "+79990000000/type=plmn")
        .textHeader(Cc, "+1555/TYPE=PLMN")
        .header(Cc, encodedString("ops@example.com", 3))
        .textHeader(Bcc, "hidden@example.com")
        .header(DeliveryReport, shortInteger(0x01))
        .header(Expiry, withLength('\x81' + longInteger(604800)))
        .header(MessageSize, longInteger(70000))
        .textHeader(MessageClass, "NewMessageClass")
        .header(Priority, shortInteger(0x02))
        .header(PreviouslySentBy, withLength(integer(1) + encodedString("+7000", 106)))
        .header(0xFE, text("a field no reader knows"))
        .applicationHeader("X-Custom-Header", "its value")
        .header(Subject, encodedString(utf8("Голосовое"), 106))
        .body(contentType(MultipartRelated,
                          startParameter("<smil>") + "\x89" + text("application/smil")),
              {{contentType("text/plain", charsetParameter(106)), {}, utf8("Привет")}});

    const auto message = readPdu(pdu.bytes());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->problem, QString());
    EXPECT_EQ(message->offset, 0);
    EXPECT_EQ(message->end, pdu.bytes().size());
    EXPECT_EQ(message->type, "retrieve-conf");
    EXPECT_EQ(message->transactionId, "tid-77");
    EXPECT_EQ(message->version, "1.3");
    EXPECT_EQ(message->messageId, "msg-0042@mmsc");
    EXPECT_EQ(message->date, 1234567890);
    EXPECT_EQ(message->from, "+79161234567");
    EXPECT_EQ(message->to,
              QStringList({"+79037654321", "Мария <maria@example.ru>", "+79990000000"}));
    EXPECT_EQ(message->cc, QStringList({"+1555", "ops@example.com"}));
    EXPECT_EQ(message->bcc, QStringList({"hidden@example.com"}));
    EXPECT_EQ(message->subject, "Голосовое");
    EXPECT_EQ(message->contentType, "application/vnd.wap.multipart.related");
    EXPECT_EQ(message->text, "Привет");
}

TEST(MmsReader, MissingDateAndAServerInsertedSender)
{
    MmsBuilder pdu = message(SendReq);
    pdu.header(From, withLength("\x81")).textHeader(To, "+100").textHeader(Subject, "no date");
    const auto sent = readPdu(pdu.bytes());
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->type, "send-req");
    EXPECT_FALSE(sent->date);
    EXPECT_EQ(sent->from, QString());
    EXPECT_EQ(sent->subject, "no date");
    // No Content-Type: a PDU without a body, read to its end.
    EXPECT_EQ(sent->bodyOffset, -1);
    EXPECT_TRUE(sent->parts.isEmpty());
    EXPECT_EQ(sent->problem, QString());
}

// Subjects and text parts in each character set phones use, and in ones this reader does not
// know or bytes that are not what their set says.
TEST(MmsReader, DecodesStringsAndTextByTheirCharset)
{
    struct Case
    {
        quint64 mib;
        QByteArray bytes;
        QString expected;
    };
    const Case cases[] = {
        {106,
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         "Grüße"},
        {3, "plain ASCII", "plain ASCII"},
        {3, "caf\xE9", QString("caf") + QChar(0xFFFD)},
        {4, "caf\xE9 cr\xE8me", "café crème"},
        {1000, QByteArray("\x04\x1F\x04\x40\x04\x38", 6), "При"},
        {1000, QByteArray("\xFE\xFF\x04\x1F\x04\x40", 6), "Пр"},
        {1015, QByteArray("\xFF\xFE\x1F\x04\x40\x04", 6), "Пр"},
        {1015, QByteArray("\x00h\x00i", 4), "hi"}, // no byte-order mark: big-endian
        {2251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        {2084, "\xF0\xD2\xC9\xD7\xC5\xD4", "Привет"},
        {9999, "ok \xE9", QString("ok ") + QChar(0xFFFD)},
        {106, "bad \xC3", QString("bad ") + QChar(0xFFFD)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mib);
        MmsBuilder pdu = message();
        pdu.header(Subject, encodedString(c.bytes, c.mib))
            .body(wellKnownType(MultipartMixed),
                  {{contentType(TextPlain, charsetParameter(c.mib)), {}, c.bytes}});
        const auto read = readPdu(pdu.bytes());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->subject, c.expected);
        EXPECT_EQ(read->text, c.expected);
        EXPECT_EQ(read->problem, QString());
    }

    // A charset given by name, and a UTF-8 byte-order mark before text called US-ASCII.
    MmsBuilder named = message();
    named.header(Subject, withLength(text("windows-1251") + text("\xCF\xF0\xE8")))
        .body(wellKnownType(MultipartMixed),
              {{contentType(TextPlain, charsetParameter(3)), {}, "\xEF\xBB\xBFHello"}});
    const auto read = readPdu(named.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->subject, "При");
    EXPECT_EQ(read->text, "Hello");
}

// Sets by name through Qt's converters, one after another: each text starts afresh, so a lead
// byte left at the end of one cannot join the first byte of the next.
TEST(MmsReader, NamedCharsetsDecodeEachTextOnItsOwn)
{
    const auto fresh = [](const QByteArray &bytes, const char *charset) {
        QStringDecoder decoder(charset, QStringConverter::Flag::Stateless);
        return decoder.isValid() ? decoder.decode(bytes) : QString();
    };
    EXPECT_EQ(decodeText("\xCF\xF0\xE8", "windows-1251"), "При");
    EXPECT_EQ(decodeText("\xF0\xD2\xC9", "KOI8-R"), "При");
    EXPECT_EQ(decodeText("\xCF\xF0\xE8", "windows-1251"), "При");
    const QString lead = decodeText("a\x82", "Shift_JIS");
    EXPECT_EQ(lead, fresh("a\x82", "Shift_JIS"));
    EXPECT_TRUE(lead.startsWith(u'a'));
    EXPECT_EQ(decodeText("\xA0z", "Shift_JIS"), fresh("\xA0z", "Shift_JIS"));
    // Joined, the two bytes are one character: carried over, the lead byte would show.
    EXPECT_NE(fresh("\x82\xA0z", "Shift_JIS"), fresh("\xA0z", "Shift_JIS"));
    EXPECT_EQ(decodeText("ok \xE9", "no-such-set"), QString("ok ") + QChar(0xFFFD));
}

TEST(MmsReader, LongSubjectsNeedTheQuotedLength)
{
    const QByteArray longSubject = QString("Очень длинная тема ").repeated(12).toUtf8();
    ASSERT_GT(longSubject.size(), 128); // a two-byte uintvar length
    MmsBuilder pdu = message();
    pdu.header(Subject, encodedString(longSubject, 106)).textHeader(To, QByteArray(300, 'x'));
    const auto read = readPdu(pdu.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->subject, QString::fromUtf8(longSubject));
    EXPECT_EQ(read->to, QStringList(QString(300, 'x')));
}

// Cut anywhere in its headers, a PDU gives the headers before the cut and says it is cut short.
TEST(MmsReader, TruncatedHeadersKeepWhatCameBefore)
{
    MmsBuilder pdu = message();
    pdu.header(Date, longInteger(1000000000)).header(Subject, encodedString("subject", 106));
    const qint64 subjectAt = pdu.bytes().indexOf(char(Subject));
    pdu.body(wellKnownType(MultipartMixed), {{wellKnownType(TextPlain), {}, "x"}});
    const QByteArray whole = pdu.bytes();
    for (qint64 cut = 4; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        const auto read = readPdu(whole.left(cut));
        ASSERT_TRUE(read);
        EXPECT_LE(read->end, cut);
        if (cut > subjectAt && cut < subjectAt + 11) {
            EXPECT_EQ(read->date, 1000000000);
            EXPECT_EQ(read->subject, QString());
            EXPECT_TRUE(read->problem.contains("cut short")) << qPrintable(read->problem);
        }
    }
}

TEST(MmsReader, RefusesWhatIsNoPdu)
{
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("\x8C\x84"), QByteArray("\x8C\x84\x98\x01x"),
          QByteArray("\x8C\x7F\x98T\0", 5), QByteArray("\x8C\xA0\x8D\x90"),
          QByteArray("\x8D\x84\x98T\0", 5), QByteArray("\x8C\x84\x8D\x10")}) {
        EXPECT_FALSE(readPdu(bytes)) << bytes.toHex().constData();
    }
}

// Parts of a related and a mixed body: their types, names, locations, ids, charsets and exact
// data ranges.
TEST(MmsReader, ReadsThePartsOfRelatedAndMixedBodies)
{
    const QByteArray audio = recordingData(300);
    const QVector<Part> parts = {
        {contentType("application/smil"), contentId("<smil>") + contentLocation("smil.xml"),
         "<smil/>"},
        {contentType(TextPlain, charsetParameter(106)), contentLocation("text_0.txt"), "Hi"},
        {contentType("audio/AMR", nameParameter("Voice_090312_001.amr")),
         contentId("<voice>") + contentLocation("Voice_090312_001.amr"), audio},
        {contentType("audio/amr"), attachment("second.amr"), audio},
        {wellKnownType(ImageJpeg), QByteArray("Content-Location\0pic.jpg\0", 25), "\xFF\xD8\xFF"},
    };
    for (const QByteArray &type :
         {contentType(MultipartRelated, startParameter("<smil>")), wellKnownType(MultipartMixed)}) {
        MmsBuilder pdu = message();
        pdu.body(type, parts);
        const auto read = readPdu(pdu.bytes());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->problem, QString());
        ASSERT_EQ(read->parts.size(), parts.size());
        EXPECT_EQ(read->declaredParts, 5u);
        EXPECT_EQ(read->text, "Hi");

        const MmsPart &voice = read->parts[2];
        EXPECT_EQ(voice.mediaType, "audio/amr");
        EXPECT_EQ(voice.name, "Voice_090312_001.amr");
        EXPECT_EQ(voice.location, "Voice_090312_001.amr");
        EXPECT_EQ(voice.contentId, "voice");
        EXPECT_EQ(pdu.bytes().mid(voice.dataOffset, voice.dataEnd - voice.dataOffset), audio);
        EXPECT_EQ(read->parts[3].name, "second.amr");
        EXPECT_EQ(read->parts[3].dataOffset, pdu.bytes().lastIndexOf(audio));
        EXPECT_EQ(read->parts[1].charset, "UTF-8");
        EXPECT_EQ(read->parts[1].location, "text_0.txt");
        EXPECT_EQ(read->parts[0].contentId, "smil");
        EXPECT_EQ(read->parts[4].mediaType, "image/jpeg");
        EXPECT_EQ(read->parts[4].location, "pic.jpg");
        EXPECT_EQ(read->partHolding(voice.dataOffset + 10), 2);
        EXPECT_EQ(read->end, pdu.bytes().size());
    }
}

// Why a reading stopped names the byte and the offsets exactly.
TEST(MmsReader, ProblemsNameTheByteAndTheOffsets)
{
    auto read = readPdu(QByteArray("\x8C\x84\x98T\0\x0A", 6));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->problem, "no header begins with the byte 0x0a at offset 5");

    MmsBuilder cut = message();
    cut.body(wellKnownType(MultipartMixed), {{wellKnownType(TextPlain), {}, "two", 4000000000u}});
    read = readPdu(cut.bytes());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->parts.size(), 1);
    EXPECT_EQ(read->problem,
              QStringLiteral("part 1 at offset %1 has 3 of its 4000000000 bytes of data")
                  .arg(read->parts[0].headerOffset));
}

TEST(MmsReader, BodiesThatEndEarly)
{
    const Part text{wellKnownType(TextPlain), {}, "one"};
    // More parts declared than written: the parts there are, and why the rest are missing.
    MmsBuilder fewer = message();
    fewer.body(wellKnownType(MultipartMixed), {text, text}, 5);
    auto read = readPdu(fewer.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->parts.size(), 2);
    EXPECT_TRUE(read->problem.contains("declares 5 parts")) << qPrintable(read->problem);

    // Bytes after the last part that are no part header end the body there.
    read = readPdu(fewer.bytes() + QByteArray(40, '\xFF'));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->parts.size(), 2);
    EXPECT_FALSE(read->problem.isEmpty());

    // Data cut short by the end of the container: the part keeps what there is.
    MmsBuilder cut = message();
    cut.body(wellKnownType(MultipartMixed), {text, {wellKnownType(TextPlain), {}, "two", 1000}});
    read = readPdu(cut.bytes());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->parts.size(), 2);
    EXPECT_TRUE(read->parts[1].truncated());
    EXPECT_EQ(read->parts[1].dataEnd, cut.bytes().size());
    EXPECT_EQ(read->text, "one\ntwo");
    EXPECT_TRUE(read->problem.contains("has 3 of its 1000 bytes")) << qPrintable(read->problem);
}
