#include "cli/testerport.h"

#include "cli/cli.h"
#include "cli/interruptwatch.h"
#include "link/handshakeprobe.h"

#include <QList>

namespace bm::cli {

namespace {

constexpr int kLastPort = 16;

QString where(const PortCheck& check)
{
    return check.device.isEmpty() || check.device == check.name
               ? check.name
               : QStringLiteral("%1 (%2)").arg(check.name, check.device);
}

} // namespace

QString openFailureText(const PortCheck& check)
{
    switch (check.outcome) {
    case OpenOutcome::Opened: return {};
    case OpenOutcome::Busy: return Cli::tr("busy: another program is using it");
    case OpenOutcome::Missing: return Cli::tr("no such device");
    case OpenOutcome::Failed: break;
    }
    if (check.accessDenied) {
#ifdef Q_OS_LINUX
        return Cli::tr(
            "permission denied: join the dialout group (sudo usermod -aG dialout $USER), then log out and in again");
#else
        return Cli::tr("permission denied");
#endif
    }
    return Cli::tr("cannot be opened: %1").arg(check.reason);
}

PortCheck openChoice(CommPort& port, const PortChoice& choice)
{
    PortCheck check;
    check.name = choice.number > 0 ? QStringLiteral("COM%1").arg(choice.number) : choice.path;
    check.outcome = choice.number > 0 ? port.openPort(qint16(choice.number)) : port.openDevice(choice.path);
    check.device = port.devicePath();
    if (check.outcome != OpenOutcome::Opened) {
        check.reason = port.lastError();
        check.accessDenied = port.accessDenied();
    }
    return check;
}

bool probeTester(CommPort& port, const InterruptWatch& watch)
{
    HandshakeProbe probe(&port);
    bool answered = false;
    QObject::connect(&probe, &HandshakeProbe::finished, &probe, [&answered](bool yes) { answered = yes; });
    const bool done = waitFor(&probe, &HandshakeProbe::finished, watch, [&probe] { probe.start(); });
    return done && answered;
}

namespace {

int connectGiven(CommPort& port, const PortChoice& choice, const InterruptWatch& watch)
{
    const PortCheck check = openChoice(port, choice);
    if (check.outcome != OpenOutcome::Opened) {
        complain(Cli::tr("cannot open %1: %2").arg(where(check), openFailureText(check)));
        return kNoTester;
    }
    if (probeTester(port, watch))
        return kDone;
    if (watch.requested())
        return kInterrupted;
    complain(Cli::tr("no tester answers on %1").arg(where(check)));
    return kNoTester;
}

int search(CommPort& port, const InterruptWatch& watch)
{
    QList<PortCheck> refused;
    for (int n = 1; n <= kLastPort; ++n) {
        const PortCheck check = openChoice(port, PortChoice{n, {}});
        if (check.outcome == OpenOutcome::Opened && probeTester(port, watch)) {
            note(Cli::tr("Tester found on %1").arg(where(check)));
            return kDone;
        }
        if (watch.requested())
            return kInterrupted;
        if (check.outcome == OpenOutcome::Busy || check.outcome == OpenOutcome::Failed)
            refused.append(check);
    }
    port.close();
    complain(Cli::tr("no tester found on COM1 to COM%1").arg(kLastPort));
    for (const PortCheck& check : refused)
        note(QStringLiteral("  %1: %2").arg(where(check), openFailureText(check)));
    return kNoTester;
}

} // namespace

int connectTester(CommPort& port, const PortChoice& choice, const InterruptWatch& watch)
{
    return choice.given() ? connectGiven(port, choice, watch) : search(port, watch);
}

} // namespace bm::cli
