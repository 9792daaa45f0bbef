#include "extract/analysis/HeaderlessContainerSearch.h"
#include "extract/analysis/WorkerThreads.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <thread>
#include <vector>

namespace vocafetch {

namespace {

// Signed recordings analysed at once.
constexpr qsizetype SignedStretch = 4096;
// Below this much to search, one thread does it all.
constexpr qint64 ParallelBytes = qint64(8) << 20;
constexpr unsigned MaxThreads = 4;

// The offsets [begin, end) of the region [regionBegin, regionEnd) where runs may start.
struct Piece
{
    qint64 regionBegin = 0;
    qint64 regionEnd = 0;
    qint64 begin = 0;
    qint64 end = 0;
};

// Searches pieces through one window of the container's bytes at a time.
class WindowedSearch
{
public:
    WindowedSearch(const HeaderlessContainer &container, const HeaderlessLimits &limits)
        : m_container(container), m_search(limits)
    {
    }

    // The runs that start in piece.begin ... piece.end - 1, as a search of the region from
    // piece.begin finds them; the last may end past the piece.
    void search(const Piece &piece, QVector<RecordingAnalysis> &runs)
    {
        const qint64 first = windowLength(m_container.window);
        const qint64 largest = windowLength(m_container.largestWindow);
        qint64 length = first;
        bool resumed = false; // the search had to stop at at
        for (qint64 at = piece.begin; at < piece.end;) {
            // Going on where a window ended: a window that begins there.
            if (resumed || m_data == nullptr || at < m_begin || at >= m_end)
                view(at, length);
            const qsizetype found = runs.size();
            qint64 resume = 0;
            const auto pass = [&] {
                resume = m_search.search(m_data, at - m_begin,
                                         std::min(piece.regionEnd, m_end) - m_begin,
                                         piece.regionEnd - m_begin, runs,
                                         resumed && length == largest, piece.end - m_begin);
            };
            if (m_container.guarded)
                m_container.guarded(pass);
            else
                pass();
            for (qsizetype i = found; i < runs.size(); ++i)
                shiftOffsets(runs[i], m_begin);
            // The next window begins where this one had to stop. The frames from there went
            // on to this window's end, so a window that ends no later cannot decide them
            // either: the first one doubled past it.
            at = m_begin + resume;
            length = first;
            while (length < largest && at + length <= m_end)
                length = windowLength(2 * length);
            resumed = true;
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
        m_data = m_container.bytes(m_begin, m_end - m_begin, m_buffer);
    }

    const HeaderlessContainer &m_container;
    HeaderlessSearch m_search;
    QByteArray m_buffer;
    const char *m_data = nullptr;
    qint64 m_begin = 0;
    qint64 m_end = 0;
};

// The searches of one thread each, kept from batch to batch.
class PieceSearches
{
public:
    PieceSearches(const HeaderlessContainer &container, const HeaderlessLimits &limits)
        : m_automatic(container.threads <= 0)
    {
        const unsigned threads =
            m_automatic ? std::clamp(std::thread::hardware_concurrency(), 1u, MaxThreads)
                        : unsigned(container.threads);
        for (unsigned t = 0; t < threads; ++t)
            m_searches.emplace_back(container, limits);
    }

    // The runs of each piece, searched on as many threads as there are searches.
    std::vector<QVector<RecordingAnalysis>> search(const std::vector<Piece> &pieces)
    {
        std::vector<QVector<RecordingAnalysis>> found(pieces.size());
        qint64 bytes = 0;
        for (const Piece &piece : pieces)
            bytes += piece.end - piece.begin;
        const size_t threads =
            m_automatic && bytes < ParallelBytes
                ? 1
                : std::min(m_searches.size(), std::max<size_t>(pieces.size(), 1));
        std::atomic<size_t> next{0};
        // The bytes could not be had (a file that shrank): the first failure, on this thread.
        runOnThreads(int(threads), [&](int t) {
            try {
                for (size_t p = next++; p < pieces.size(); p = next++)
                    m_searches[size_t(t)].search(pieces[p], found[p]);
            } catch (...) {
                next = pieces.size();
                throw;
            }
        });
        return found;
    }

