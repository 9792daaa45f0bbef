#pragma once
// The sample theme shipped in themes/: an amber and graphite look that none of the built-in
// styles has, written as a theme file with its bitmaps beside it.

#include <QString>

namespace art {

// Writes amber.theme and its PNG files into folder; false with a message in *error on failure.
bool writeSampleTheme(const QString &folder, QString *error);

} // namespace art
