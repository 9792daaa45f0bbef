#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The containers a command works on: the files named, and with -r every file below the
// folders named. Names keep bytes that are not UTF-8 (extract/RawFileName.h).

struct ContainerInput
{
    QString path;
    // The folder below the named folder that holds it ("a/b"), empty for a named file: extract
    // mirrors it below its output folder.
    QString relativeFolder;
    bool foundInFolder = false; // met in a folder walk rather than named
};

struct SkippedInput
{
    QString path;
    QString reason;
    bool failure = false; // it could not be read (a link or a pipe skipped is no failure)
};

struct ContainerInputs
{
    QVector<ContainerInput> containers; // in the order named, each folder's files sorted by name
    QVector<SkippedInput> skipped;
};

// Without recursive every argument is a container, whatever it is (the command reports what it
// cannot read). With recursive a folder is walked: regular files are containers; links are
// followed only when they lead to a place inside the folder named (and each folder is walked
// once); what cannot be read, and pipes, devices and sockets, are skipped with a reason.
ContainerInputs collectInputs(const QStringList &arguments, bool recursive);

// The size of the file a name gives, or 0 when it cannot be found.
qint64 fileSize(const QString &name);
