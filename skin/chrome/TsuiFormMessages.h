#pragma once
// The error messages the skinned frame and title bar show when a setting is refused, with a
// seam so tests can take them instead of a modal box.

#include "skin/style/SkinError.h"

#include <QString>

#include <functional>

namespace vocafetch {

// Shows text in a message box with an error icon and an OK button, or hands it to the handler
// installed with SetSkinErrorHandler.
void ShowSkinError(const QString &text);
// Replaces the message box (an empty handler puts it back); returns the previous handler.
std::function<void(const QString &)> SetSkinErrorHandler(std::function<void(const QString &)> h);

} // namespace vocafetch

// Thrown when a second skinned frame is created on one form.
class TsuiFormError : public vocafetch::SkinError
{
public:
    using SkinError::SkinError;
};
