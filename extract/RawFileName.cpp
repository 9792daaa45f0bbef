#include "extract/RawFileName.h"

namespace vocafetch {

namespace {

constexpr char16_t EscapeBase = 0xDC80;

bool isEscape(QChar c)
{
    return c.unicode() >= EscapeBase && c.unicode() <= EscapeBase + 0x7F;
}

// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when it is not one.
int utf8SequenceLength(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return quint8(bytes[k]); };
    const quint8 lead = at(i);
    int length = 0;
    quint32 min = 0;
    quint32 code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (at(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString nameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            // Bytes below 0x80 are always valid, so the escape covers 0x80 ... 0xFF.
            name.append(QChar(char16_t(EscapeBase + (quint8(bytes[i]) - 0x80))));
            ++i;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return name;
}

QByteArray bytesFromName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isEscape(name[i]))
            continue;
        bytes.append(name.mid(runStart, i - runStart).toUtf8());
        if (i < name.size())
            bytes.append(char(0x80 + (name[i].unicode() - EscapeBase)));
        runStart = i + 1;
    }
    return bytes;
}

QString displayName(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown)
        if (isEscape(c))
            c = QChar::ReplacementCharacter;
    return shown;
}

bool hasRawBytes(const QString &name)
{
    for (QChar c : name)
        if (isEscape(c))
            return true;
    return false;
}

} // namespace vocafetch
