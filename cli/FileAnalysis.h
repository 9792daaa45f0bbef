#pragma once

#include "RecordingAnalysis.h"

#include <QString>
#include <QVector>

// Analysing the recordings of a container file without loading it: the file is mapped into
// memory (the system pages in only what the frame walks touch), or, where it cannot be mapped,
// each recording's bytes are read on their own.

enum class FileAccess
{
    MapWherePossible,
    ReadEachRecording,
};

// Analyses the recordings starting at starts (ascending) in the first size bytes of the file
// at path; either access gives the same result. Throws ExtractError when the file cannot be
// opened.
QVector<RecordingAnalysis> analyseContainerFile(const QString &path, qint64 size,
                                                const QVector<qint32> &starts,
                                                FileAccess access = FileAccess::MapWherePossible);
