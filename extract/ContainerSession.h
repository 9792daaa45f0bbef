#pragma once

#include "extract/ByteBuffer.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/encode/AudioEncoder.h"
#include "extract/encode/AudioFormat.h"
#include "extract/analysis/RecordingAnalysis.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace vocafetch {

class ContainerSource;
class OutputFile;

// What a saved file of a recording holds.
enum class OutputKind
{
    Whole, // NAME_k.amr: the recording's whole range, byte for byte as it lies in the container
    Clean, // NAME_k.amr: the canonical storage header and the recording's whole frames only
    Wav,   // NAME_k.wav and so on: the audio decoded (16-bit mono) and encoded
    Flac,
    Opus,
    Mp3,
};

bool isDecoded(OutputKind kind);
// The format a decoded kind is encoded in.
AudioFormat audioFormatOf(OutputKind kind);
// The kind that saves in the format named ("amr", "wav", "flac", "opus", "mp3"); "amr" gives
// Clean when clean, else Whole. Nothing for another name.
std::optional<OutputKind> outputKindNamed(const QString &name, bool clean);

// chosenName + "_" + k + ".amr" (".wav", ...): the file recording number k is saved as.
QString outputFileName(const QString &chosenName, int k, OutputKind kind);
// The tags of recording k's decoded file: title "Запись_k", the container's file name as album.
AudioTags recordingTags(int k, const QString &containerPath);

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

    // Whether the scans that follow also look for recordings that lost their "#!AMR": runs of
    // AMR speech frames where no signed recording's audio lies. They follow the signed
    // recordings, numbered on from them; the recording starts list only the signed ones.
    void setFindHeaderless(bool find) { m_findHeaderless = find; }
    bool findsHeaderless() const { return m_findHeaderless; }
    const QVector<RecordingAnalysis> &headerless() const { return m_headerless; }

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
    // Signed recordings, then headerless ones.
    int recordingCount() const { return m_scan.recordingCount() + int(m_headerless.size()); }
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

    // Writes recording i as kind to path, replacing an existing file atomically. Whole (and
    // Clean, when the stored header is the canonical one) go through the buffers and their own
    // clipboard, as the export always has; decoded kinds decode the audio. A headerless
    // recording's Whole file is its clean cut: there is no signature to start from. Throws
    // ExtractError when there is no recording i, a decoded recording's header is not
    // recognised, or the file cannot be written.
    void write(int i, OutputKind kind, const QString &path);
    // Writes every recording as kind to chosenName + "_k...", replacing existing files: all are
    // written first, made durable with one flush, then given their names, so a failure leaves
    // none of them (and every file that was there intact). Throws ExtractError "Cannot create
    // file "PATH". REASON" for the first file that fails.
    void writeAll(OutputKind kind, const QString &chosenName);
    // Writes the same bytes into file, which the caller places (in a batch, never replacing).
    // recording is recording i's analysis, needed for every kind but Whole (a headerless
    // recording's own is used when it is null).
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
    void findHeaderless();
    // Recording i's analysis with the bytes it needs, shifted so that they start at 0 (a
    // mapped container) or as they lie (a loaded one).
    QByteArray decodableBytes(const RecordingAnalysis &recording, RecordingAnalysis &shifted) const;
    void encode(QIODevice &out, OutputKind kind, int i, const RecordingAnalysis &recording) const;
    bool isHeaderless(int i) const { return i >= m_scan.recordingCount(); }

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
    bool m_findHeaderless = false;
    QVector<RecordingAnalysis> m_headerless;
};


} // namespace vocafetch
