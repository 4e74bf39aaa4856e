#pragma once

// What the tool needs of the operating system's console; one file per platform.
namespace bm::cli {

// From now on Ctrl-C (and, on Unix, SIGTERM and SIGHUP) only sets a flag the
// event loop polls, so a download can end cleanly and write what arrived. A
// second Ctrl-C ends the program at once, for when that takes too long.
void installInterruptHandler();
bool interruptRequested();

// Whether standard error is a terminal (so a progress line is wanted).
bool stderrIsTerminal();

} // namespace bm::cli
