#include "extract/NameTemplate.h"

#include <QDateTime>

namespace vocafetch {

namespace {

const QString Unknown = QStringLiteral("unknown");

// The escapes RawFileName gives the bytes of a name that are not UTF-8: one byte each.
bool isRawByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Characters that break a name or a command line: C0 and C1 controls, DEL, the line and
// paragraph separators, the slash, and a half of a surrogate pair that is not a kept byte.
bool isUnsafe(char32_t c)
{
    return c < 0x20 || c == '/' || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           (c >= 0xD800 && c <= 0xDFFF && !isRawByte(char16_t(c)));
}

int utf8Length(char32_t c)
{
    if (c < 0x80 || isRawByte(char16_t(c)))
        return 1;
    return c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// A message date as a UTC date and time; nothing when it is not one a name can show.
std::optional<QDateTime> dateOf(const MmsMessage *message)
{
    if (!message || !message->date)
        return std::nullopt;
    const QDateTime time = QDateTime::fromSecsSinceEpoch(*message->date, Qt::UTC);
    if (!time.isValid() || time.date().year() < 1 || time.date().year() > 9999)
        return std::nullopt;
    return time;
}

QString known(const QString &value)
{
    const QString trimmed = value.trimmed();
    return trimmed.isEmpty() ? Unknown : trimmed;
}

} // namespace

QStringList NameTemplate::fieldNames()
{
    return {QStringLiteral("name"), QStringLiteral("k"),    QStringLiteral("date"),
            QStringLiteral("time"), QStringLiteral("from"), QStringLiteral("subject"),
            QStringLiteral("part")};
}

std::optional<NameTemplate> NameTemplate::parse(const QString &text, QString &problem)
{
    static const Field fields[] = {Field::Name, Field::Number,  Field::Date, Field::Time,
                                   Field::From, Field::Subject, Field::Part};
    const QStringList names = fieldNames();
    NameTemplate parsed;
    if (text.isEmpty()) {
        problem = QStringLiteral("the name template is empty");
        return std::nullopt;
    }
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        if (open != at) {
            const qsizetype end = open < 0 ? text.size() : open;
            parsed.m_pieces.append({Field::Text, text.mid(at, end - at)});
            at = end;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0) {
            problem = QStringLiteral("the name template leaves a brace open: '%1'").arg(text);
            return std::nullopt;
        }
        const QString name = text.mid(open + 1, close - open - 1);
        const qsizetype index = names.indexOf(name);
        if (index < 0) {
            problem = QStringLiteral("the name template names an unknown field {%1} (fields: %2)")
                          .arg(name, QLatin1Char('{') + names.join(QLatin1String("}, {")) +
                                         QLatin1Char('}'));
            return std::nullopt;
        }
        parsed.m_pieces.append({fields[index], {}});
        at = close + 1;
    }
    return parsed;
}

QString NameTemplate::expand(const RecordingNameFields &fields) const
{
    const std::optional<QDateTime> date = dateOf(fields.message);
    QString name;
    for (const Piece &piece : m_pieces) {
        switch (piece.field) {
        case Field::Text:
            name += piece.text;
            break;
        case Field::Name:
            name += known(fields.name);
            break;
        case Field::Number:
            name += known(fields.number);
            break;
        case Field::Date:
            name += date ? date->toString(QStringLiteral("yyyy-MM-dd")) : Unknown;
            break;
        case Field::Time:
            name += date ? date->toString(QStringLiteral("HH-mm-ss")) : Unknown;
            break;
        case Field::From:
            name += known(fields.message ? fields.message->from : QString());
            break;
        case Field::Subject:
            name += known(fields.message ? fields.message->subject : QString());
            break;
        case Field::Part:
            name += known(fields.part ? partTitle(*fields.part) : QString());
            break;
        }
    }
    return safeFileName(name);
}

QString safeFileName(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    int bytes = 0;
    for (qsizetype i = 0; i < name.size();) {
        // A whole character: a surrogate pair counts as one.
        const bool pair =
            name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        const int units = pair ? 2 : 1;
        const char32_t c =
            pair ? QChar::surrogateToUcs4(name[i], name[i + 1]) : char32_t(name[i].unicode());
        const bool unsafe = isUnsafe(c) || (i == 0 && (c == '.' || c == '-'));
        const int length = unsafe ? 1 : utf8Length(c);
        if (bytes + length > MaxTemplatedNameBytes)
            break;
        bytes += length;
        if (unsafe)
            safe += QLatin1Char('_');
        else
            safe += name.mid(i, units);
        i += units;
    }
    return safe;
}

QString partTitle(const MmsPart &part)
{
    for (const QString &name : {part.name, part.location, part.contentId}) {
        const QString base = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
        // A name that is all extension (".amr") stays.
        const QString title = (dot > 0 ? base.left(dot) : base).trimmed();
        if (!title.isEmpty())
            return title;
    }
    return {};
}

} // namespace vocafetch
