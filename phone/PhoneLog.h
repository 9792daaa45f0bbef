// Logging category of the phone layer ("vocafetch.phone"); quiet unless enabled, e.g. with
// QT_LOGGING_RULES="vocafetch.phone.info=true".
#pragma once

#include <QLoggingCategory>

namespace vocafetch {

Q_DECLARE_LOGGING_CATEGORY(lcPhone)

} // namespace vocafetch
