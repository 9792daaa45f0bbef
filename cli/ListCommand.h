#pragma once

#include "cli/CommandLine.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "extract/message/MmsMessage.h"

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
    // The message carrying it (an index into its container's messages, -1 for none) and the
    // part of that message holding it (null for none).
    int message = -1;
    const MmsPart *part = nullptr;

    // One line (no line end), and one compact JSON object appended to out.
    QByteArray toText() const;
    void appendJson(QByteArray &out) const;
};

// One message around recordings as `list` shows it: a line of text (no line end, its fields
// each made printable) and a compact JSON object; number counts from 1.
QByteArray messageText(int number, const MmsMessage &message);
QByteArray messageJson(const MmsMessage &message);

// Prints the listing of every container of the request as each is worked out: a container's
// recordings are analysed and written a stretch at a time, so memory does not grow with their
// number. Failures also go to stderr as "vocafetch-cli: PATH: MESSAGE". Returns the exit
// status: 0, or 1 when a container or a folder could not be read.
int runList(const CliRequest &request, Console &console);

} // namespace vocafetch
