#include "extract/ByteBuffer.h"

#include "extract/ExtractError.h"
#include "extract/FileErrors.h"
#include "extract/PatternSearch.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vocafetch {

namespace {

constexpr qint64 IoBlockSize = 1 << 20;
const QString BackupExtension = QStringLiteral(".bak");
const QString DefaultName = QStringLiteral("Untitled");

std::array<unsigned char, 256> buildLowercaseTable()
{
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 32);
    // The Cyrillic 8-bit code page: its capitals and their small letters.
    for (int c = 0xC0; c <= 0xDF; ++c)
        table[c] = static_cast<unsigned char>(c + 32);
    const unsigned char pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                      {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                      {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                      {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto &pair : pairs)
        table[pair[0]] = pair[1];
    return table;
}

// Asks the system to back the large array's memory with huge pages where it can: reading a
// container into 4 KiB pages costs a fault per page, and searching it a miss of the address
// cache every few pages, which together took several times as long as the reading itself.
void preferHugePages(QByteArray &data)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr quintptr HugePage = quintptr(2) << 20;
    if (data.size() < qsizetype(2 * HugePage))
        return;
    const auto begin = reinterpret_cast<quintptr>(data.data());
    const quintptr first = (begin + HugePage - 1) & ~(HugePage - 1);
    const quintptr last = (begin + quintptr(data.size())) & ~(HugePage - 1);
    if (last > first)
        (void)madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
#endif
}

// Reads the whole file into a new array; throws the open-file message on a read error.
QByteArray readAll(QFile &file, const QString &path, qint64 size)
{
    QByteArray data;
    try {
        data = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
        throw FileErrors::cannotOpenFile(path, QStringLiteral("Not enough memory"));
    }
    preferHugePages(data);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(data.data() + done, std::min(IoBlockSize, size - done));
        if (got < 0)
            throw FileErrors::cannotOpenFile(path, file.errorString());
        if (got == 0)
            break; // the file was shortened while being read: keep what it holds now
        done += got;
    }
    data.truncate(done);
    return data;
}

} // namespace

const std::array<unsigned char, 256> &TByteBuffer::lowercaseTable()
{
    static const std::array<unsigned char, 256> table = buildLowercaseTable();
    return table;
}

TByteBuffer::TByteBuffer(Clipboard &clipboard) : m_clipboard(clipboard)
{
    CreateEmpty(DefaultName);
}

TByteBuffer::~TByteBuffer()
{
    const auto lastCopied = m_lastCopied.lock();
    if (!lastCopied || !m_clipboard.holds(lastCopied.get()))
        return;
    try {
        m_clipboard.clear();
    } catch (const ExtractError &) {
        // Nothing sensible to do while being destroyed.
    }
}

void TByteBuffer::LoadFromFile(const QString &path)
{
    const std::unique_ptr<QFile> opened =
        m_fileOpener ? m_fileOpener(path) : std::make_unique<QFile>(path);
    QFile &file = *opened;
    const qint64 size = FileErrors::openForLoading(file, path);
    const bool readOnly = !QFileInfo(path).isWritable();
    // The old bytes go first, so that two containers are never held at once; a failed read
    // leaves the buffer empty.
    m_data = QByteArray();
    m_selection = {};
    m_cursor = 0;
    m_data = readAll(file, path, size);
    m_readOnlyFile = readOnly;
    m_modified = false;
    m_fileName = path;
}

void TByteBuffer::CreateEmpty(const QString &placeholderName)
{
    m_data.clear();
    m_fileName = placeholderName.isEmpty() ? DefaultName : placeholderName;
    m_selection = {};
    m_modified = false;
    m_readOnlyFile = true;
    m_cursor = 0;
}

void TByteBuffer::SaveToFile(const QString &path, bool adopt)
{
    if (path == m_fileName) {
        if (m_readOnlyFile)
            throw ExtractError(QStringLiteral("Cannot save readonly file %1.").arg(m_fileName));
        if (m_modified && QFile::exists(m_fileName)) {
            // Copied rather than moved, so that a failed save keeps the file itself too.
            const QString backup = m_fileName + BackupExtension;
            QFile oldBackup(backup);
            if (oldBackup.exists() && !oldBackup.remove()) {
                throw ExtractError(
                    QStringLiteral("Cannot delete previous backup %1. (%2)")
                        .arg(backup, FileErrors::systemText(oldBackup.errorString())));
            }
            QFile current(m_fileName);
            if (!current.copy(backup)) {
                throw ExtractError(QStringLiteral("Cannot create backup %1. (%2)")
                                       .arg(backup, FileErrors::systemText(current.errorString())));
            }
        }
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileErrors::cannotCreateFile(path, file.errorString());
    for (qint64 done = 0; done < m_data.size();) {
        const qint64 wrote =
            file.write(m_data.constData() + done, std::min(IoBlockSize, m_data.size() - done));
        if (wrote <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            throw FileErrors::cannotCreateFile(path, reason);
        }
        done += wrote;
    }
    // A write the buffer took in but the disk then refused must fail here: commit() alone
    // would rename the short file into place.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileErrors::cannotCreateFile(path, reason);
    }
    if (!file.commit())
        throw FileErrors::cannotCreateFile(path, file.errorString());

    if (adopt) {
        m_modified = false;
        m_readOnlyFile = false;
        m_fileName = path;
    }
}

