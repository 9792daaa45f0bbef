#pragma once

#include "extract/ExtractError.h"

#include <QFile>
#include <QString>

#include <optional>

namespace vocafetch {

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

// What an opened container reads from.
enum class ContainerFileType
{
    Regular,
    BlockDevice, // a memory card, a disk, a loop device: mapped like a file, sized by the device
    Stream,      // a pipe or a terminal: read once, front to back, as the bytes come
};

struct OpenedContainer
{
    int fd = -1; // owned by the caller
    ContainerFileType type = ContainerFileType::Regular;
};

// The reason given for a container that can be neither mapped nor, where streams are read,
// read as a stream.
extern const QString NotMappableFile;
extern const QString NotReadableFile;

// Opens a container where rescuers read: a regular file or a block device, and with streams
// also a pipe. Never waits for a pipe's writer: a stream's descriptor is left non-blocking, to
// be polled. Throws cannotOpen when it is missing, a folder, a socket, a character device, a
// pipe without streams, or unreadable.
OpenedContainer openContainer(const QString &path, bool streams);
// The type of an open descriptor, or an empty value with refusal set to why it is none of them.
std::optional<ContainerFileType> containerFileType(int fd, bool streams, QString &refusal);
// The size of a block device in bytes, or -1 with errno set.
qint64 blockDeviceSize(int fd);

// Opens a container for reading through openRegularFile() and gives its size; throws cannotOpen
// when it is missing, a folder, not a regular file (a pipe would block, a device may never end) or
// unreadable, and tooLarge when it exceeds 2147483647 bytes.
qint64 openForLoading(QFile &file, const QString &path);

} // namespace FileErrors

} // namespace vocafetch
