#pragma once

#include "cli/Console.h"

#include <QByteArray>
#include <QVector>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace vocafetch {

// Runs count tasks on up to jobs threads and passes what each writes to the console in task
// order, so the output is the same whatever the number of threads. The task whose turn it is
// writes straight through; the others keep their text until their turn, and a task that has
// kept bufferLimit bytes waits for it, so memory stays bounded however long a listing is.
class OrderedOutput
{
public:
    enum class Stream
    {
        Out,
        Err,
        // Standard output, the start of an entry of a list: preceded by entrySeparator unless
        // it is the first entry that reaches the console.
        OutEntry,
    };

    OrderedOutput(Console &console, int count, QByteArray entrySeparator = ",",
                  qint64 bufferLimit = 8 << 20);

    // Calls task(index) for every index from 0 on, jobs at a time (at least one).
    void run(int jobs, const std::function<void(int)> &task);

    // What task index writes; call only from that task.
    void write(int index, Stream stream, const QByteArray &text);

private:
    struct Pending
    {
        QByteArray text;
        Stream stream;
    };
    struct Slot
    {
        QVector<Pending> pending;
        qint64 bytes = 0;
        bool done = false;
    };

    void finish(int index);
    void pass(const Pending &piece);

    Console &m_console;
    QByteArray m_separator;
    // Only pass() reads and writes it, and passing happens in task order, one at a time.
    bool m_anyEntry = false;
    QVector<Slot> m_slots;
    qint64 m_limit;
    int m_turn = 0;
    std::mutex m_mutex;
    std::condition_variable m_turnChanged;
};

// Threads for a request's --jobs: the count given, or one per core; no more than the open-file
// limit leaves descriptors for.
int jobCount(int requested);

} // namespace vocafetch
