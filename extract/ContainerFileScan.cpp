#include "extract/ContainerFileScan.h"

#include "extract/PatternSearch.h"

#include <algorithm>

namespace vocafetch {

namespace {

QByteArray lowered(const QByteArray &text)
{
    QByteArray out = text;
    for (char &c : out)
        c = static_cast<char>(TByteBuffer::lowercaseTable()[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

ContainerScanner::ContainerScanner()
    : m_searches{{lowered(RecordingScan::RecordingStartText), {}, &m_scan.recordingStarts, 0},
                 {lowered(RecordingScan::TypeMarkerText), {}, &m_scan.typeMarkers, 0}}
{
    for (Search &search : m_searches)
        search.first = PatternSearch::firstBytes(static_cast<unsigned char>(search.pattern.front()),
                                                 TByteBuffer::lowercaseTable());
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
                                                 TByteBuffer::lowercaseTable(), search.first);
        if (found < 0)
            break;
        search.offsets->append(windowStart + found);
        search.next = windowStart + found + count - 1;
    }
    // A match starting later may still run into the next window.
    search.next = std::max(search.next, windowStart + held - (count - 1));
}

ContainerScan scanMappedContainer(const ContainerSource &source, qint64 windowSize,
                                  MappedWindow *lastWindow)
{
    ContainerScanner scanner;
    source.forEachWindow(
        windowSize, ContainerScanner::overlap(),
        [&](const MappedWindow &window) {
            scanner.scanWindow(reinterpret_cast<const unsigned char *>(window.data()),
                               window.offset(), window.size());
        },
        lastWindow);
    return scanner.result();
}

} // namespace vocafetch
