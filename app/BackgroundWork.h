#pragma once
// Runs long work (loading and scanning a container) off the window's thread while the window
// keeps repainting and answers its close button.

#include <atomic>
#include <functional>

namespace vocafetch {

// Runs work on a thread of its own and returns when it is done, turning the event loop
// meanwhile: paints, timers and window-system events such as close go on; mouse and key input
// wait, so no command starts in between. An exception work throws is thrown again here.
void runOffWindowThread(const std::function<void()> &work);

// The same for work the user may stop: Escape sets cancel, which work reads now and then; other
// input waits as above.
void runCancellableOffWindowThread(const std::function<void()> &work, std::atomic<bool> &cancel);

} // namespace vocafetch
