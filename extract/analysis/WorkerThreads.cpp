#include "extract/analysis/WorkerThreads.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace vocafetch {

void runOnThreads(int threads, const std::function<void(int t)> &work)
{
    threads = std::max(threads, 1);
    std::vector<std::exception_ptr> failures(static_cast<size_t>(threads));
    const auto run = [&](int t) {
        try {
            work(t);
        } catch (...) {
            failures[size_t(t)] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads - 1));
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(run, t);
    run(0);
    for (std::thread &worker : workers)
        worker.join();
    for (const std::exception_ptr &failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

} // namespace vocafetch
