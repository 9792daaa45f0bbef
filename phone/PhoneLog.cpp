#include "phone/PhoneLog.h"

Q_LOGGING_CATEGORY(lcPhone, "vocafetch.phone", QtWarningMsg)
