#pragma once

#include "extract/ByteBuffer.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>

namespace vocafetch {

class ContainerSource;
class OutputFile;

// What a saved file of a recording holds.
enum class OutputKind
{
    Whole, // NAME_k.amr: the recording's whole range, byte for byte as it lies in the container
    Clean, // NAME_k.amr: from its "#!AMR" up to its audio end only
    Wav,   // NAME_k.wav: the audio decoded to 16-bit mono PCM
};

// chosenName + "_" + k + ".amr" (or ".wav"): the file recording number k is saved as.
QString outputFileName(const QString &chosenName, int k, OutputKind kind);

// One container and everything the front ends do with it: its bytes, the scan as numbers,
// what each recording holds, and the one place that decides the bytes of a saved file. The
// window keeps one session and loads each container it is shown into the byte buffer; the
// command-line tool maps its containers instead (any size, nothing copied).
class ContainerSession
{
public:
    ContainerSession();
    // Loads and scans path; throws ExtractError as load() does.
    explicit ContainerSession(const QString &path);
    ~ContainerSession();
    ContainerSession(const ContainerSession &) = delete;
    ContainerSession &operator=(const ContainerSession &) = delete;

    // Opens path for reading where it lies, of any size, and scans it a mapped window at a
    // time; the byte buffers stay empty. Throws ExtractError when the file cannot be opened, is
    // not a regular file, or changes while it is read.
    void openMapped(const QString &path);
    // The open without the scan, and the scan on its own, for tests of a file changing between.
    void openMappedWithoutScan(const QString &path);
    bool isMapped() const { return m_mapped != nullptr; }

    // Loads the file into the source buffer and scans it; the previous container's scan and
    // analyses are forgotten first. Throws ExtractError with TByteBuffer::LoadFromFile's
    // messages when the file cannot be loaded, leaving no recordings.
    void load(const QString &path);
    // The two steps of load(), for the window, which runs the scan as a command of its own.
    void loadWithoutScan(const QString &path);
    void rescan();

    const QString &path() const { return m_path; }
    qint64 size() const;
    const ContainerScan &scan() const { return m_scan; }
    int recordingCount() const { return m_scan.recordingCount(); }
    // The bytes recording i's whole file holds. Throws ExtractError "List index out of bounds
    // (i)" when there is no recording i.
    RecordingRange range(int i) const;
    // Those bytes; without a copy from a loaded buffer (valid until the next load or write).
    QByteArray recordingBytes(int i) const;

    // What each recording holds, index-aligned with the recording starts; worked out on the
    // first call after a load.
    const QVector<RecordingAnalysis> &analyses();
    const RecordingAnalysis &analysis(int i);
    // The analyses of recordings first ... last - 1 alone, for working through many
    // recordings a stretch at a time; the same as the matching entries of analyses().
    QVector<RecordingAnalysis> analyseRange(qsizetype first, qsizetype last);

    // Writes recording i as kind to path, replacing an existing file atomically. Whole and
    // Clean go through the buffers and their own clipboard, as the export always has; Wav
    // decodes the audio. Throws ExtractError when there is no recording i, a Wav recording's
    // header is not recognised, or the file cannot be written.
    void write(int i, OutputKind kind, const QString &path);
    // Writes the same bytes into file, which the caller places (in a batch, never replacing).
    // recording is recording i's analysis, needed for every kind but Whole.
    void writeTo(int i, OutputKind kind, const RecordingAnalysis *recording, OutputFile &file);

    // The buffer holding the container, and the one a recording passes through to its file.
    TByteBuffer &source() { return m_source; }
    const TByteBuffer &source() const { return m_source; }
    TByteBuffer &output() { return m_output; }

private:
    // The bytes [first, end) of the container into file.
    void copyRange(qint64 first, qint64 end, OutputFile &file) const;
    QByteArray bytes(qint64 first, qint64 end) const;
    QVector<RecordingAnalysis> analyseMapped(qsizetype first, qsizetype last) const;

    QString m_path;
    std::unique_ptr<ContainerSource> m_mapped;
    // Recordings travel between the buffers through a clipboard of their own, so a save never
    // touches the user's clipboard. Declared before the buffers, which use it.
    InProcessClipboard m_clipboard;
    TByteBuffer m_source{m_clipboard};
    TByteBuffer m_output{m_clipboard};
    ContainerScan m_scan;
    QVector<RecordingAnalysis> m_analyses;
    bool m_analysed = false;
};

// An error message on one line ("Cannot open X.\r\n(...)" becomes "Cannot open X. (...)").
QString oneLine(const QString &message);

} // namespace vocafetch
