// brackenmoor-cli: the tester from a terminal, over ssh or in a script.
#include "cli/cli.h"
#include "cli/designcommand.h"
#include "cli/downloadcommand.h"
#include "cli/interruptwatch.h"
#include "cli/options.h"
#include "cli/portscommand.h"
#include "cli/readcommand.h"
#include "cli/soilcommand.h"
#include "cli/terminal.h"

#include <QCoreApplication>
#include <QStringList>

using namespace bm::cli;

namespace {

template <typename Options, typename Run>
int dispatch(const Parsed<Options>& parsed, Run run)
{
    if (!parsed.options)
        return parsed.exitCode;
    InterruptWatch watch;
    return run(*parsed.options, watch);
}

int runCommand(const QString& command, const QStringList& args)
{
    if (command == QLatin1String("ports"))
        return dispatch(parsePorts(args), runPorts);
    if (command == QLatin1String("read"))
        return dispatch(parseRead(args), runRead);
    if (command == QLatin1String("download"))
        return dispatch(parseDownload(args), runDownload);
    if (command == QLatin1String("soil")) {
        const Parsed<SoilOptions> parsed = parseSoil(args);
        return parsed.options ? runSoil(*parsed.options) : parsed.exitCode;
    }
    if (command == QLatin1String("design")) {
        const Parsed<DesignOptions> parsed = parseDesign(args);
        return parsed.options ? runDesign(*parsed.options) : parsed.exitCode;
    }
    complain(command.startsWith(QLatin1Char('-')) ? Cli::tr("unknown option '%1'").arg(command)
                                                  : Cli::tr("unknown command '%1'").arg(command));
    note(toolUsage());
    return kBadUsage;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brackenmoor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRACKENMOOR_VERSION));
    installInterruptHandler();

    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString first = args.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        writeOut(toolUsage().toLocal8Bit());
        return kDone;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        writeOut(QByteArrayLiteral("brackenmoor-cli " BRACKENMOOR_VERSION "\n"));
        return kDone;
    }
    if (args.isEmpty()) {
        complain(Cli::tr("a command is needed"));
        note(toolUsage());
        return kBadUsage;
    }
    return runCommand(first, args.mid(1));
}
