#pragma once

#include "cli/CommandLine.h"
#include "extract/ContainerSession.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>

// The files one container's extraction writes, decided before anything is written.
struct ExtractPlan
{
    QString chosenName; // DIR/NAME, to which "_k.amr" or "_k.wav" is appended
    vocafetch::OutputKind output = vocafetch::OutputKind::Whole;
    QStringList outputs; // one path per recording, in order
};

// DIR/NAME for a container: NAME is the prefix, or the container's file name without its
// last extension.
QString chosenNameFor(const QString &containerPath, const QString &outputDir,
                      const QString &prefix);
ExtractPlan planExtraction(const vocafetch::ContainerSession &container, const QString &chosenName,
                           vocafetch::OutputKind output = vocafetch::OutputKind::Whole);

// Writes every container's recordings, byte for byte as the window's export does. Without
// --force, a container whose files would replace any existing file writes nothing; files written
// earlier in the same run are never replaced. Failures go to err as "vocafetch-cli: PATH:
// MESSAGE" and the other containers still run. Returns 0, or 1 when a container failed.
int runExtract(const CliRequest &request, QTextStream &out, QTextStream &err);
