#include "extract/ExtractError.h"

namespace vocafetch {

namespace {

// Messages are one line wherever they are shown: a log, a terminal, a JSON string.
QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

ExtractError::ExtractError(const QString &message, vocafetch::ErrorKind kind, const QString &path,
                           const QString &reason)
    : m_message(oneLine(message)), m_utf8(m_message.toUtf8()), m_kind(kind), m_path(path),
      m_reason(reason)
{
}

} // namespace vocafetch
