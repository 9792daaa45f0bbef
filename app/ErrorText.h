#pragma once

#include <QString>

namespace vocafetch {

class ExtractError;

// The words the window shows for a failure of the core, in the window's language: one text per
// kind of failure with its file and the system's reason filled in. The core's own message (in
// English, as the command line prints it) is shown for a kind without words of its own and for
// a failure that names no file where its words need one.
QString errorText(const ExtractError &error);

} // namespace vocafetch
