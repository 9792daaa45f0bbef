#include "extract/ContainerFileScan.h"

#include "extract/FileErrors.h"
#include "extract/PatternSearch.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {

constexpr qint64 ChunkSize = 256 * 1024;

QByteArray lowered(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out)
        c = static_cast<char>(TByteBuffer::lowercaseTable()[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

namespace vocafetch {

ContainerScanner::ContainerScanner()
    : m_searches{{lowered(RecordingScan::RecordingStartText), &m_scan.recordingStarts, 0},
                 {lowered(RecordingScan::TypeMarkerText), &m_scan.typeMarkers, 0}}
{
}

qint64 ContainerScanner::overlap()
{
    return std::max(RecordingScan::RecordingStartText.size(),
                    RecordingScan::TypeMarkerText.size()) -
           1;
}

void ContainerScanner::scanWindow(const unsigned char *window, qint64 windowStart, qint64 length)
{
    for (Search &search : m_searches)
        searchWindow(search, window, windowStart, length);
}

void ContainerScanner::searchWindow(Search &search, const unsigned char *window, qint64 windowStart,
                                    qint64 held)
{
    const auto *pattern = reinterpret_cast<const unsigned char *>(search.pattern.constData());
    const auto count = static_cast<qint32>(search.pattern.size());
    // Matches wholly inside the window, from the first position not yet decided.
    for (;;) {
        const qint64 from = std::max<qint64>(search.next - windowStart, 0);
        const qint64 found = PatternSearch::find(window, from, held - 1, pattern, count,
                                                 TByteBuffer::lowercaseTable());
        if (found < 0)
            break;
        search.offsets->append(windowStart + found);
        search.next = windowStart + found + count - 1;
    }
    // A match starting later may still run into the next window.
    search.next = std::max(search.next, windowStart + held - (count - 1));
}

} // namespace vocafetch

ContainerFileScan scanContainerFile(const QString &path)
{
    // Read piece by piece, so any size is fine.
    QFile file;
    const int fd = FileErrors::openRegularFile(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw FileErrors::cannotOpen(path, file.errorString());
    }
    const qint64 size = file.size();

    ContainerFileScan result;
    vocafetch::ContainerScanner scanner;
    const qint64 overlap = vocafetch::ContainerScanner::overlap();

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
        scanner.scanWindow(bytes, windowStart, held);
        const qint64 keep = std::min(held, overlap);
        std::memmove(bytes, bytes + held - keep, static_cast<size_t>(keep));
        windowStart += held - keep;
        held = keep;
    }
    result.size = total;
    result.scan = scanner.result();
    return result;
}
