#include "extract/io/MappedAccessGuard.h"

#include "extract/io/IoErrors.h"

#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace vocafetch {

namespace {

// Where the innermost guard of this thread resumes; null outside every guard. Initial-exec TLS
// is a plain load from the thread pointer, safe to read in a signal handler.
__attribute__((tls_model("initial-exec"))) thread_local sigjmp_buf *t_resume = nullptr;

struct sigaction g_previous;

void forwardToPrevious(int signal, siginfo_t *info, void *context)
{
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // Default (or ignored, which cannot skip a fault): restore the default action and return,
    // so that the faulting access runs again and ends the process as it would have.
    struct sigaction defaults;
    std::memset(&defaults, 0, sizeof defaults);
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    sigaction(SIGBUS, &defaults, nullptr);
}

void onBusError(int signal, siginfo_t *info, void *context)
{
    if (sigjmp_buf *resume = t_resume)
        siglongjmp(*resume, 1);
    forwardToPrevious(signal, info, context);
}

void installHandlerOnce()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
}

// Kept out of line so that the jump buffer and the saved pointer live in this frame only.
__attribute__((noinline)) bool runUntilBusError(const std::function<void()> &pass)
{
    sigjmp_buf resume;
    sigjmp_buf *const outer = t_resume;
    // Save the signal mask: the handler runs with SIGBUS in it unless SA_NODEFER, and the jump
    // must leave the thread as it found it.
    if (sigsetjmp(resume, 1) != 0) {
        t_resume = outer;
        return false;
    }
    t_resume = &resume;
    try {
        pass();
    } catch (...) {
        t_resume = outer;
        throw;
    }
    t_resume = outer;
    return true;
}

} // namespace

void runMappedAccessGuarded(const QByteArray &path, const std::function<void()> &pass)
{
    installHandlerOnce();
    if (!runUntilBusError(pass))
        throw changedWhileRead(path);
}

} // namespace vocafetch
