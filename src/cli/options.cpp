#include "cli/options.h"

#include "cli/cli.h"
#include "cli/historyoptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace bm::cli {

namespace {

// One subcommand's parser: --help and --port, usage errors reported with its usage.
class Subcommand {
public:
    // A command that reads a file takes it as its one argument and needs no port.
    Subcommand(const QString& name, const QString& description, bool takesFile = false)
        : name_(name), description_(description), takesFile_(takesFile)
    {
        parser.addOption(help_);
        if (takesFile)
            parser.addPositionalArgument(QStringLiteral("FILE"), Cli::tr("The file to read; - for standard input."));
        else
            parser.addOption(port_);
    }

    // -1 to go on, else the exit status (help shown, or the error reported).
    int parse(const QStringList& args)
    {
        if (!parser.parse(QStringList{QStringLiteral("brackenmoor-cli")} + args))
            return fail(parser.errorText());
        if (parser.isSet(help_)) {
            writeOut(help().toLocal8Bit());
            return kDone;
        }
        const QStringList extra = parser.positionalArguments().mid(takesFile_ ? 1 : 0);
        if (!extra.isEmpty())
            return fail(Cli::tr("Unexpected argument '%1'.").arg(extra.constFirst()));
        if (takesFile_ && parser.positionalArguments().isEmpty())
            return fail(Cli::tr("A FILE is needed."));
        return -1;
    }

    int fail(const QString& message) const
    {
        complain(message);
        note(help());
        return kBadUsage;
    }

    QString help() const
    {
        const QString options = parser.helpText();
        const QString usage = takesFile_ ? Cli::tr("Usage: brackenmoor-cli %1 [options] FILE")
                                         : Cli::tr("Usage: brackenmoor-cli %1 [options]");
        return usage.arg(name_) + QStringLiteral("\n") + description_ + QStringLiteral("\n\n")
               + options.mid(options.indexOf(QStringLiteral("Options:")));
    }

    std::optional<PortChoice> port() const
    {
        PortChoice choice;
        const QString text = parser.value(port_);
        if (!parser.isSet(port_))
            return choice;
        static const QRegularExpression com(QStringLiteral("^COM(\\d{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
        if (const auto m = com.match(text); m.hasMatch())
            choice.number = m.captured(1).toInt();
        else
            choice.path = text;
        if (text.isEmpty() || (choice.path.isEmpty() && choice.number < 1))
            return std::nullopt;
        return choice;
    }

    // The option's whole-number value within lo..hi into *out (left alone when not given).
    bool number(const QCommandLineOption& option, int lo, int hi, int* out) const
    {
        if (!parser.isSet(option))
            return true;
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value < lo || value > hi)
            return false;
        *out = value;
        return true;
    }

    // The option's value as one of `names` (its index), or -1; `fallback` when not given.
    int choice(const QCommandLineOption& option, const QStringList& names, int fallback) const
    {
        return parser.isSet(option) ? int(names.indexOf(parser.value(option))) : fallback;
    }

    QCommandLineParser parser;

private:
    QString name_;
    QString description_;
    bool takesFile_ = false;
    const QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}, Cli::tr("Show this help.")};
    const QCommandLineOption port_{
        QStringLiteral("port"),
        Cli::tr(
            "Use this port only: COMn, or a device path such as /dev/ttyUSB0. Without it, COM1 to COM16 are searched."),
        QStringLiteral("port")};
};

QString badValue(const QString& option, const QString& what) { return Cli::tr("--%1 must be %2.").arg(option, what); }

} // namespace

Parsed<PortsOptions> parsePorts(const QStringList& args)
{
    Subcommand cmd(QStringLiteral("ports"),
                   Cli::tr("Lists COM1 to COM16: the device behind each and whether it can be opened."));
    const QCommandLineOption probe(QStringLiteral("probe"),
                                   Cli::tr("Also ask each port that opens whether the tester answers."));
    cmd.parser.addOption(probe);
    if (const int status = cmd.parse(args); status >= 0)
        return {std::nullopt, status};
    PortsOptions o;
    o.probe = cmd.parser.isSet(probe);
    const auto port = cmd.port();
    if (!port)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("port"), Cli::tr("COMn (n from 1) or a device path")))};
    o.port = *port;
    return {o, 0};
}