void TByteBuffer::moveCursor(qint32 position)
{
    m_selection = {};
    m_cursor = std::clamp<qint32>(position, 0, std::max(0, DataSize() - 1));
}

void TByteBuffer::SetSelStart(qint32 position)
{
    if (position < 0 || position >= DataSize())
        throw ExtractError(QStringLiteral("Invalid selection start"));
    moveCursor(position);
}

void TByteBuffer::SetSelEnd(qint32 position)
{
    if (position < -1 || position >= DataSize())
        throw ExtractError(QStringLiteral("Invalid selection end"));
    m_selection = {};
    if (position < 0)
        return;
    m_selection.anchor = m_cursor;
    m_selection.low = std::min(m_cursor, position);
    m_selection.high = std::min(std::max(m_cursor, position), DataSize() - 1);
}

qint32 TByteBuffer::SelCount() const
{
    return m_selection.isEmpty() ? 0 : m_selection.high - m_selection.low + 1;
}

void TByteBuffer::SelectAll()
{
    if (m_data.isEmpty())
        return;
    m_cursor = DataSize() - 1;
    m_selection = {0, 0, DataSize() - 1};
}

QByteArray TByteBuffer::PrepareFindData(const QByteArray &text, bool ignoreCase, bool isText)
{
    Q_UNUSED(isText); // no character translation is configured
    QByteArray pattern = text;
    if (ignoreCase) {
        const auto &lower = lowercaseTable();
        for (char &c : pattern)
            c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
    }
    return pattern;
}

qint32 TByteBuffer::Find(const QByteArray &pattern, qint32 count, qint32 start, qint32 end,
                         bool ignoreCase) const
{
    end = std::min(end, DataSize() - 1);
    if (count > pattern.size())
        return -1;
    const auto &table = ignoreCase ? lowercaseTable() : PatternSearch::identityTable();
    return static_cast<qint32>(PatternSearch::find(
        reinterpret_cast<const unsigned char *>(m_data.constData()), start, end,
        reinterpret_cast<const unsigned char *>(pattern.constData()), count, table));
}

bool TByteBuffer::CopyToClipboard()
{
    const qint32 count = SelCount();
    if (m_data.isEmpty() || count == 0)
        return false;
    const QByteArray bytes = count == DataSize() ? m_data : m_data.mid(m_selection.low, count);
    const QString name = QFileInfo(m_fileName).fileName().left(255);
    auto object =
        std::make_shared<const ClipboardData>(bytes, name, QDateTime::currentDateTimeUtc());
    m_clipboard.setData(object);
    m_lastCopied = object;
    return true;
}

bool TByteBuffer::CutToClipboard()
{
    const qint32 count = SelCount();
    if (m_data.isEmpty() || count == 0 || !CopyToClipboard())
        return false;
    const qint32 low = m_selection.low;
    if (count == DataSize())
        m_data = QByteArray();
    else
        m_data.remove(low, count);
    m_selection = {};
    m_cursor = m_data.isEmpty() ? 0 : std::min(low, DataSize() - 1);
    m_modified = true;
    return true;
}

bool TByteBuffer::PasteFromClipboard()
{
    const QStringList offered = m_clipboard.formats();
    if (offered.isEmpty())
        return false;
    QString chosen;
    for (const QString &format : ClipboardFormat::pastePriority()) {
        if (offered.contains(format)) {
            chosen = format;
            break;
        }
    }
    QByteArray bytes;
    if (chosen == ClipboardFormat::Private) {
        std::optional<QByteArray> block = readPrivateClipboardBlock(m_clipboard.data(chosen));
        if (!block)
            return false;
        bytes = std::move(*block);
    } else if (chosen == ClipboardFormat::Text || chosen == ClipboardFormat::OemText) {
        bytes = m_clipboard.data(chosen);
        const qsizetype zero = bytes.indexOf('\0');
        if (zero >= 0)
            bytes.truncate(zero);
    } else {
        return false; // no format this buffer can take
    }
    if (bytes.isEmpty() || qint64(m_data.size()) - SelCount() + bytes.size() > MaxDataSize)
        return false;
    insertAtCursor(bytes);
    return true;
}

void TByteBuffer::insertAtCursor(const QByteArray &bytes)
{
    const auto n = static_cast<qint32>(bytes.size());
    const bool replacing = !m_selection.isEmpty();
    const qint32 pos = replacing ? m_selection.low : m_cursor;
    if (replacing)
        m_data.replace(pos, SelCount(), bytes);
    else if (m_data.isEmpty())
        m_data = bytes; // shares the pasted bytes instead of copying them
    else
        m_data.insert(pos, bytes);
    const qint32 last = pos + n - 1;
    m_selection = {replacing ? last : pos, pos, last};
    m_cursor = last;
    m_modified = true;
}

} // namespace vocafetch
