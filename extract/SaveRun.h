#pragma once

#include "extract/ExtractError.h"
#include "extract/NameTemplate.h"
#include "extract/encode/OutputFormat.h"
#include "extract/io/OutputFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

namespace vocafetch {

// Saving recordings of a container into files: the one loop both front ends run, for a single
// recording or every one.

class ContainerSession;

// The file recording i of a session is saved as: chosenName + "_k" for the signed ones (k =
// i + 1), chosenName + "_lost_j" for the headerless ones (j counted from 1 after them, in
// container order), with the kind's extension.
QString savedFileName(const QString &chosenName, int i, int signedCount, OutputKind kind);
// The number those names give recording i, as a template's {k}: "k", or "lost_j" for a
// headerless one; several containers saved under one name number on from firstNumber and
// firstHeaderless.
QString recordingNumber(int i, int signedCount, int firstNumber = 1, int firstHeaderless = 1);
// The file name a template gives a recording (no folder), with the kind's extension.
QString templatedFileName(const NameTemplate &names, const RecordingNameFields &fields,
                          OutputKind kind);

struct SavePlan
{
    OutputKind kind;
    QByteArray folder;         // the output folder (raw bytes of its path)
    QByteArray subfolder;      // created below it when not empty ("a/b")
    QVector<int> recordings;   // the recordings saved, in order
    QVector<QByteArray> names; // their file names, index-aligned with recordings
    Placement placement = Placement::KeepExisting;
    // Each file gets the date of the message carrying its recording as its modification time
    // (when the date is plausible), as archivers restore the times they stored; otherwise, or
    // when false, the files keep the time they were written.
    bool restoreTimes = true;
};

// Every recording of session as kind, named after chosenName (a path: its folder is the output
// folder) as savedFileName gives.
SavePlan planSaveAll(const ContainerSession &session, OutputKind kind, const QString &chosenName);
// Recording i alone.
SavePlan planSaveOne(const ContainerSession &session, int i, OutputKind kind,
                     const QString &chosenName);

struct SaveControl
{
    // Called after each file is written (not yet named) with the count so far and the total.
    std::function<void(int written, int total)> progress;
    // Set from another thread to stop: the files written so far are still placed, whole.
    const std::atomic<bool> *cancel = nullptr;
};

struct SkippedRecording
{
    int recording = 0; // index
    ErrorKind kind = ErrorKind::Other;
    QString reason;
};

struct SaveOutcome
{
    int placed = 0;
    QVector<SkippedRecording> skipped; // recordings whose audio could not be converted
    QStringList problems;              // files not placed: a name taken meanwhile, a failure
    // The first file that failed, with the system's words, for a front end's own message.
    QString failedPath;
    QString failedReason;
    bool cancelled = false;
};

// Writes the plan's files, a stretch of recordings at a time, into a batch that makes them
// durable together, then names them (OutputBatch). A recording whose audio cannot be converted
// is skipped and reported; the others are written. Throws ExtractError when the output folder
// cannot be opened or a file cannot be written: files placed before stay, none is half-written.
SaveOutcome saveRecordings(ContainerSession &session, const SavePlan &plan,
                           const SaveControl &control = {});

} // namespace vocafetch