Parsed<ReadOptions> parseRead(const QStringList& args)
{
    Subcommand cmd(QStringLiteral("read"), Cli::tr("Prints live readings, one a second."));
    const QCommandLineOption count(QStringLiteral("count"), Cli::tr("Print N readings (default 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption follow(QStringLiteral("follow"), Cli::tr("Print readings until interrupted (Ctrl-C)."));
    const QCommandLineOption format(QStringLiteral("format"), Cli::tr("text (default), csv or json."),
                                    QStringLiteral("format"));
    cmd.parser.addOptions({count, follow, format});
    if (const int status = cmd.parse(args); status >= 0)
        return {std::nullopt, status};
    ReadOptions o;
    o.follow = cmd.parser.isSet(follow);
    const int f = cmd.choice(format, {QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("json")}, 0);
    const auto port = cmd.port();
    if (!cmd.number(count, 1, 1'000'000, &o.count))
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("count"), Cli::tr("a whole number from 1 to 1000000")))};
    if (o.follow && cmd.parser.isSet(count))
        return {std::nullopt, cmd.fail(Cli::tr("--count and --follow cannot be used together."))};
    if (f < 0)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("format"), Cli::tr("text, csv or json")))};
    if (!port)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("port"), Cli::tr("COMn (n from 1) or a device path")))};
    o.format = static_cast<ReadFormat>(f);
    o.port = *port;
    return {o, 0};
}

namespace {

// --format, else the file's extension, else CSV; -1 for an unknown --format.
int fileFormat(const Subcommand& cmd, const QCommandLineOption& format, const QString& output)
{
    const QStringList names{QStringLiteral("csv"), QStringLiteral("txt"), QStringLiteral("xls")};
    if (cmd.parser.isSet(format))
        return int(names.indexOf(cmd.parser.value(format)));
    return std::max(0, int(names.indexOf(QFileInfo(output).suffix().toLower())));
}

// The checks of download's values, in the order of its options; empty when all is well.
QString downloadProblem(const Subcommand& cmd, const QCommandLineOption (&opts)[5], DownloadOptions& o)
{
    const auto& [first, last, timeout, retries, pace] = opts;
    DownloadSettings& s = o.settings;
    if (!cmd.number(first, 1, kMaxRecord, &s.first))
        return badValue(QStringLiteral("first"), Cli::tr("a record number from 1 to %1").arg(kMaxRecord));
    if (!cmd.number(last, 1, kMaxRecord, &s.last))
        return badValue(QStringLiteral("last"), Cli::tr("a record number from 1 to %1").arg(kMaxRecord));
    if (s.last > 0 && s.first > s.last)
        return Cli::tr("--first must not be above --last.");
    if (!cmd.number(timeout, 1, 60'000, &s.timeoutMs))
        return badValue(QStringLiteral("timeout"), Cli::tr("a number of milliseconds from 1 to 60000"));
    if (!cmd.number(retries, 0, 100, &s.retries))
        return badValue(QStringLiteral("retries"), Cli::tr("a whole number from 0 to 100"));
    const int p = cmd.choice(pace, {QStringLiteral("fast"), QStringLiteral("compatible")}, 0);
    if (p < 0)
        return badValue(QStringLiteral("pace"), Cli::tr("fast or compatible"));
    s.pace = static_cast<Pace>(p);
    return {};
}

} // namespace

Parsed<DownloadOptions> parseDownload(const QStringList& args)
{
    Subcommand cmd(QStringLiteral("download"),
                   Cli::tr("Downloads the stored records to FILE or, without -o, to standard output.\n"
                           "Exit status 3 when records are missing at the end (they are listed on standard error)."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Cli::tr("Write to FILE, replaced only by a complete new file."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    Cli::tr("txt, xls or csv (default: from FILE's extension, else csv)."),
                                    QStringLiteral("format"));
    const QCommandLineOption opts[5] = {
        {QStringLiteral("first"), Cli::tr("First record to download (default 1)."), QStringLiteral("N")},
        {QStringLiteral("last"), Cli::tr("Last record to download (default: the tester's last)."), QStringLiteral("M")},
        {QStringLiteral("timeout"), Cli::tr("Wait this long for each reply (default 300)."), QStringLiteral("MS")},
        {QStringLiteral("retries"), Cli::tr("Ask again this many times for a reply that does not come (default 3)."),
         QStringLiteral("N")},
        {QStringLiteral("pace"),
         Cli::tr("fast (default): the next request as soon as a reply is complete; compatible: one every 100 ms, as "
                 "the window does."),
         QStringLiteral("pace")},
    };
    cmd.parser.addOptions({output, format, opts[0], opts[1], opts[2], opts[3], opts[4]});
    const VisitOptionSet visit;
    visit.addTo(cmd.parser);
    if (const int status = cmd.parse(args); status >= 0)
        return {std::nullopt, status};
    DownloadOptions o;
    if (QString problem; visit.given(cmd.parser) && !(o.visit = visit.read(cmd.parser, &problem)))
        return {std::nullopt, cmd.fail(problem)};
    o.output = cmd.parser.value(output);
    const int f = fileFormat(cmd, format, o.output);
    if (f < 0)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("format"), Cli::tr("txt, xls or csv")))};
    o.format = static_cast<FileFormat>(f);
    if (const QString problem = downloadProblem(cmd, opts, o); !problem.isEmpty())
        return {std::nullopt, cmd.fail(problem)};
    const auto port = cmd.port();
    if (!port)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("port"), Cli::tr("COMn (n from 1) or a device path")))};
    o.port = *port;
    return {o, 0};
}

