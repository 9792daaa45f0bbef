#pragma once

#include "cli/ContainerInputs.h"
#include "extract/io/ContainerSource.h"
#include "extract/io/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace vocafetch {

// How a container named on the command line is read: mapped where it lies (a regular file, a
// block device such as a memory card, standard input redirected from either) or as a stream
// (a pipe, standard input from a pipe or a terminal), which can be read only once.
struct InputSource
{
    std::unique_ptr<vocafetch::ContainerSource> mapped;
    vocafetch::UniqueFd stream; // valid when the container is a stream
};

// Opens input without waiting for a pipe's writer. Throws ExtractError "Cannot open PATH.
// (REASON.)" for what is none of them (a folder, a socket, a character device) or cannot be
// opened.
InputSource openInput(const ContainerInput &input);

// Reads a stream to its end, handing each piece read (1 MiB at most) to take. Waits for a
// pipe's writer, as cat does. Throws ExtractError "Cannot read "PATH": REASON".
void readStream(int fd, const QString &path,
                const std::function<void(const char *data, qint64 length)> &take);

// Keeps a stream's bytes in an unnamed file in folder, for commands that read a container more
// than once; the system removes the file when its last descriptor closes, even when the program
// is killed. advance is told of each piece kept. Throws ExtractError "Cannot keep "PATH" in
// "FOLDER": REASON".
vocafetch::UniqueFd spoolStream(int fd, const QString &path, const QByteArray &folder,
                                const std::function<void(qint64 length)> &advance);

// A second descriptor of an open file, closed on exec.
vocafetch::UniqueFd duplicate(int fd);

} // namespace vocafetch
