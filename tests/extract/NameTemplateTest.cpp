// Names made from a template of the message's fields: every field, what is unknown, and values
// a file system or a shell would take badly.
#include "extract/NameTemplate.h"
#include "extract/RawFileName.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vocafetch;

namespace {

NameTemplate parsed(const QString &text)
{
    QString problem;
    const std::optional<NameTemplate> names = NameTemplate::parse(text, problem);
    EXPECT_TRUE(names) << problem.toStdString();
    return names.value_or(NameTemplate());
}

struct Message
{
    MmsMessage message;
    MmsPart part;
};

Message phoneMessage()
{
    Message m;
    m.message.date = QDateTime::fromString("2009-04-29T15:43:08Z", Qt::ISODate).toSecsSinceEpoch();
    m.message.from = QStringLiteral("+79161234567");
    m.message.subject = QStringLiteral("  Из отпуска ");
    m.part.name = QStringLiteral("Voice_090312_001.amr");
    return m;
}

TEST(NameTemplate, EveryFieldFromTheMessageAndUnknownWithout)
{
    const Message m = phoneMessage();
    const NameTemplate all = parsed("{name}-{k} {date} {time} {from} {subject} {part}.x");
    EXPECT_EQ(
        all.expand({"rec", "3", &m.message, &m.part}),
        QStringLiteral("rec-3 2009-04-29 15-43-08 +79161234567 Из отпуска Voice_090312_001.x"));
    EXPECT_EQ(all.expand({"rec", "lost_1", nullptr, nullptr}),
              "rec-lost_1 unknown unknown unknown unknown unknown.x");
    // A message without a date, sender or subject, and a part named only by its location.
    MmsMessage bare;
    MmsPart located;
    located.location = QStringLiteral("voice/clip.3.amr");
    EXPECT_EQ(all.expand({"rec", "1", &bare, &located}),
              "rec-1 unknown unknown unknown unknown clip.3.x");
    // The default gives today's names.
    EXPECT_EQ(parsed(NameTemplate::defaultText()).expand({"rec", "12", &m.message, &m.part}),
              "rec_12");
}

TEST(NameTemplate, TemplatesThatNameNoKnownFieldAreRefused)
{
    for (const QString text : {"", "{name}_{K}", "{date", "{}", "x_{name}_{nmae}"}) {
        QString problem;
        EXPECT_FALSE(NameTemplate::parse(text, problem)) << text.toStdString();
        EXPECT_FALSE(problem.isEmpty());
    }
    QString problem;
    EXPECT_TRUE(NameTemplate::parse("}plain} text", problem));
}

TEST(NameTemplate, HostileValuesGiveOneSafeName)
{
    Message m = phoneMessage();
    m.message.from = QStringLiteral("a\nb\r\x1b[31m\x7f") + QChar(0x85) + QChar(0x2028) + "c";
    m.part.name = QStringLiteral("-rf .amr");
    EXPECT_EQ(parsed("{from}").expand({"n", "1", &m.message, &m.part}), "a_b__[31m___c");
    EXPECT_EQ(parsed("{part}").expand({"n", "1", &m.message, &m.part}), "_rf");
    EXPECT_EQ(parsed(".{k}/{k}").expand({"n", "1", nullptr, nullptr}), "_1_1");
    // A name kept from bytes that are not UTF-8 keeps them; a lone surrogate is no name.
    const QString raw = nameFromBytes("caf\xE9");
    EXPECT_EQ(bytesFromName(parsed("{name}").expand({raw, "1", nullptr, nullptr})), "caf\xE9");
    EXPECT_EQ(safeFileName(QStringLiteral("a") + QChar(0xD800) + "b"), "a_b");
}

TEST(NameTemplate, LongNamesAreCutOnACharacterBoundary)
{
    Message m = phoneMessage();
    // Two-byte letters and four-byte emoji are never split.
    m.message.subject = QString(150, QChar(0x436));
    EXPECT_EQ(parsed("{subject}").expand({"n", "1", &m.message, &m.part}),
              QString(100, QChar(0x436)));
    m.message.subject = QStringLiteral("ab") + QString::fromUcs4(U"😀").repeated(60);
    const QString emoji = parsed("{subject}").expand({"n", "1", &m.message, &m.part});
    EXPECT_EQ(emoji.toUtf8().size(), 198);
    EXPECT_TRUE(emoji.endsWith(QString::fromUcs4(U"😀")));
    EXPECT_EQ(bytesFromName(safeFileName(nameFromBytes(QByteArray(250, '\xFF')))).size(),
              MaxTemplatedNameBytes);
}

} // namespace
