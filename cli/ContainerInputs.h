#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace vocafetch {

// The containers a command works on: the files named, and with -r every file below the
// folders named. Names keep bytes that are not UTF-8 (extract/RawFileName.h).

struct ContainerInput
{
    QString path;
    // The folder below the named folder that holds it ("a/b"), empty for a named file: extract
    // mirrors it below its output folder.
    QString relativeFolder;
    bool foundInFolder = false; // met in a folder walk rather than named
    bool standardInput = false; // "-"
};

struct SkippedInput
{
    QString path;
    QString reason;
    bool failure = false; // it could not be read (a link or a pipe skipped is no failure)
};

// How folders are walked.
struct WalkOptions
{
    bool recursive = false;
    // Also tell of what is left out on purpose: links to folders walked under their own names,
    // the output folder.
    bool verbose = false;
    // A folder never walked into: the output folder of extract, so that a run does not read
    // what an earlier one wrote (raw path bytes; empty for none).
    QByteArray excludedFolder;
};

struct ContainerInputs
{
    QVector<ContainerInput> containers; // in the order named, each folder's files sorted by name
    QVector<SkippedInput> skipped;
};

// Without recursive every argument is a container, whatever it is (the command reports what it
// cannot read); "-" is standard input, read once. With recursive a folder is walked: regular
// files are containers; each real folder is walked once, under its own name: a link to a folder
// inside the folder named is not followed (its folder is walked where it lies), a link to a
// file inside it is; links leading out of it are not followed; what cannot be read, and pipes,
// devices and sockets, are skipped with a reason.
ContainerInputs collectInputs(const QStringList &arguments, const WalkOptions &options);

// The size of the file or block device a name gives, or 0 when it has none (a pipe) or cannot
// be found.
qint64 fileSize(const QString &name);

} // namespace vocafetch