Parsed<SoilOptions> parseSoil(const QStringList& args)
{
    Subcommand cmd(
        QStringLiteral("soil"),
        Cli::tr(
            "Fits the uniform, two-layer and three-layer soil models to Wenner and Schlumberger readings: a CSV with\n"
            "the columns spacing_m and resistivity_ohm_m (a download's CSV as it is), or a table text file saved by\n"
            "the program. Optional CSV columns: array (wenner or schlumberger), ab2_m and mn2_m (Schlumberger AB/2\n"
            "and MN/2), resistance_ohm (instead of resistivity_ohm_m) and traverse (each traverse is also fitted "
            "alone)."),
        true);
    const QCommandLineOption format(QStringLiteral("format"), Cli::tr("text (key=value lines, the default) or json."),
                                    QStringLiteral("format"));
    const QCommandLineOption exclude(QStringLiteral("exclude-spacing"),
                                     Cli::tr("Leave out the readings at this spacing in metres (repeatable)."),
                                     QStringLiteral("A"));
    cmd.parser.addOptions({format, exclude});
    if (const int status = cmd.parse(args); status >= 0)
        return {std::nullopt, status};
    SoilOptions o;
    o.file = cmd.parser.positionalArguments().constFirst();
    const int f = cmd.choice(format, {QStringLiteral("text"), QStringLiteral("json")}, 0);
    if (f < 0)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("format"), Cli::tr("text or json")))};
    o.format = static_cast<SoilFormat>(f);
    for (const QString& text : cmd.parser.values(exclude)) {
        bool ok = false;
        const double a = text.toDouble(&ok);
        if (!ok || !(a > 0))
            return {std::nullopt,
                    cmd.fail(badValue(QStringLiteral("exclude-spacing"), Cli::tr("a spacing in metres above 0")))};
        o.excludedSpacings.append(a);
    }
    return {o, 0};
}

namespace {

// The option's value as a finite number above 0 (or at least 0) into *out; true when not given.
bool positive(const Subcommand& cmd, const QCommandLineOption& option, double* out, bool zeroToo = false)
{
    if (!cmd.parser.isSet(option))
        return true;
    bool ok = false;
    const double v = cmd.parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(v) || !(v > 0.0 || (zeroToo && v == 0.0)))
        return false;
    *out = v;
    return true;
}

} // namespace

