#pragma once

#include "extract/ExtractError.h"
#include "extract/io/OutputFolder.h"
#include "extract/io/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QIODevice;

namespace vocafetch {

// One output file on its way to a name in a folder: written to an unnamed temporary in that
// folder first, and given its name only when whole, never replacing a file unless asked and
// never writing through a link at the name. A temporary that a killed writer left named is
// removed by the next save into that folder.

class OutputDevice;

// What placing does when the name is taken (by a file, a folder or a link, dangling or not).
enum class Placement
{
    KeepExisting,   // the name is left alone: PlaceOutcome::NameTaken
    ReplaceExisting // the name is replaced atomically (a link itself, never its target)
};

enum class PlaceOutcome
{
    Placed,
    NameTaken
};

class OutputFile
{
public:
    // How the bytes are held until placed: Automatic uses an unnamed O_TMPFILE and falls back
    // to Named (a hidden ".vocafetch-….tmp" created exclusively, never through a link) where
    // the file system has no unnamed temporaries.
    enum class Temporary
    {
        Automatic,
        Named
    };

    // Starts a file for name (one component, no '/') in folder. Throws ExtractError
    // "Cannot create "PATH": REASON" when the folder takes no new file.
    OutputFile(const OutputFolder &folder, const QByteArray &name,
               Temporary temporary = Temporary::Automatic);
    OutputFile(OutputFile &&other) noexcept;
    OutputFile &operator=(OutputFile &&other) noexcept;
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    // Discards the file unless it was placed.
    ~OutputFile();

    // Appends bytes; throws "Cannot write "PATH": REASON" (a full disk, a file size limit),
    // after which the file can only be discarded.
    void write(const char *data, qint64 size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    // Writes bytes at offset, for writers that go back to complete a header (device() does);
    // fails as write() does.
    void writeAt(qint64 offset, const char *data, qint64 size);
    // The bytes the file holds so far.
    qint64 writtenSize() const;
    // The file as an unbuffered device for writers that want one (an audio encoder); a failed
    // write there returns -1 and is reported again by finishWriting.
    QIODevice &device();
    // Throws when any write, through write() or device(), failed.
    void finishWriting();
    // The temporary's descriptor, open for reading and writing until the file is placed: for
    // work on the whole written file (its tags, its times).
    int descriptor() const noexcept { return m_fd.get(); }

    // Makes the written bytes durable with one fdatasync (a save of one file).
    void syncData();
    // Gives the file its name. NameTaken when something is at the name at that moment;
    // other failures throw. Closes the descriptor once placed.
    PlaceOutcome place(Placement placement);
    // Removes the temporary; nothing of the file is left. Safe to call more than once.
    void discard() noexcept;

    // The target as folder path + "/" + name.
    QByteArray path() const;
    const OutputFolder &folder() const noexcept { return m_folder; }
    const QByteArray &name() const noexcept { return m_name; }
    bool placed() const noexcept { return m_placed; }
    // Whether the bytes sit in a named temporary (the fallback) rather than an unnamed one.
    bool usesNamedTemporary() const noexcept { return !m_temporaryName.isEmpty(); }

    // Removes the hidden ".vocafetch-….tmp" temporaries in folder that no living writer holds:
    // what a writer killed between naming a temporary and placing it (a replacing placement,
    // the named fallback) left behind. A writer holds a lock on its temporary from before it
    // has a name until it is placed or discarded, so a running save, of this process or
    // another, is never touched. The first file started in a folder does this once per process.
    // Returns how many were removed.
    static int removeStaleTemporaries(const OutputFolder &folder);

private:
    void createNamedTemporary();
    int linkUnnamedAs(const QByteArray &target) const;
    PlaceOutcome placeKeeping();
    void placeReplacing();
    void closeDescriptor() noexcept;
    [[noreturn]] void fail(const ExtractError &error);

    OutputFolder m_folder;
    QByteArray m_name;
    UniqueFd m_fd;
    QByteArray m_temporaryName;
    std::unique_ptr<OutputDevice> m_device;
    bool m_failed = false;
    std::optional<ExtractError>
        m_failure; // the first write or sync error, given again by finishWriting
    bool m_placed = false;
};

} // namespace vocafetch
