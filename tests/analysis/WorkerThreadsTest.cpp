// Work on several threads: every share runs once, and a failure on any thread, of any kind,
// comes back to the caller as it was thrown once all have ended, instead of ending the process.
#include "extract/analysis/WorkerThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace vocafetch;

TEST(WorkerThreads, EveryShareRunsOnceAndTheFirstFailureComesBackAsThrown)
{
    std::vector<std::atomic<int>> runs(5);
    std::vector<std::thread::id> ids(5);
    runOnThreads(5, [&](int t) {
        ++runs[size_t(t)];
        ids[size_t(t)] = std::this_thread::get_id();
    });
    for (const std::atomic<int> &count : runs)
        EXPECT_EQ(count, 1);
    EXPECT_EQ(ids[0], std::this_thread::get_id());
    EXPECT_NE(ids[3], std::this_thread::get_id());

    // Failures on two worker threads, of kinds no caller expects: the lower share's, after the
    // others ran to their end.
    std::atomic<int> finished{0};
    try {
        runOnThreads(4, [&](int t) {
            if (t == 3)
                throw std::out_of_range("three");
            if (t == 2)
                throw std::length_error("two");
            ++finished;
        });
        ADD_FAILURE() << "no failure came back";
    } catch (const std::length_error &error) {
        EXPECT_STREQ(error.what(), "two");
    }
    EXPECT_EQ(finished, 2);

    // No threads asked for: the work still runs, once, here.
    int here = 0;
    runOnThreads(0, [&](int t) { here += t + 1; });
    EXPECT_EQ(here, 1);
}
