#pragma once

#include "cli/CommandLine.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QByteArray>
#include <QString>

namespace vocafetch {

class Console;

// One recording as `list` shows it: a line of text or a JSON object.
struct RecordingListing
{
    int number = 0;    // k, from 1
    qint64 offset = 0; // of its "#!AMR"
    qint64 size = 0;   // bytes of the file extract writes for it
    // What the recording holds: format, frames, duration and where its audio ends.
    RecordingAnalysis analysis;

    // One line (no line end) and one compact JSON object.
    QByteArray toText() const;
    QByteArray toJson() const;
};

// Prints the listing of every container of the request as each is worked out: a container's
// recordings are analysed and written a stretch at a time, so memory does not grow with their
// number. Failures also go to stderr as "vocafetch-cli: PATH: MESSAGE". Returns the exit
// status: 0, or 1 when a container or a folder could not be read.
int runList(const CliRequest &request, Console &console);

} // namespace vocafetch
