#include "cli/TextOutput.h"

#include "extract/RawFileName.h"

namespace vocafetch {

QString counted(qint64 n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

QString printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        switch (code) {
        case u'\\':
            shown += QLatin1String("\\\\");
            continue;
        case u'\n':
            shown += QLatin1String("\\n");
            continue;
        case u'\r':
            shown += QLatin1String("\\r");
            continue;
        case u'\t':
            shown += QLatin1String("\\t");
            continue;
        default:
            break;
        }
        // C0, DEL and C1: the last are read as terminal controls by some terminals too.
        if (code < 0x20 || (code >= 0x7f && code < 0xa0))
            shown += QStringLiteral("\\x%1").arg(unsigned(code), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QByteArray shownPath(const QString &path)
{
    return printable(vocafetch::displayName(path)).toUtf8();
}

QByteArray errorLine(const QString &path, const QString &message)
{
    return "vocafetch-cli: " + shownPath(path) + ": " + printable(message).toUtf8() + '\n';
}

QByteArray errorLine(const QString &message)
{
    return "vocafetch-cli: " + printable(message).toUtf8() + '\n';
}

} // namespace vocafetch
