#include "extract/ContainerFileScan.h"

#include "extract/FileErrors.h"
#include "extract/PatternSearch.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 ChunkSize = 256 * 1024;

// One of the two searches, carried from piece to piece.
struct Search
{
    QByteArray pattern; // lowered, as the buffer's search prepares it
    QVector<qint64> *offsets = nullptr;
    qint64 next = 0; // the first position not yet decided
};

QByteArray lowered(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out)
        c = static_cast<char>(TByteBuffer::lowercaseTable()[static_cast<unsigned char>(c)]);
    return out;
}

// Finds the matches lying wholly in the window [windowStart, windowStart + held).
void searchWindow(Search &search, const unsigned char *window, qint64 windowStart, qint64 held)
{
    const auto *pattern = reinterpret_cast<const unsigned char *>(search.pattern.constData());
    const auto count = static_cast<qint32>(search.pattern.size());
    for (;;) {
        const qint64 found = PatternSearch::find(window, search.next - windowStart, held - 1,
                                                 pattern, count, TByteBuffer::lowercaseTable());
        if (found < 0)
            break;
        search.offsets->append(windowStart + found);
        search.next = windowStart + found + count - 1;
    }
    // A match starting later may still run into the next piece.
    search.next = std::max(search.next, windowStart + held - (count - 1));
}

} // namespace

ContainerFileScan scanContainerFile(const QString &path)
{
    QFile file(path);
    const qint64 size = FileErrors::openForLoading(file, path);

    ContainerFileScan result;
    Search searches[] = {
        {lowered(RecordingScan::RecordingStartText), &result.scan.recordingStarts},
        {lowered(RecordingScan::TypeMarkerText), &result.scan.typeMarkers},
    };
    const qint64 overlap =
        std::max(RecordingScan::RecordingStartText.size(), RecordingScan::TypeMarkerText.size()) -
        1;

    QByteArray window(overlap + ChunkSize, Qt::Uninitialized);
    auto *bytes = reinterpret_cast<unsigned char *>(window.data());
    qint64 windowStart = 0;
    qint64 held = 0;
    qint64 total = 0;
    while (total < size) {
        const qint64 got = file.read(window.data() + held, std::min(ChunkSize, size - total));
        if (got < 0)
            throw FileErrors::cannotOpenFile(path, file.errorString());
        if (got == 0)
            break; // the file was shortened while being read: scan what it holds now
        held += got;
        total += got;
        for (Search &search : searches)
            searchWindow(search, bytes, windowStart, held);
        const qint64 keep = std::min(held, overlap);
        std::memmove(bytes, bytes + held - keep, static_cast<size_t>(keep));
        windowStart += held - keep;
        held = keep;
    }
    result.size = total;
    return result;
}
