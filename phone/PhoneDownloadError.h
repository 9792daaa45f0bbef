// The failure of a phone download, with an English message that names the file concerned.
#pragma once

#include <QString>

#include <stdexcept>

namespace vocafetch {

class PhoneDownloadError : public std::runtime_error
{
public:
    explicit PhoneDownloadError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vocafetch
