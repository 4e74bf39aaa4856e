#pragma once

#include "cli/options.h"
#include "link/commport.h"

#include <QString>

namespace bm::cli {

class InterruptWatch;

// How a port answered: whether it opened and, when asked, the handshake.
struct PortCheck {
    QString name;   // "COM3", or the device path given
    QString device; // the device tried ("" when the number maps to nothing)
    OpenOutcome outcome = OpenOutcome::Missing;
    QString reason; // the system's words when the open failed
    bool accessDenied = false;
    bool answered = false;
};

// What a failed open means, in a few words; permission problems carry the
// hint to join the dialout group (Linux).
QString openFailureText(const PortCheck& check);

// Opens the chosen port on `port` (by COM number or by path) and notes the outcome.
PortCheck openChoice(CommPort& port, const PortChoice& choice);

// Asks the open port for the handshake, asked again on silence. False when
// nothing answered or the user interrupted.
bool probeTester(CommPort& port, const InterruptWatch& watch);

// Leaves `port` open on the tester: the port given, else the first of COM1 to
// COM16 that answers (said on stderr). kDone, or the exit status with the
// reason already on stderr.
int connectTester(CommPort& port, const PortChoice& choice, const InterruptWatch& watch);

} // namespace bm::cli
