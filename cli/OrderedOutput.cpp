#include "cli/OrderedOutput.h"

#include "extract/io/DescriptorBudget.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <thread>
#include <vector>

namespace vocafetch {

OrderedOutput::OrderedOutput(Console &console, int count, QByteArray entrySeparator,
                             qint64 bufferLimit)
    : m_console(console), m_separator(std::move(entrySeparator)), m_slots(count),
      m_limit(bufferLimit)
{
}

void OrderedOutput::run(int jobs, const std::function<void(int)> &task)
{
    std::atomic<int> next{0};
    const auto worker = [&]() {
        // Tasks are taken in order, so the one whose turn it is is always being worked on.
        for (int index = next++; index < m_slots.size(); index = next++) {
            task(index);
            finish(index);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < std::min<int>(jobs, int(m_slots.size())); ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread &thread : threads)
        thread.join();
}

void OrderedOutput::write(int index, Stream stream, const QByteArray &text)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    Slot &slot = m_slots[index];
    if (m_turn == index) {
        lock.unlock();
        pass({text, stream});
        return;
    }
    slot.pending.append({text, stream});
    slot.bytes += text.size();
    if (slot.bytes < m_limit)
        return;
    // Kept enough: wait for this task's turn, when finish() has handed its text on.
    m_turnChanged.wait(lock, [&] { return m_turn == index; });
}

void OrderedOutput::finish(int index)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_slots[index].done = true;
    if (m_turn != index)
        return;
    // Hand the turn on, writing out what the following tasks kept, as far as they are done.
    while (m_turn < m_slots.size() && m_slots[m_turn].done) {
        ++m_turn;
        if (m_turn < m_slots.size()) {
            Slot &next = m_slots[m_turn];
            for (const Pending &piece : next.pending)
                pass(piece);
            next.pending.clear();
            next.bytes = 0;
        }
    }
    m_turnChanged.notify_all();
}

void OrderedOutput::pass(const Pending &piece)
{
    switch (piece.stream) {
    case Stream::Out:
        m_console.writeOut(piece.text);
        break;
    case Stream::OutEntry:
        m_console.writeOut(m_anyEntry ? m_separator + piece.text : piece.text);
        m_anyEntry = true;
        break;
    case Stream::Err:
        m_console.writeErr(piece.text);
        break;
    }
}

int jobCount(int requested)
{
    const int wanted =
        requested > 0 ? requested : int(std::max(1u, std::thread::hardware_concurrency()));
    // Each job holds a few descriptors (its container, its output folders, one waiting file at
    // least) beside the files all jobs keep waiting within half the limit: past this many jobs
    // they would run out.
    const std::optional<qint64> work = workDescriptors();
    if (!work)
        return wanted;
    const int most = int(std::min<qint64>(*work / 8, std::numeric_limits<int>::max()));
    return std::clamp(wanted, 1, std::max(1, most));
}

} // namespace vocafetch
