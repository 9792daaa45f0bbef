#pragma once

#include <functional>

namespace vocafetch {

// Runs work(t) for t = 0 ... threads - 1 at once: t = 0 on the calling thread, each other on a
// thread of its own. Once every one has ended, throws the first failure (the lowest t's) as it
// was thrown, so its kind still tells the caller what went wrong; a failure never ends the
// process or leaves a thread running. A work that fails should let the others know when they
// can stop early: they run to their end.
void runOnThreads(int threads, const std::function<void(int t)> &work);

} // namespace vocafetch
