// Reading the fields of a phone file-list entry.
#pragma once

#include "phone/p2kapi.h"

#include <QByteArray>
#include <QtGlobal>

namespace vocafetch {

// The entry's path: its bytes up to the first zero byte, or all 504 when there is none.
QByteArray phoneEntryPath(const TPhoneFileEntry &entry);

// The entry's size as the library wrote it (little-endian, may be negative).
qint32 phoneEntrySize(const TPhoneFileEntry &entry);

} // namespace vocafetch
