#pragma once

#include "extract/analysis/RecordingAnalysis.h"

#include <QFile>
#include <QString>
#include <QVector>

#include <thread>

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
                                                const QVector<qint64> &starts,
                                                FileAccess access = FileAccess::MapWherePossible);

// Analyses a container file's recordings while the caller still scans it: a worker on another
// core finds the recording starts in a memory map of the file and analyses them, and results()
// keeps that work when the scan found the same starts (otherwise it analyses them anew).
class RecordingAnalysisAhead
{
public:
    explicit RecordingAnalysisAhead(const QString &path);
    ~RecordingAnalysisAhead();
    RecordingAnalysisAhead(const RecordingAnalysisAhead &) = delete;
    RecordingAnalysisAhead &operator=(const RecordingAnalysisAhead &) = delete;

    // The analyses of the recordings at starts in the first size bytes, as
    // analyseContainerFile() gives them. Throws ExtractError when the file cannot be opened.
    QVector<RecordingAnalysis> results(qint64 size, const QVector<qint64> &starts);

private:
    void findAndAnalyse();
    void finish();

    QString m_path;
    QFile m_file;
    const uchar *m_map = nullptr;
    qint64 m_mapSize = 0;
    std::thread m_worker;
    QVector<qint64> m_starts;
    QVector<RecordingAnalysis> m_analyses;
};