    // The runs from where the pieces before left off, when a run of theirs ended inside this
    // piece, on this thread.
    QVector<RecordingAnalysis> searchFrom(qint64 from, const Piece &piece)
    {
        QVector<RecordingAnalysis> runs;
        m_searches.front().search({piece.regionBegin, piece.regionEnd, from, piece.end}, runs);
        return runs;
    }

private:
    bool m_automatic;
    std::deque<WindowedSearch> m_searches; // kept in place: a search is not moved
};

// Cuts region [begin, end) of the container into pieces.
void addPieces(std::vector<Piece> &pieces, qint64 begin, qint64 end,
               const HeaderlessContainer &container)
{
    begin = std::clamp<qint64>(begin, 0, container.size);
    end = std::clamp<qint64>(end, 0, container.size);
    const qint64 piece = std::max<qint64>(container.piece, 1);
    for (qint64 at = begin; at < end; at += piece)
        pieces.push_back({begin, end, at, std::min(end, at + piece)});
}

// Joins the pieces' runs into those one search of each region finds. What a search finds from an
// offset depends on that offset alone, so a piece searched from its start agrees with the
// region's search from where the pieces before left off when the piece's search stood there
// between runs: past the end of its runs before, and short of the offset it tried its next run
// from (which lies at most headerlessRunLead() before that run's start). Otherwise the piece is
// searched again from there (from its start, it is the region's search).
void joinPieces(const std::vector<Piece> &pieces, std::vector<QVector<RecordingAnalysis>> &found,
                PieceSearches &searches, QVector<RecordingAnalysis> &runs)
{
    qint64 leftOff = 0; // where the region's search goes on
    for (size_t p = 0; p < pieces.size(); ++p) {
        const Piece &piece = pieces[p];
        if (piece.begin == piece.regionBegin)
            leftOff = piece.begin;
        const QVector<RecordingAnalysis> &own = found[p];
        qsizetype from = 0;
        qint64 gap = piece.begin; // where the piece's search stood before its run from
        while (from < own.size() && own[from].start < leftOff) {
            gap = own[from].audioEnd;
            ++from;
        }
        const bool agrees = leftOff == piece.begin ||
                            (gap <= leftOff && (from == own.size() ||
                                                own[from].start - headerlessRunLead() >= leftOff));
        const QVector<RecordingAnalysis> taken =
            agrees ? own.mid(from) : searches.searchFrom(leftOff, piece);
        runs += taken;
        leftOff = std::max(piece.end, taken.isEmpty() ? leftOff : taken.last().audioEnd);
    }
}

} // namespace

QVector<RecordingAnalysis> findContainerHeaderless(const HeaderlessContainer &container,
                                                   const HeaderlessLimits &limits)
{
    QVector<RecordingAnalysis> runs;
    PieceSearches searches(container, limits);
    std::vector<Piece> pieces;
    const auto searchPieces = [&] {
        std::vector<QVector<RecordingAnalysis>> found = searches.search(pieces);
        joinPieces(pieces, found, searches, runs);
        pieces.clear();
    };
    if (container.signedCount == 0)
        addPieces(pieces, 0, container.size, container);
    for (qsizetype first = 0; first < container.signedCount; first += SignedStretch) {
        const qsizetype last = std::min(container.signedCount, first + SignedStretch);
        const QVector<RecordingAnalysis> signedOnes = container.analyses(first, last);
        for (qsizetype i = 0; i < signedOnes.size(); ++i) {
            const RecordingAnalysis &recording = signedOnes[i];
            if (first + i == 0)
                addPieces(pieces, 0, recording.start, container);
            addPieces(pieces, coveredEnd(recording), recording.limit, container);
        }
        searchPieces();
    }
    searchPieces();
    return runs;
}

} // namespace vocafetch
