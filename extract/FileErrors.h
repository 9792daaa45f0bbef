#pragma once

#include "extract/ExtractError.h"

#include <QFile>
#include <QString>

// The file-operation failures of the extraction core, worded alike wherever they arise.
namespace FileErrors {

// A system error text as shown inside messages: no trailing blanks, control characters or
// full stops.
QString systemText(QString text);
// The path as messages show it in full: absolute, with native separators.
QString fullPath(const QString &path);

// "Cannot open PATH. (REASON.)" with the path as given; the window shows it on two lines.
ExtractError cannotOpen(const QString &path, const QString &reason);
// "Cannot open file "FULL PATH". REASON"
ExtractError cannotOpenFile(const QString &path, const QString &reason);
// The file exceeds the 2147483647 bytes that offsets can address.
ExtractError tooLarge(const QString &path, qint64 size);
// "Cannot create file "FULL PATH". REASON"
ExtractError cannotCreateFile(const QString &path, const QString &reason);

// The reason given for a container that is a pipe, a device or a socket.
extern const QString NotARegularFile;

// Opens the file a name gives (its bytes kept, extract/RawFileName.h) for reading and returns
// the descriptor; throws cannotOpen when it is missing, a folder, not a regular file or
// unreadable. Never waits on a pipe.
int openRegularFile(const QString &path);

// Opens a container for reading through openRegularFile() and gives its size; throws cannotOpen
// when it is missing, a folder, not a regular file (a pipe would block, a device may never end) or
// unreadable, and tooLarge when it exceeds 2147483647 bytes.
qint64 openForLoading(QFile &file, const QString &path);

} // namespace FileErrors
