#include "extract/ExtractError.h"

ExtractError::ExtractError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
