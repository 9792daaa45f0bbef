#pragma once

#include "cli/CommandLine.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>

class ScannedContainer;
class TByteBuffer;

// What each file an extraction writes holds.
enum class ExtractOutput
{
    Whole, // NAME_k.amr: the recording's whole range, as the window's export writes it
    Clean, // NAME_k.amr: from its "#!AMR" up to its audio end only
    Wav,   // NAME_k.wav: the audio decoded to 16-bit mono PCM
};

// The files one container's extraction writes, decided before anything is written.
struct ExtractPlan
{
    QString chosenName; // DIR/NAME, to which "_k.amr" or "_k.wav" is appended
    ExtractOutput output = ExtractOutput::Whole;
    QStringList outputs; // one path per recording, in order
    // Clean and Wav: each recording's analysis, in order.
    QVector<RecordingAnalysis> analyses;
};

// DIR/NAME for a container: NAME is the prefix, or the container's file name without its
// last extension.
QString chosenNameFor(const QString &containerPath, const QString &outputDir,
                      const QString &prefix);
ExtractPlan planExtraction(const ScannedContainer &container, const QString &chosenName,
                           ExtractOutput output = ExtractOutput::Whole);
// chosenName + "_" + k + ".wav"
QString wavFileName(const QString &chosenName, int k);
// Writes plan.outputs[i] from recording i: the one place that decides a file's bytes. output
// must be built on container.clipboard().
void writeRecording(ScannedContainer &container, TByteBuffer &output, const ExtractPlan &plan,
                    int i);

// Writes every container's recordings, byte for byte as the window's export does. Without
// --force, a container whose files would replace any existing file writes nothing; files written
// earlier in the same run are never replaced. Failures go to err as "vocafetch-cli: PATH:
// MESSAGE" and the other containers still run. Returns 0, or 1 when a container failed.
int runExtract(const CliRequest &request, QTextStream &out, QTextStream &err);
