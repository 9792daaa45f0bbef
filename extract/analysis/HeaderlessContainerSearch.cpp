#include "extract/analysis/HeaderlessContainerSearch.h"

#include <algorithm>

namespace vocafetch {

namespace {

// Signed recordings analysed at once.
constexpr qsizetype SignedStretch = 4096;

// The search region by region through one window of the container's bytes at a time.
class WindowedSearch
{
public:
    WindowedSearch(const HeaderlessContainer &container, const HeaderlessLimits &limits,
                   QVector<RecordingAnalysis> &runs)
        : m_container(container), m_search(limits), m_runs(runs)
    {
    }

    void searchRegion(qint64 begin, qint64 end)
    {
        begin = std::clamp<qint64>(begin, 0, m_container.size);
        end = std::clamp<qint64>(end, 0, m_container.size);
        const qint64 first = windowLength(m_container.window);
        const qint64 largest = windowLength(m_container.largestWindow);
        qint64 length = first;
        bool resumed = false; // the search had to stop at at
        for (qint64 at = begin; at < end;) {
            // Going on where a window ended: a window that begins there.
            if (resumed || m_data == nullptr || at < m_begin || at >= m_end)
                view(at, length);
            const qsizetype found = m_runs.size();
            qint64 resume = 0;
            const auto pass = [&] {
                resume = m_search.search(m_data, at - m_begin, std::min(end, m_end) - m_begin,
                                         end - m_begin, m_runs, resumed && length == largest);
            };
            if (m_container.guarded)
                m_container.guarded(pass);
            else
                pass();
            for (qsizetype i = found; i < m_runs.size(); ++i)
                shiftOffsets(m_runs[i], m_begin);
            // A window that begins where the last had to stop and ends before a run from
            // there does: one twice as long.
            length = resumed && m_begin + resume == at ? windowLength(2 * length) : first;
            resumed = true;
            at = m_begin + resume;
        }
    }

private:
    qint64 windowLength(qint64 length) const
    {
        return std::clamp<qint64>(length, 1, std::max<qint64>(m_container.largestWindow, 1));
    }

    void view(qint64 at, qint64 length)
    {
        m_begin = at;
        m_end = std::min(m_container.size, at + length);
        m_data = m_container.bytes(m_begin, m_end - m_begin);
    }

    const HeaderlessContainer &m_container;
    HeaderlessSearch m_search;
    QVector<RecordingAnalysis> &m_runs;
    const char *m_data = nullptr;
    qint64 m_begin = 0;
    qint64 m_end = 0;
};

} // namespace

QVector<RecordingAnalysis> findContainerHeaderless(const HeaderlessContainer &container,
                                                   const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> runs;
    WindowedSearch search(container, limits, runs);
    if (container.signedCount == 0)
        search.searchRegion(0, container.size);
    for (qsizetype first = 0; first < container.signedCount; first += SignedStretch) {
        const qsizetype last = std::min(container.signedCount, first + SignedStretch);
        const QVector<RecordingAnalysis> signedOnes = container.analyses(first, last);
        for (qsizetype i = 0; i < signedOnes.size(); ++i) {
            const RecordingAnalysis &recording = signedOnes[i];
            if (first + i == 0)
                search.searchRegion(0, recording.start);
            search.searchRegion(coveredEnd(recording), recording.limit);
        }
    }
    return runs;
}

} // namespace vocafetch
