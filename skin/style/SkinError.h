#pragma once
// The exception the skin throws: a std::runtime_error that keeps its English message as a
// QString for the message box that shows it.

#include <QString>

#include <stdexcept>

namespace vocafetch {

class SkinError : public std::runtime_error
{
public:
    explicit SkinError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vocafetch
