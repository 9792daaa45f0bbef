#pragma once
// The failure of reading a theme file, with a message naming the file and the reason. It stays
// inside the theme loader: its one public entry turns it into "the old theme stays".

#include <QString>

#include <stdexcept>

namespace vocafetch {

class ThemeError : public std::runtime_error
{
public:
    explicit ThemeError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vocafetch
