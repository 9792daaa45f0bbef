#pragma once

#include "extract/NameTemplate.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vocafetch {

// What the user asked vocafetch-cli to do, read from its arguments with QCommandLineParser.
struct CliRequest
{
    enum class Action
    {
        List,
        Extract,
        ShowHelp,
        ShowVersion,
        UsageError
    };

    Action action = Action::UsageError;
    // Containers and, with recursive, folders; names keep bytes that are not UTF-8 (see
    // extract/RawFileName.h).
    QStringList files;
    bool recursive = false;
    int jobs = 0;            // containers worked on at once; 0: one per core
    bool quiet = false;      // no progress line
    bool verbose = false;    // also name the files without recordings
    bool headerless = false; // also look for recordings that lost their "#!AMR" header
    // list
    bool json = false;
    // extract
    QString outputDir; // "." unless -o
    QString prefix;    // empty: each container's own name
    bool force = false;
    bool clean = false; // each file from its "#!AMR" up to its audio end only
    // A name of the output format table (extract/encode/OutputFormat.h), in lower case: "amr"
    // (the recording's bytes) or a format the audio is decoded into; --wav is "wav".
    QString format = QStringLiteral("amr");
    // --name: the files named by this template of the message's fields instead of NAME_k.
    std::optional<NameTemplate> names;
    // The files get the date of the message around their recording (--no-times: not).
    bool restoreTimes = true;
    // ShowHelp / ShowVersion: the text to print; UsageError: what is wrong
    QString text;
};

// arguments include the program name first; argumentsFromArgv() makes them from main()'s
// arguments without losing bytes that are not UTF-8.
CliRequest parseCommandLine(const QStringList &arguments);
QStringList argumentsFromArgv(int argc, char **argv);

} // namespace vocafetch
