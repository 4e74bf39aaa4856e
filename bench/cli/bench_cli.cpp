// brackenmoor-cli download against the simulated tester at 9600-baud pacing:
// fast pace, fast pace with 1 % of replies lost, and compatible pace. Both run
// as separate programs, as in the field. Printed, never asserted.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A request and its reply: 3 + 10 bytes of 10 bits at 9600 baud.
constexpr double kWireSecondsPerRecord = 13 * 10 / 9600.0;

struct Outcome {
    double seconds = 0;
    int exitCode = -1;
    int lines = 0;   // records in the CSV
    QString missing; // what the tool said was missing
};

Outcome download(const QString& port, const QString& out, const QStringList& extra)
{
    QProcess cli;
    cli.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    cli.start(QStringLiteral(BM_CLI_PATH), QStringList{"download", "--port", port, "-o", out} + extra);
    cli.waitForFinished(-1);
    Outcome o;
    o.seconds = t.nsecsElapsed() / 1e9;
    o.exitCode = cli.exitCode();
    QFile f(out);
    if (f.open(QIODevice::ReadOnly))
        o.lines = int(f.readAll().count('\n')) - 1;
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    const qsizetype at = err.indexOf(QLatin1String("missing records: "));
    o.missing = at < 0 ? QStringLiteral("none") : err.mid(at + 17).trimmed();
    return o;
}

// Runs one download against a fresh simulator with these options.
Outcome scenario(const QTemporaryDir& dir, int records, const QStringList& simOptions, const QStringList& cliOptions)
{
    const QString link = dir.filePath(QStringLiteral("tester"));
    QProcess sim;
    sim.start(QStringLiteral(BM_SIM_PATH),
              QStringList{"--wire", "--records", QString::number(records), "--link", link} + simOptions);
    sim.waitForReadyRead(10000); // it prints its device once the link is in place
    const Outcome o = download(link, dir.filePath(QStringLiteral("out.csv")), cliOptions);
    sim.terminate();
    sim.waitForFinished(10000);
    return o;
}

void print(const char* what, int records, const Outcome& o)
{
    const double wire = records * kWireSecondsPerRecord;
    std::printf("%-44s %6.2f s  (wire %6.2f s, %.2fx)  exit %d, %d records, missing: %s\n", what, o.seconds, wire,
                o.seconds / wire, o.exitCode, o.lines, qPrintable(o.missing));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("brackenmoor-cli download, simulator at 9600 baud (13 bytes a record, %.2f ms)\n",
                kWireSecondsPerRecord * 1000);
    print("1000 records, --pace fast", 1000, scenario(dir, 1000, {}, {"--pace", "fast"}));
    print("1000 records, --pace fast, 1 % replies lost", 1000,
          scenario(dir, 1000, {"--drop", "0.01", "--seed", "42"}, {"--pace", "fast"}));
    const Outcome compatible = scenario(dir, 100, {}, {"--pace", "compatible"});
    print("100 records, --pace compatible", 100, compatible);
    std::printf("%-44s %6.2f s  (extrapolated from the 100 records above)\n", "  the same per 1000 records",
                compatible.seconds * 10);
    return 0;
}
