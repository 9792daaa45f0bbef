#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <new>

// The one failure type of the extraction core. Every operation that fails throws an
// ExtractError carrying the exact message the user is shown (e.g. "Invalid selection start").
// message() gives it as QString; what() gives the same text encoded in UTF-8.
class ExtractError : public std::exception
{
public:
    explicit ExtractError(const QString &message);

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

namespace vocafetch {

// Runs work and gives the message of the failure that stopped it on one line (an ExtractError's,
// or "out of memory"), or an empty string when it did not fail: for front ends that report a
// failure per container and go on with the next.
template <class Work> QString failureOf(Work &&work)
{
    try {
        work();
        return {};
    } catch (const ExtractError &error) {
        QString line = error.message();
        line.replace(QLatin1String("\r\n"), QLatin1String(" "));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return line;
    } catch (const std::bad_alloc &) {
        return QStringLiteral("out of memory");
    }
}

} // namespace vocafetch
