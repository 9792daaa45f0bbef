#include "phone/PhoneLog.h"

namespace vocafetch {

Q_LOGGING_CATEGORY(lcPhone, "vocafetch.phone", QtWarningMsg)

} // namespace vocafetch
