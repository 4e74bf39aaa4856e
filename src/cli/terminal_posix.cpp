#include "cli/terminal.h"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace bm::cli {

namespace {

// A signal handler may only touch a lock-free flag of this type.
volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) { interrupted = 1; }

} // namespace

void installInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // The first signal is ours; the handler then reverts to the default, so a
    // second Ctrl-C ends a program that does not stop soon enough.
    action.sa_flags = SA_RESETHAND;
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
}

bool interruptRequested() { return interrupted != 0; }

bool stderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

} // namespace bm::cli
