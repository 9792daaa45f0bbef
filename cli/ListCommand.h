#pragma once

#include "cli/CommandLine.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <QVector>

struct ContainerFileScan;

// One recording as `list` shows it. New per-recording facts go here, into
// describeRecording() and into the two renderings.
struct RecordingListing
{
    int number = 0;    // k, from 1
    qint64 offset = 0; // of its "#!AMR"
    qint64 size = 0;   // bytes of the file extract writes for it
    // What the recording holds: format, frames, duration and where its audio ends.
    RecordingAnalysis analysis;

    QJsonObject toJson() const;
    QString toText() const;
};

// One container as `list` shows it; a container that failed carries only path and error.
struct ContainerListing
{
    QString path;
    qint64 size = 0;
    QVector<qint64> markers;
    QVector<RecordingListing> recordings;
    QString error;

    bool failed() const { return !error.isEmpty(); }
    QJsonObject toJson() const;
    QString toText() const;
};

RecordingListing describeRecording(const ContainerFileScan &container, int i,
                                   const RecordingAnalysis &analysis);
// Scans the container file piece by piece and analyses each recording from its own bytes (the
// file is never held in memory whole); a failure goes into the listing's error.
ContainerListing listContainer(const QString &path);

// Prints the listing of every container of the request; failures also go to err as
// "vocafetch-cli: PATH: MESSAGE". Returns the exit status: 0, or 1 when a container failed.
int runList(const CliRequest &request, QTextStream &out, QTextStream &err);
