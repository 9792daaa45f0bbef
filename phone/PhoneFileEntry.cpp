#include "phone/PhoneFileEntry.h"

#include <QtEndian>

namespace vocafetch {

QByteArray phoneEntryPath(const TPhoneFileEntry &entry)
{
    const auto length = qstrnlen(entry.Path, sizeof(entry.Path));
    return QByteArray(entry.Path, static_cast<qsizetype>(length));
}

qint32 phoneEntrySize(const TPhoneFileEntry &entry)
{
    return qFromLittleEndian<qint32>(&entry.Size);
}

} // namespace vocafetch
