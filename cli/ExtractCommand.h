#pragma once

#include "cli/CommandLine.h"
#include "cli/ContainerInputs.h"
#include "extract/ContainerSession.h"

#include <QString>
#include <QStringList>

namespace vocafetch {

class Console;

// The files one container's extraction writes, decided before anything is written.
struct ExtractPlan
{
    QString chosenName; // DIR/NAME, to which "_k.amr" or "_k.wav" is appended
    vocafetch::OutputKind output;
    QStringList outputs; // one path per recording, in order
};

// DIR/NAME for a container: NAME is the prefix, or the container's file name without its
// last extension ("stdin" for standard input).
QString chosenNameFor(const ContainerInput &input, const QString &outputDir, const QString &prefix);
// The files of recordingCount recordings of which signedCount have their signature (the others
// were found without one): NAME_k from firstNumber on, then NAME_lost_j from firstHeaderless
// on (a prefix shared by several containers numbers on across them).
ExtractPlan planExtraction(int recordingCount, int signedCount, const QString &chosenName,
                           vocafetch::OutputKind output = {}, int firstNumber = 1,
                           int firstHeaderless = 1);

// Writes every container's recordings, byte for byte as the window's export does. Containers
// are scanned on several cores (a stream is first kept in an unnamed file in the output
// folder), then their files are named in the order the containers were given: without --force,
// a container whose files would replace any existing file writes nothing, and a file named for
// an earlier container of the run is never replaced; then the files are written, again on
// several cores, from the container as it was scanned: one that changed meanwhile fails.
// Failures go to stderr as "vocafetch-cli: PATH: MESSAGE" and the other containers still run;
// a recording that cannot be converted is reported and the others are written. Returns 0, or
// 1 when a container, a recording or standard output failed.
int runExtract(const CliRequest &request, Console &console);

} // namespace vocafetch
