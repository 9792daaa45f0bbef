#pragma once

#include "extract/PatternSearch.h"
#include "extract/RecordingScan.h"
#include "extract/io/ContainerSource.h"

namespace vocafetch {

// The scan of a container that arrives a window at a time (mapped window by window), in
// a small fixed amount of memory beyond the offsets found. Consecutive windows overlap by at
// least overlap() bytes, so a signature across a window's edge is found once.
class ContainerScanner
{
public:
    ContainerScanner();
    // The searches point into the scan they fill.
    ContainerScanner(const ContainerScanner &) = delete;
    ContainerScanner &operator=(const ContainerScanner &) = delete;

    static qint64 overlap();
    // window holds the container's bytes windowStart ... windowStart + length - 1.
    void scanWindow(const unsigned char *window, qint64 windowStart, qint64 length);
    const ContainerScan &result() const { return m_scan; }

private:
    // One of the two searches, carried from window to window.
    struct Search
    {
        QByteArray pattern; // lowered, as the buffer's search prepares it
        PatternSearch::FirstBytes first;
        QVector<qint64> *offsets;
        qint64 next; // the first position not yet decided
    };
    static void searchWindow(Search &search, const unsigned char *window, qint64 windowStart,
                             qint64 held);

    ContainerScan m_scan;
    Search m_searches[2];
};

// The scan of a mapped container, windowSize bytes mapped at a time (the last window may be
// shorter). Throws as ContainerSource::forEachWindow does. lastWindow, when given, receives the
// last window mapped: the reads that follow the scan find its pages mapped already.
ContainerScan scanMappedContainer(const ContainerSource &source,
                                  qint64 windowSize = ContainerSource::DefaultWindowSize,
                                  MappedWindow *lastWindow = nullptr);

} // namespace vocafetch
