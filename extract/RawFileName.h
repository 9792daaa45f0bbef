#pragma once

#include <QByteArray>
#include <QString>

namespace vocafetch {

// File names as the system stores them: bytes, not always valid UTF-8 (a name written by an
// old phone or a Windows code page). Qt's own conversion replaces the invalid bytes, so such a
// file could not be opened again by its QString name. Here every byte survives: the valid UTF-8
// parts decode as usual and each byte that is not UTF-8 becomes a lone surrogate U+DC80 + byte,
// which no valid name contains; the way back restores the bytes exactly.

QString nameFromBytes(const QByteArray &bytes);
QByteArray bytesFromName(const QString &name);
// The name for people to read: each byte that is not UTF-8 shown as U+FFFD.
QString displayName(const QString &name);
// Whether the name holds bytes that are not UTF-8.
bool hasRawBytes(const QString &name);

} // namespace vocafetch
