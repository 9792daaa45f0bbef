#pragma once

#include <QString>
#include <QStringList>

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
    QStringList files;
    // list
    bool json = false;
    // extract
    QString outputDir; // "." unless -o
    QString prefix;    // empty: each container's own name
    bool force = false;
    bool clean = false; // each file from its "#!AMR" up to its audio end only
    bool wav = false;   // decoded to NAME_k.wav instead of NAME_k.amr (audio only)
    // ShowHelp / ShowVersion: the text to print; UsageError: what is wrong
    QString text;
};

// arguments include the program name first, as QCoreApplication::arguments() gives them.
CliRequest parseCommandLine(const QStringList &arguments);