Parsed<FopOptions> parseFop(const QStringList& args)
{
    Subcommand cmd(
        QStringLiteral("fop"),
        Cli::tr("Analyses a fall-of-potential test of an earth electrode: a CSV with the columns distance_m\n"
                "(the potential probe's distance from the electrode) and resistance_ohm."),
        true);
    const QCommandLineOption current(QStringLiteral("current-distance"),
                                     Cli::tr("The current probe's distance from the electrode in metres (needed)."),
                                     QStringLiteral("C"));
    const QCommandLineOption plateau(QStringLiteral("plateau-percent"),
                                     Cli::tr("The largest deviation a plateau may have, in per cent (default 5)."),
                                     QStringLiteral("P"));
    const QCommandLineOption limit(QStringLiteral("limit"),
                                   Cli::tr("The most the electrode may have, in ohms; limit_ok tells whether it does."),
                                   QStringLiteral("OHM"));
    const QCommandLineOption exclude(QStringLiteral("exclude-distance"),
                                     Cli::tr("Leave out the readings at this distance in metres (repeatable)."),
                                     QStringLiteral("X"));
    const QCommandLineOption format(QStringLiteral("format"), Cli::tr("text (key=value lines, the default) or json."),
                                    QStringLiteral("format"));
    cmd.parser.addOptions({current, plateau, limit, exclude, format});
    if (const int status = cmd.parse(args); status >= 0)
        return {std::nullopt, status};
    FopOptions o;
    o.file = cmd.parser.positionalArguments().constFirst();
    if (!cmd.parser.isSet(current) || !positive(cmd, current, &o.currentDistance_m))
        return {std::nullopt,
                cmd.fail(badValue(QStringLiteral("current-distance"), Cli::tr("given, a distance in metres above 0")))};
    if (!positive(cmd, plateau, &o.plateauPercent, true))
        return {std::nullopt,
                cmd.fail(badValue(QStringLiteral("plateau-percent"), Cli::tr("a percentage of 0 or more")))};
    double limitOhm = 0.0;
    if (!positive(cmd, limit, &limitOhm))
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("limit"), Cli::tr("a resistance in ohms above 0")))};
    if (cmd.parser.isSet(limit))
        o.limit_ohm = limitOhm;
    for (const QString& text : cmd.parser.values(exclude)) {
        bool ok = false;
        const double x = text.toDouble(&ok);
        if (!ok || !std::isfinite(x) || !(x > 0))
            return {std::nullopt,
                    cmd.fail(badValue(QStringLiteral("exclude-distance"), Cli::tr("a distance in metres above 0")))};
        o.excludedDistances.append(x);
    }
    const int f = cmd.choice(format, {QStringLiteral("text"), QStringLiteral("json")}, 0);
    if (f < 0)
        return {std::nullopt, cmd.fail(badValue(QStringLiteral("format"), Cli::tr("text or json")))};
    o.format = static_cast<SoilFormat>(f);
    return {o, 0};
}

QString toolUsage()
{
    return Cli::tr("Usage: brackenmoor-cli COMMAND [options]\n"
                   "Talks to the four-wire earth-resistance tester on a serial port.\n\n"
                   "Commands:\n"
                   "  ports      List COM1 to COM16 and whether each can be opened (--probe: and answers)\n"
                   "  read       Print live readings\n"
                   "  download   Download the stored records as csv, txt or xls\n"
                   "             (--site S --point P: also keep them as a visit in the site history)\n"
                   "  soil FILE  Fit the soil models to the resistivity readings in FILE\n"
                   "  design     Rod, rod group or grid resistance and the touch and step check\n"
                   "  fop FILE   Analyse the fall-of-potential readings of an earth electrode in FILE\n"
                   "  history    The site history: add, sites, show, export, import\n\n"
                   "Options:\n"
                   "  -h, --help      Show this help; COMMAND --help shows a command's options.\n"
                   "  -v, --version   Show the version.\n\n"
                   "Exit status: 0 done, 1 bad usage, 2 no tester or the port cannot be opened,\n"
                   "3 incomplete download or the tester fell silent, 130 interrupted.\n");
}

} // namespace bm::cli
