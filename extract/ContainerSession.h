#pragma once

#include "extract/ByteBuffer.h"
#include "extract/InProcessClipboard.h"
#include "extract/RecordingExport.h"
#include "extract/RecordingScan.h"
#include "extract/analysis/AmrDecoder.h"
#include "extract/analysis/RecordingAnalysis.h"
#include "extract/encode/AudioEncoder.h"
#include "extract/encode/AudioTags.h"
#include "extract/encode/OutputFormat.h"
#include "extract/io/MappedWindow.h"
#include "extract/message/MessagePlacement.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

namespace vocafetch {

class ContainerSource;
class OutputFile;

// chosenName + "_" + k + "." + the format's extension: the file recording number k is saved as.
QString outputFileName(const QString &chosenName, int k, OutputKind kind);
// The tags of recording k's decoded file (k counted from 1), in the message part holding it
// when there is one (either may be null): title the part's name (else its location, else its
// id) without its extension, else
// "Запись_k"; artist the sender; album the subject, else the container's file name; the
// message's date and text.
AudioTags recordingTags(int k, const QString &containerPath, const MmsMessage *message,
                        const MmsPart *part);
// Whether a message date is one a file may be given as its time: from 1995-01-01 up to a day
// after now (clocks of phones that were never set say 1970 or 2080).
bool plausibleFileTime(qint64 secondsSinceEpoch);
// The MMS message a container file begins with, read from its first bytes alone (for a list of
// containers not yet scanned); nothing when it begins with none or cannot be read.
std::optional<MmsMessage> readContainerMessage(const QString &path);

// One container and everything the front ends do with it: its bytes, the scan as numbers,
// what each recording holds, and the one place that decides the bytes of a saved file. Both
// front ends read their containers mapped (any size, nothing copied): the window keeps one
// session and opens each container it is shown with openFileWithoutScan(), the command-line
// tool opens them with openMapped(). load() reads a container into the byte buffer instead.
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
    // The same with a source the caller opened (a block device, standard input, a stream
    // spooled into an unnamed file, or one whose stamp it keeps); path is the container's name.
    void openMapped(const QString &path, std::unique_ptr<ContainerSource> source);
    // The open without the scan, and the scan on its own, for tests of a file changing between.
    void openMappedWithoutScan(const QString &path);

    // Opens path mapped, as the window opens a container: a regular file only, refused with the
    // byte buffer's words ("Cannot open PATH. (REASON.)") when it is missing, a folder, a pipe,
    // a device or unreadable. The scan follows with rescan(). The previous container is
    // forgotten first, so a failed open leaves none.
    void openFileWithoutScan(const QString &path);
    // Makes the source openFileWithoutScan() reads path through; tests give one that fails or
    // that changes under the reader. An empty opener restores the plain open.
    using SourceOpener = std::function<std::unique_ptr<ContainerSource>(const QString &path)>;
    void setSourceOpener(SourceOpener opener) { m_sourceOpener = std::move(opener); }

    // The uncovered regions are searched for headerless recordings in pieces of at most this
    // many bytes from each region's start, each piece on its own: a run is never longer.
    static constexpr qint64 HeaderlessSearchPiece = qint64(256) << 20;

    // Whether the scans that follow also look for recordings that lost their "#!AMR": runs of
    // AMR speech frames where no signed recording's audio lies. They follow the signed
    // recordings, numbered on from them; the recording starts list only the signed ones.
    void setFindHeaderless(bool find) { m_findHeaderless = find; }
    const QVector<RecordingAnalysis> &headerless() const { return m_headerless; }

    // Loads the file into the source buffer and scans it; the previous container's scan and
    // analyses are forgotten first. Throws ExtractError with TByteBuffer::LoadFromFile's
    // messages when the file cannot be loaded, leaving no recordings.
    void load(const QString &path);
    // Scans the container again (the window runs the scan as a command of its own).
    void rescan();

    const QString &path() const { return m_path; }
    qint64 size() const;
    const ContainerScan &scan() const { return m_scan; }
    // Signed recordings, then headerless ones.
    int recordingCount() const { return m_scan.recordingCount() + int(m_headerless.size()); }
    // The bytes recording i's whole file holds. Throws ExtractError "List index out of bounds
    // (i)" when there is no recording i.
    ByteSpan range(int i) const;
    bool isHeaderless(int i) const { return i >= m_scan.recordingCount() && i < recordingCount(); }
    // Those bytes; without a copy from a loaded buffer (valid until the next load or write).
    QByteArray recordingBytes(int i) const;

