// brackenmoor-sim: a simulated tester on a pseudo-terminal, for running the
// program without hardware.

#include "simtester.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Written only from main() before the handlers are installed; a handler may
// do no more than write, so it passes the signal number to the event loop.
int signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char c = char(sig);
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

bool parseMode(const QString& text, bm::SimTester::Mode* mode)
{
    const QString t = text.toLower();
    if (t == QLatin1String("1") || t == QLatin1String("voltage"))
        *mode = bm::SimTester::Voltage;
    else if (t == QLatin1String("2") || t == QLatin1String("resistance"))
        *mode = bm::SimTester::Resistance;
    else if (t == QLatin1String("3") || t == QLatin1String("resistivity"))
        *mode = bm::SimTester::Resistivity;
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brackenmoor-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRACKENMOOR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated earth-resistance tester on a pseudo-terminal.\n"
                       "Prints the device path; point the program at it, e.g.\n"
                       "  BRACKENMOOR_PORTS=/dev/pts/4 brackenmoor   (the tester is COM1)\n"
                       "kill -USR1 <pid> pulls the cable (the device vanishes); again plugs it back in."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption linkOpt(QStringLiteral("link"),
                                     QStringLiteral("Publish the device through a symlink at <path>, removed on exit."),
                                     QStringLiteral("path"));
    const QCommandLineOption modeOpt(
        QStringLiteral("mode"), QStringLiteral("Measurement mode: 1 voltage, 2 resistance (default), 3 resistivity."),
        QStringLiteral("mode"), QStringLiteral("2"));
    const QCommandLineOption recordsOpt(QStringLiteral("records"),
                                        QStringLiteral("Number of stored records, 0 to 10000 (default 0)."),
                                        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption delayOpt(QStringLiteral("delay"),
                                      QStringLiteral("Reply delay in milliseconds (default 0)."), QStringLiteral("ms"),
                                      QStringLiteral("0"));
    const QCommandLineOption varyOpt(QStringLiteral("vary"),
                                     QStringLiteral("Let values and warning flags change over time."));
    const QCommandLineOption flagsOpt(
        QStringLiteral("flags"), QStringLiteral("Warning flags byte: 0x04 noise, 0x08 high voltage, 0x10 low battery."),
        QStringLiteral("byte"), QStringLiteral("0"));
    const QCommandLineOption silentOpt(QStringLiteral("silent"), QStringLiteral("Read requests but answer nothing."));
    const QCommandLineOption wireOpt(
        QStringList{QStringLiteral("wire"), QStringLiteral("baud-pacing")},
        QStringLiteral("Send replies byte by byte at 9600 baud (~1.04 ms a byte), after the request's own wire time."));
    const QCommandLineOption dropOpt(
        QStringLiteral("drop"),
        QStringLiteral("Drop this fraction of replies (0 to 1) at random; applies to every reply (default 0)."),
        QStringLiteral("fraction"), QStringLiteral("0"));
    const QCommandLineOption seedOpt(
        QStringLiteral("seed"),
        QStringLiteral("Seed for --drop and --late: the same seed picks the same replies (default 1)."),
        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption lateOpt(
        QStringLiteral("late"),
        QStringLiteral(
            "Send this fraction of replies (0 to 1) --late-ms later than the others, at random (default 0)."),
        QStringLiteral("fraction"), QStringLiteral("0"));
    const QCommandLineOption lateMsOpt(
        QStringLiteral("late-ms"), QStringLiteral("How much later a late reply comes, in milliseconds (default 250)."),
        QStringLiteral("ms"), QStringLiteral("250"));
    const QCommandLineOption verboseOpt(QStringLiteral("verbose"),
                                        QStringLiteral("Print every request received and every reply dropped."));
    parser.addOptions({linkOpt, modeOpt, recordsOpt, delayOpt, varyOpt, flagsOpt, silentOpt, wireOpt, dropOpt, seedOpt,
                       lateOpt, lateMsOpt, verboseOpt});
    parser.process(app);

    QTextStream err(stderr);
    bm::SimTester::Mode mode = bm::SimTester::Resistance;
    if (!parseMode(parser.value(modeOpt), &mode)) {
        err << "brackenmoor-sim: --mode must be 1, 2 or 3\n";
        return 2;
    }
    bool ok = false;
    const int records = parser.value(recordsOpt).toInt(&ok);
    if (!ok || records < 0 || records > 10000) {
        err << "brackenmoor-sim: --records must be 0 to 10000\n";
        return 2;
    }
    const int delay = parser.value(delayOpt).toInt(&ok);
    if (!ok || delay < 0) {
        err << "brackenmoor-sim: --delay must be a number of milliseconds\n";
        return 2;
    }
    const uint flags = parser.value(flagsOpt).toUInt(&ok, 0);
    if (!ok || flags > 0xFF) {
        err << "brackenmoor-sim: --flags must be a byte, e.g. 0x14\n";
        return 2;
    }
    const double drop = parser.value(dropOpt).toDouble(&ok);
    if (!ok || !(drop >= 0.0 && drop <= 1.0)) {
        err << "brackenmoor-sim: --drop must be a fraction from 0 to 1, e.g. 0.01\n";
        return 2;
    }
    const double late = parser.value(lateOpt).toDouble(&ok);
    const int lateMs = ok ? parser.value(lateMsOpt).toInt(&ok) : 0;
    if (!ok || !(late >= 0.0 && late <= 1.0) || lateMs < 0) {
        err << "brackenmoor-sim: --late must be a fraction from 0 to 1 and --late-ms a number of milliseconds\n";
        return 2;
    }
    const uint seed = parser.value(seedOpt).toUInt(&ok, 0);
    if (!ok) {
        err << "brackenmoor-sim: --seed must be a whole number from 0 to 4294967295\n";
        return 2;
    }

    bm::SimTester sim;
    sim.setMode(mode);
    sim.setFlags(quint8(flags));
    sim.generateRecords(records);
    sim.setReplyDelay(delay);
    sim.setVary(parser.isSet(varyOpt));
    sim.setSilent(parser.isSet(silentOpt));
    sim.setWirePacing(parser.isSet(wireOpt));
    sim.setDropRate(drop);
    sim.setDropSeed(seed);
    sim.setLateReplies(late, lateMs);
    if (parser.isSet(linkOpt)) {
        const QString link = QFileInfo(parser.value(linkOpt)).absoluteFilePath();
        if (QFileInfo(link).exists() && !QFileInfo(link).isSymLink()) {
            err << "brackenmoor-sim: " << link << " exists and is not a symlink\n";
            return 2;
        }
        sim.setLinkPath(link);
    }
    if (!sim.start()) {
        err << "brackenmoor-sim: cannot create a pseudo-terminal: " << sim.errorString() << "\n";
        return 1;
    }

    QTextStream out(stdout);
    out << "Simulated tester on " << sim.devicePath() << "\n";
    if (!sim.linkPath().isEmpty())
        out << "Linked as " << sim.linkPath() << "\n";
    out << "Use: BRACKENMOOR_PORTS=" << sim.portPath() << " brackenmoor   (the tester is COM1)\n";
    out.flush();

    if (parser.isSet(verboseOpt)) {
        QObject::connect(&sim, &bm::SimTester::requestReceived, &sim, [&out](quint16 code) {
            out << "request " << code << "\n";
            out.flush();
        });
        QObject::connect(&sim, &bm::SimTester::replyDropped, &sim, [&out](quint16 code) {
            out << "dropped reply to " << code << "\n";
            out.flush();
        });
    }

    // End cleanly on Ctrl+C or kill, so the link does not outlive the pty.
    if (::pipe(signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&sim, &out] {
            char sig = 0;
            if (::read(signalPipe[0], &sig, 1) != 1)
                return;
            if (sig != SIGUSR1) {
                QCoreApplication::quit();
            } else if (sim.isRunning()) {
                sim.vanish();
                out << "Cable pulled: the device is gone\n";
            } else if (sim.reappear()) {
                out << "Cable back: " << sim.devicePath() << "\n";
            }
            out.flush();
        });
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
        std::signal(SIGUSR1, onSignal);
    }
    return app.exec();
}
