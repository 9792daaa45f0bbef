#pragma once

#include "extract/ByteBuffer.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Writing the recordings of a scanned container to files, one ".amr" per recording start.

// The bytes of recording i, both ends included.
struct RecordingRange
{
    qint64 first = 0;
    qint64 last = -1;
    qint64 size() const { return last - first + 1; }
};

// Recording i runs from its start s_i up to s_(i+1) - 1, just before the next recording's "#";
// the last one runs to the container's last byte. Throws ExtractError
// "List index out of bounds (%1)" with i when the list has no entry i.
RecordingRange recordingRange(const QVector<qint64> &recordingStarts, int i, qint64 containerSize);

// chosenName + "_" + k + ".amr": "rec" gives "rec_1.amr", "rec.amr" gives "rec.amr_1.amr".
QString recordingFileName(const QString &chosenName, int k);

// Carries bytes first ... last of sourceBuffer into outputBuffer through their clipboard, as
// ExportRange does before it saves: outputBuffer then holds exactly those bytes. The caller
// empties the clipboard when done.
void TransferRange(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer, qint32 first, qint32 last);

// Writes bytes first ... last of sourceBuffer to path, replacing an existing file atomically.
// The bytes go through the buffers' clipboard: outputBuffer's previous bytes are cut away, the
// range is copied from sourceBuffer and pasted into outputBuffer, outputBuffer saves and adopts
// the file, and the clipboard is emptied. Both buffers must share one InProcessClipboard, so the
// user's system clipboard is never replaced or emptied. Afterwards sourceBuffer selects the range
// with the cursor on first. Throws ExtractError when the range is not in sourceBuffer, the bytes
// do not reach outputBuffer or the file cannot be written (messages of TByteBuffer).
void ExportRange(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer, qint32 first, qint32 last,
                 const QString &path);

// Writes recording i of the container in sourceBuffer to recordingFileName(chosenName, i + 1),
// as ExportRange does. Throws ExtractError when the file cannot be written (messages of
// TByteBuffer) or i is not a listed recording.
void ExportRecording(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                     const QVector<qint64> &recordingStarts, int i, const QString &chosenName);

// Exports every listed recording i = 0 ... N - 1 in order. Stops at the first failure,
// keeping the files already written; returns the paths written.
QStringList exportAllRecordings(TByteBuffer &sourceBuffer, TByteBuffer &outputBuffer,
                                const QVector<qint64> &recordingStarts, const QString &chosenName);
