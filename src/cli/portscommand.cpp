#include "cli/portscommand.h"

#include "cli/cli.h"
#include "cli/interruptwatch.h"
#include "cli/testerport.h"
#include "link/portmap.h"

#include <QList>

namespace bm::cli {

namespace {

constexpr int kLastPort = 16;

QString stateText(const PortCheck& check, bool probed)
{
    if (check.outcome != OpenOutcome::Opened)
        return openFailureText(check);
    if (!probed)
        return Cli::tr("free");
    return check.answered ? Cli::tr("free, the tester answers") : Cli::tr("free, no answer");
}

// The ports to look at: the one given, else COM1 to COM16 that map to a device.
QList<PortChoice> candidates(const PortChoice& given)
{
    if (given.given())
        return {given};
    QList<PortChoice> all;
    const PortMapInput map = currentPortMapInput();
    for (int n = 1; n <= kLastPort; ++n) {
        if (!portDevice(n, map).isEmpty())
            all.append(PortChoice{n, {}});
    }
    return all;
}

} // namespace

int runPorts(const PortsOptions& options, const InterruptWatch& watch)
{
    int listed = 0, answering = 0, opened = 0;
    for (const PortChoice& choice : candidates(options.port)) {
        CommPort port;
        PortCheck check = openChoice(port, choice);
        // A number whose device is not there has no line, unless asked for by name.
        if (check.outcome == OpenOutcome::Missing && !options.port.given())
            continue;
        if (check.outcome == OpenOutcome::Opened && options.probe)
            check.answered = probeTester(port, watch);
        if (watch.requested())
            return kInterrupted;
        port.close();
        ++listed;
        opened += check.outcome == OpenOutcome::Opened ? 1 : 0;
        answering += check.answered ? 1 : 0;
        writeOut(QStringLiteral("%1\t%2\t%3\n")
                     .arg(check.name, check.device, stateText(check, options.probe))
                     .toLocal8Bit());
    }
    if (listed == 0)
        note(Cli::tr("No serial ports found."));
    // The one port asked for must open (and answer, when probed).
    if (options.port.given() && opened == 0)
        return kNoTester;
    if (options.probe && answering == 0) {
        complain(Cli::tr("no tester answers"));
        return kNoTester;
    }
    return kDone;
}

} // namespace bm::cli
