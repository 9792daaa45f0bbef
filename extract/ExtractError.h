#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

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
