#pragma once

#include "extract/ExtractError.h"

#include <QByteArray>
#include <QString>

namespace vocafetch {

// The failures of the file layer, worded alike: every message names the file in quotes.

// A path kept as raw bytes, shown in a message (bytes that are not UTF-8 show as U+FFFD).
QString displayPath(const QByteArray &path);
// "PATH" joined with a name inside it, as raw bytes.
QByteArray joinPath(const QByteArray &folder, const QByteArray &name);

// "Cannot ACTION "PATH": REASON" with REASON the system's text for errorNumber.
ExtractError systemError(const char *action, const QByteArray &path, int errorNumber);
// "Cannot ACTION "PATH": REASON" with a reason of our own.
ExtractError fileError(const char *action, const QByteArray &path, const QString &reason);
// ""PATH" changed while it was read": the file shrank or was replaced under a reader.
ExtractError changedWhileRead(const QByteArray &path);

} // namespace vocafetch
