#pragma once

#include "extract/Clipboard.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QFile;

namespace vocafetch {

// An in-memory byte store with a cursor, an inclusive selection, a byte-pattern search that can
// ignore the case of letters, and copy / cut / paste through a Clipboard. The window keeps two:
// one holding the loaded container, one carrying a recording on its way to disk.
//
// Positions are signed 32-bit byte indices from 0. Every failure throws ExtractError with one of
// these messages (system texts come without trailing blanks, control characters and full stops):
//   "Cannot open %1. (%2.)"             load: file missing or not readable (path as passed)
//   "Cannot open file \"%1\". %2"       load: the file fails to open or read (full path)
//   "Cannot open file \"%1\". The file is %2 bytes long; at most 2147483647 bytes can be loaded"
//                                       load: the file is too large; the buffer is unchanged
//   "Cannot create file \"%1\". %2"     save: the file cannot be written (full path)
//   "Cannot save readonly file %1."     save under its own name while ReadOnlyFile()
//   "Cannot delete previous backup %1. (%2)", "Cannot create backup %1. (%2)"
//                                       save under its own name: the ".bak" step failed
//   "Invalid selection start"           SetSelStart outside 0 ... DataSize() - 1
//   "Invalid selection end"             SetSelEnd outside -1 ... DataSize() - 1
//   whatever the Clipboard throws       copy / cut: the clipboard content cannot be set
// A failed call leaves cursor, selection and data unchanged (a failed read empties the data).
class TByteBuffer
{
public:
    // The selection's three indices; all -1 when nothing is selected. Otherwise
    // 0 <= low <= high <= DataSize() - 1 and bytes low ... high are selected.
    struct Selection
    {
        qint32 anchor = -1;
        qint32 low = -1;
        qint32 high = -1;
        bool isEmpty() const { return low < 0; }
    };

    static constexpr qint64 MaxDataSize = 2147483647;

    // The buffer uses the clipboard for copy, cut and paste; it must outlive the buffer.
    // Starts empty, as after CreateEmpty("Untitled").
    explicit TByteBuffer(Clipboard &clipboard);
    // Takes the buffer's own data object off the clipboard if it is still there.
    ~TByteBuffer();
    TByteBuffer(const TByteBuffer &) = delete;
    TByteBuffer &operator=(const TByteBuffer &) = delete;

    // Replaces the data with the file's bytes; cursor to 0, no selection, Modified cleared,
    // FileName := path, ReadOnlyFile := whether the file cannot be written. The file is only read.
    void LoadFromFile(const QString &path);
    // Makes the QFile that LoadFromFile reads path through; tests give one whose reads fail.
    // An empty opener restores plain QFile.
    using FileOpener = std::function<std::unique_ptr<QFile>(const QString &path)>;
    void setFileOpener(FileOpener opener) { m_fileOpener = std::move(opener); }
    // Empties the buffer: FileName := name (or "Untitled" when empty), ReadOnlyFile := true,
    // Modified cleared, no selection, cursor 0. Nothing on disk is touched.
    void CreateEmpty(const QString &placeholderName);
    // Writes all bytes to path atomically (a temporary file in the same folder, then a rename):
    // on failure no partial file is left and an existing file is intact. With adopt, the buffer
    // takes path as its FileName and clears Modified and ReadOnlyFile. Saving under the
    // buffer's own FileName first keeps a copy of a modified file's old version as FileName +
    // ".bak".
    void SaveToFile(const QString &path, bool adopt);

    qint32 DataSize() const { return static_cast<qint32>(m_data.size()); }
    const QByteArray &Data() const { return m_data; }
    const QString &FileName() const { return m_fileName; }
    bool ReadOnlyFile() const { return m_readOnlyFile; }
    bool Modified() const { return m_modified; }

    // The cursor: never below 0 and never above max(0, DataSize() - 1).
    qint32 CursorPosition() const { return m_cursor; }
    // Drops the selection and moves the cursor to position.
    void SetSelStart(qint32 position);
    // Selects from the cursor to position, both included; -1 only drops the selection.
    // The cursor does not move.
    void SetSelEnd(qint32 position);
    Selection CurrentSelection() const { return m_selection; }
    // high - low + 1, or 0 without a selection.
    qint32 SelCount() const;
    // Selects 0 ... DataSize() - 1 with the cursor on the last byte; nothing when empty.
    void SelectAll();

    // The pattern Find compares: text lowered (A-Z to a-z and the 8-bit letters of the Cyrillic
    // code page) when ignoreCase is set. isText would enable character translation, which this
    // buffer does not use; it changes nothing.
    QByteArray PrepareFindData(const QByteArray &text, bool ignoreCase, bool isText);
    // The first s in start ... end - count + 1 where the count first bytes of pattern match
    // data[s ...] (each data byte lowered first when ignoreCase), or -1. end is clipped to
    // DataSize() - 1; nothing beyond end is read. -1 also when count < 1, count exceeds the
    // pattern's length or start < 0. Same results as a byte-by-byte scan, found faster.
    qint32 Find(const QByteArray &pattern, qint32 count, qint32 start, qint32 end,
                bool ignoreCase) const;

    // Puts a data object with the selected bytes on the clipboard. False (clipboard untouched)
    // when the buffer is empty or nothing is selected.
    bool CopyToClipboard();
    // CopyToClipboard, then deletes the selected bytes: the cursor goes to the old low end
    // (or the new last byte, or 0 when emptied), the selection is dropped, Modified is set.
    bool CutToClipboard();
    // Inserts the clipboard's bytes at the cursor, or replaces the selection with them, then
    // selects them with the cursor on the last one and sets Modified. Takes the first offered
    // format of ClipboardFormat::pastePriority() and pastes it when it is the private block
    // with a valid header or plain 8-bit text (up to its first zero byte); false otherwise.
    bool PasteFromClipboard();

    Clipboard &clipboard() const { return m_clipboard; }

    // The case table Find uses with ignoreCase: entry i is the lower case of byte i.
    static const std::array<unsigned char, 256> &lowercaseTable();

private:
    void moveCursor(qint32 position);
    void insertAtCursor(const QByteArray &bytes);

    Clipboard &m_clipboard;
    FileOpener m_fileOpener;
    QByteArray m_data;
    QString m_fileName;
    bool m_readOnlyFile = true;
    bool m_modified = false;
    qint32 m_cursor = 0;
    Selection m_selection;
    // Only to recognise the object later; holding it would keep a stale copy of the bytes.
    std::weak_ptr<const ClipboardData> m_lastCopied;
};

} // namespace vocafetch