    // The MMS messages the scan found around the recordings, in container order: the one the
    // container begins with, and those beginning at most MaxMessageDistance before a recording
    // that one of their parts holds. Found with every scan; never changes the recordings.
    const QVector<MmsMessage> &messages() const { return m_messages; }
    // The message carrying recording i and the part of it holding the recording; null when
    // there is none (a recording after the point where the container's own message could no
    // longer be read has the message without a part).
    const MmsMessage *messageOf(int i) const;
    const MmsPart *partOf(int i) const;
    // The same as indexes into messages() and that message's parts.
    RecordingMessage placementOf(int i) const;
    // The tags recording i's decoded file gets.
    AudioTags tagsOf(int i) const;
    // The time the files of recording i are given: its message's date when plausible.
    std::optional<qint64> fileTimeOf(int i) const;

    // What each recording holds, index-aligned with the recording starts; worked out on the
    // first call after a load.
    const QVector<RecordingAnalysis> &analyses();
    const RecordingAnalysis &analysis(int i);
    // The analyses of recordings first ... last - 1 alone, for working through many
    // recordings a stretch at a time; the same as the matching entries of analyses().
    QVector<RecordingAnalysis> analyseRange(qsizetype first, qsizetype last);

    // Exports recording i as kind into file, which the caller places (SaveRun places a run's
    // files together): every save of the window and the command line writes its bytes here.
    // Whole is the recording's range byte for byte (a headerless recording's clean cut: there
    // is no signature to start from); Clean the canonical header and the whole frames; a
    // decoded kind the audio encoded in its format. recording is recording i's analysis, needed
    // for every kind but Whole (worked out here when null). Throws ExtractError: OutOfBounds
    // when there is no recording i, Undecodable for an unknown header or a recording too long
    // for its format, NothingToConvert for a decoded kind of a recording without frames, and
    // the file's own failures.
    void ExportRecording(int i, OutputKind kind, OutputFile &file,
                         const RecordingAnalysis *recording = nullptr);

    // Recording i decoded into memory, for listening; its error says why when it cannot be.
    PcmAudio decodeToPcm(int i);

    // The buffer holding a loaded container.
    TByteBuffer &source() { return m_source; }
    const TByteBuffer &source() const { return m_source; }

private:
    // Forgets the previous container, its scan and analyses, before path is opened mapped.
    void forgetContainer(const QString &path);
    // The bytes [first, end) of the container into file.
    void copyRange(qint64 first, qint64 end, OutputFile &file) const;
    QByteArray bytes(qint64 first, qint64 end) const;
    // A mapped container's bytes [begin, begin + length) where the scan's last window holds
    // them, else null.
    const char *scannedBytes(qint64 begin, qint64 length) const;
    // The same bytes from the scan's last window when it holds them, else mapped into own.
    const char *mappedBytes(qint64 begin, qint64 length, MappedWindow &own) const;
    QVector<RecordingAnalysis> analyseMapped(qsizetype first, qsizetype last) const;
    void findHeaderless();
    void placeRecordingMessages();
    void placeInMapped(const QVector<qint64> &offsets, const QVector<int> &recordings);
    // Takes the messages placement found for the recordings named, one per offset it was given.
    void adopt(const MessagePlacement &placement, const QVector<int> &recordings);
    int adoptMessage(const MmsMessage &message);
    // Recording i's analysis with the bytes it needs, shifted so that they start at 0 (a
    // mapped container) or as they lie (a loaded one).
    QByteArray decodableBytes(const RecordingAnalysis &recording, RecordingAnalysis &shifted) const;
    void encode(QIODevice &out, OutputFormat format, const RecordingAnalysis &recording) const;

    QString m_path;
    std::unique_ptr<ContainerSource> m_mapped;
    SourceOpener m_sourceOpener;
    // The last window the scan mapped, kept while the container is open: the analyses, the
    // messages and the headerless search read a container that fits one window (a memory
    // card image, most containers) without mapping or copying its pages again.
    MappedWindow m_scanWindow;
    // The buffer's clipboard operations never reach the user's clipboard. Declared before the
    // buffer, which uses it.
    InProcessClipboard m_clipboard;
    TByteBuffer m_source{m_clipboard};
    ContainerScan m_scan;
    QVector<RecordingAnalysis> m_analyses;
    bool m_analysed = false;
    bool m_findHeaderless = false;
    QVector<RecordingAnalysis> m_headerless;
    QVector<MmsMessage> m_messages;
    // Index-aligned with the recordings; empty when no recording has a message.
    QVector<RecordingMessage> m_recordingMessages;
};

} // namespace vocafetch
