#pragma once

#include <QCoreApplication>
#include <QString>

namespace bm::cli {

// The tool's messages are translated in this one context.
struct Cli {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};

// What the tool's exit status tells a script.
enum ExitCode : int {
    kDone = 0,
    kBadUsage = 1,
    kNoTester = 2,   // none found, or the port cannot be opened
    kNoDatabase = 2, // history: the database cannot be opened or used, or is newer
    kIncomplete = 3, // records missing, the link lost, or the tester fell silent
    kInterrupted = 130,
};

// One line on standard error, prefixed with the program's name.
void complain(const QString& message);
// One line on standard error as it is.
void note(const QString& message);
// Bytes to standard output, flushed at once (a pipe reader sees each line).
void writeOut(const QByteArray& bytes);

} // namespace bm::cli
