#include "cli/terminal.h"

#include <atomic>
#include <cstdio>
#include <io.h>
#include <windows.h>

namespace bm::cli {

namespace {

// The console runs the handler on a thread of its own.
std::atomic<bool> interrupted{false};

BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    // A second Ctrl-C falls through to the default handler, which ends the program.
    return interrupted.exchange(true) ? FALSE : TRUE;
}

} // namespace

void installInterruptHandler() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

bool interruptRequested() { return interrupted.load(); }

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

} // namespace bm::cli
