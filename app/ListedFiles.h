#pragma once

#include <QStringList>

namespace vocafetch {

// The files the container list shows for what is opened, dropped or named on the command line:
// a file (or a name that does not exist, whose load then says why) as itself, made absolute; a
// folder as every regular file below it, folder by folder, each folder's entries in the order
// of their names' bytes. A link to a file is listed; a link to a folder is walked unless its
// folder was walked already (so a link back up ends); pipes, devices and sockets, which hold no
// recording and could block a read, are left out. Names keep bytes that are not UTF-8.
QStringList filesToList(const QStringList &paths);

} // namespace vocafetch
