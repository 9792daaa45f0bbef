#pragma once
// The error messages the skinned frame and title bar show when a setting is refused, with a
// seam so tests can take them instead of a modal box.

#include <QString>

#include <functional>
#include <stdexcept>

// Shows text in a message box with an error icon and an OK button, or hands it to the handler
// installed with SetSkinErrorHandler.
void ShowSkinError(const QString &text);
// Replaces the message box (an empty handler puts it back); returns the previous handler.
std::function<void(const QString &)> SetSkinErrorHandler(std::function<void(const QString &)> h);

// Thrown when a second skinned frame is created on one form.
class TsuiFormError : public std::runtime_error
{
public:
    explicit TsuiFormError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
