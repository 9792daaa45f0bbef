#pragma once

#include <QString>

namespace vocafetch {

// Names the program shows for itself: in the task bar, in message-box captions and in the
// main window's caption.
namespace AppInfo {
inline const QString Title = QStringLiteral("Vocafetch");
} // namespace AppInfo

} // namespace vocafetch
