#pragma once

#include <QStringList>

#include <optional>

namespace bm {

// The window's command line: --help and --version, nothing of its own besides.

// Names the program and its version for Qt (usable before any application object).
void setApplicationIdentity();

// Answers --help and --version before QApplication exists, since they must work
// without a display. Returns the exit code when the program should stop here.
std::optional<int> answerWithoutDisplay(int argc, char** argv);

// Once QApplication has taken its own options (-platform, -style, ...), rejects
// whatever is left. Returns the exit code when the program should stop here.
std::optional<int> rejectUnexpectedArguments(const QStringList& arguments);

} // namespace bm
