#include "cli/designcommand.h"

#include "cli/cli.h"
#include "cli/soilcommand.h"
#include "design/designreport.h"
#include "soil/designsoil.h"

#include <QCommandLineParser>

#include <cmath>
#include <optional>
#include <vector>

namespace bm::cli {

namespace {

using design::Electrode;

QCommandLineOption opt(const char* name, const QString& text, const char* value = nullptr)
{
    return value ? QCommandLineOption(QString::fromLatin1(name), text, QString::fromLatin1(value))
                 : QCommandLineOption(QString::fromLatin1(name), text);
}

// The design's options, read into DesignOptions one group at a time; each step
// gives what was wrong, or an empty text.
class DesignParser {
public:
    DesignParser();
    // -1 to go on, else the exit status (help shown, or the error reported).
    int parse(const QStringList& args);
    // Reports the message and the usage; gives the exit status.
    int fail(const QString& message) const;
    QString soil(DesignOptions& o) const;
    QString electrode(DesignOptions& o) const;
    QString grid(DesignOptions& o) const;
    QString safety(DesignOptions& o) const;
    QString format(DesignOptions& o) const;
    QString rodGroup(DesignOptions& o) const;

private:
    bool set(const char* name) const { return parser_.isSet(QString::fromLatin1(name)); }
    QString value(const char* name) const { return parser_.value(QString::fromLatin1(name)); }
    // The option's comma-separated numbers, each above 0; empty when they are not.
    std::vector<double> numbers(const char* name, int count) const;
    std::optional<double> positive(const char* name) const;
    // The option's comma-separated whole numbers, each within lo..hi; empty when they are not.
    std::vector<int> wholeNumbers(const char* name, int count, int lo, int hi) const;
    QString help() const;

    QCommandLineParser parser_;
};

DesignParser::DesignParser()
{
    parser_.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, Cli::tr("Show this help.")},
        opt("rho", Cli::tr("Uniform soil of this resistivity in ohm-metres."), "OHM_M"),
        opt("rho1", Cli::tr("Two-layer soil: the top layer's resistivity."), "A"),
        opt("rho2", Cli::tr("Two-layer soil: the lower layer's resistivity."), "B"),
        opt("thickness", Cli::tr("Two-layer soil: the top layer's thickness in metres."), "M"),
        opt("soil",
            Cli::tr("The soil fitted to the readings in FILE, as the soil command does (- for standard input)."),
            "FILE"),
        opt("rod", Cli::tr("A driven rod of length L and diameter D in metres, e.g. 3,0.025."), "L,D"),
        opt("rods", Cli::tr("N rods of --rod's size."), "N"),
        opt("spacing", Cli::tr("Distance between neighbouring rods in metres (default: the rod length)."), "S"),
        opt("arrangement", Cli::tr("line (default) or ring."), "arrangement"),
        opt("target-ohm", Cli::tr("The number of --rod rods needed to reach at most R ohms."), "R"),
        opt("grid", Cli::tr("A rectangular grid LX by LY metres."), "LX,LY"),
        opt("conductors", Cli::tr("NX conductors along x (each LX long), NY along y."), "NX,NY"),
        opt("depth", Cli::tr("The grid's burial depth in metres."), "H"),
        opt("conductor-diameter", Cli::tr("The grid conductor's diameter in metres."), "D"),
        opt("grid-rods", Cli::tr("N rods of length L metres on the grid's perimeter."), "N,L"),
        opt("fault-current", Cli::tr("The grid current IG in amperes, for the touch and step check."), "IG"),
        opt("clearing-time", Cli::tr("The fault duration in seconds."), "TS"),
        opt("surface", Cli::tr("A surface layer of resistivity RHO_S ohm-metres, H_S metres thick (default: none)."),
            "RHO_S,H_S"),
        opt("body", Cli::tr("Body weight 50 (default) or 70 kg."), "kg"),
        opt("format", Cli::tr("text (key=value lines, the default) or json."), "format"),
    });
}

int DesignParser::parse(const QStringList& args)
{
    if (!parser_.parse(QStringList{QStringLiteral("brackenmoor-cli")} + args))
        return fail(parser_.errorText());
    if (set("help")) {
        writeOut(help().toLocal8Bit());
        return kDone;
    }
    if (!parser_.positionalArguments().isEmpty())
        return fail(Cli::tr("Unexpected argument '%1'.").arg(parser_.positionalArguments().constFirst()));
    return -1;
}

int DesignParser::fail(const QString& message) const
{
    complain(message);
    note(help());
    return kBadUsage;
}

QString DesignParser::help() const
{
    const QString options = parser_.helpText();
    return Cli::tr("Usage: brackenmoor-cli design SOIL ELECTRODE [safety] [options]\n"
                   "The resistance of a rod, a group of rods or a grid in the soil, and with a fault current\n"
                   "the touch and step check. SOIL: --rho, --rho1 --rho2 --thickness, or --soil.\n"
                   "ELECTRODE: --rod [--rods | --target-ohm], or --grid --conductors --depth --conductor-diameter.\n"
                   "Safety: --fault-current --clearing-time [--surface] [--body].")
           + QStringLiteral("\n\n") + options.mid(options.indexOf(QStringLiteral("Options:")));
}

std::vector<double> DesignParser::numbers(const char* name, int count) const
{
    const QStringList parts = value(name).split(QLatin1Char(','));
    std::vector<double> out;
    for (const QString& part : parts) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v) || !(v > 0))
            return {};
        out.push_back(v);
    }
    return int(out.size()) == count ? out : std::vector<double>();
}

std::optional<double> DesignParser::positive(const char* name) const
{
    const std::vector<double> v = numbers(name, 1);
    return v.empty() ? std::nullopt : std::optional<double>(v.front());
}

std::vector<int> DesignParser::wholeNumbers(const char* name, int count, int lo, int hi) const
{
    const QStringList parts = value(name).split(QLatin1Char(','));
    std::vector<int> out;
    for (const QString& part : parts) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok || v < lo || v > hi)
            return {};
        out.push_back(v);
    }
    return int(out.size()) == count ? out : std::vector<int>();
}

QString badValue(const char* option, const QString& what)
{
    return Cli::tr("--%1 must be %2.").arg(QString::fromLatin1(option), what);
}

QString DesignParser::soil(DesignOptions& o) const
{
    const bool layers = set("rho1") || set("rho2") || set("thickness");
    const int given = int(set("rho")) + int(layers) + int(set("soil"));
    if (given != 1)
        return given == 0 ? Cli::tr("A soil is needed: --rho, --rho1 with --rho2 and --thickness, or --soil.")
                          : Cli::tr("Give one soil only: --rho, --rho1 with --rho2 and --thickness, or --soil.");
    if (set("soil")) {
        o.soilFile = value("soil");
        return o.soilFile.isEmpty() ? badValue("soil", Cli::tr("a file name")) : QString();
    }
    if (set("rho")) {
        const std::optional<double> rho = positive("rho");
        o.input.soil = design::uniformSoil(rho.value_or(0.0));
        return rho ? QString() : badValue("rho", Cli::tr("a resistivity in ohm-metres above 0"));
    }
    if (!set("rho1") || !set("rho2") || !set("thickness"))
        return Cli::tr("Two-layer soil needs --rho1, --rho2 and --thickness.");
    const auto rho1 = positive("rho1");
    const auto rho2 = positive("rho2");
    const auto h = positive("thickness");
    if (!rho1 || !rho2 || !h)
        return Cli::tr("--rho1, --rho2 and --thickness must be numbers above 0.");
    o.input.soil = design::twoLayerSoil(*rho1, *rho2, *h);
    return {};
}

QString DesignParser::electrode(DesignOptions& o) const
{
    const bool rodExtras = set("rods") || set("spacing") || set("arrangement") || set("target-ohm");
    const bool gridExtras = set("conductors") || set("depth") || set("conductor-diameter") || set("grid-rods");
    if (set("rod") && set("grid"))
        return Cli::tr("Give one electrode only: --rod or --grid.");
    if (rodExtras && !set("rod"))
        return Cli::tr("--rods, --spacing, --arrangement and --target-ohm need the rod's size: --rod L,D.");
    if (gridExtras && !set("grid"))
        return Cli::tr("--conductors, --depth, --conductor-diameter and --grid-rods need --grid LX,LY.");
    if (set("grid"))
        return grid(o);
    if (!set("rod"))
        return Cli::tr("An electrode is needed: --rod L,D or --grid LX,LY.");
    const std::vector<double> size = numbers("rod", 2);
    if (size.empty())
        return badValue("rod", Cli::tr("a length and a diameter in metres, both above 0, such as 3,0.025"));
    if (size[1] >= size[0])
        return Cli::tr("--rod: the diameter must be less than the length.");
    o.input.rod = {size[0], size[1]};
    o.input.electrode = Electrode::Rod;
    return rodGroup(o);
}

QString DesignParser::rodGroup(DesignOptions& o) const
{
    if (set("rods") && set("target-ohm"))
        return Cli::tr("--rods and --target-ohm cannot be used together.");
    if (set("rods")) {
        const std::vector<int> n = wholeNumbers("rods", 1, 1, 1000);
        if (n.empty())
            return badValue("rods", Cli::tr("a whole number from 1 to 1000"));
        o.input.rods = n.front();
        o.input.electrode = Electrode::Rods;
    }
    if (set("target-ohm")) {
        const std::optional<double> target = positive("target-ohm");
        if (!target)
            return badValue("target-ohm", Cli::tr("a resistance in ohms above 0"));
        o.input.target_ohm = *target;
        o.input.electrode = Electrode::RodsNeeded;
    }
    if ((set("spacing") || set("arrangement")) && o.input.electrode == Electrode::Rod)
        return Cli::tr("--spacing and --arrangement need --rods or --target-ohm.");
    if (set("spacing")) {
        const std::optional<double> spacing = positive("spacing");
        if (!spacing)
            return badValue("spacing", Cli::tr("a distance in metres above 0"));
        o.input.spacing_m = *spacing;
    }
    const qsizetype a = QStringList{QStringLiteral("line"), QStringLiteral("ring")}.indexOf(value("arrangement"));
    if (set("arrangement") && a < 0)
        return badValue("arrangement", Cli::tr("line or ring"));
    o.input.arrangement = a == 1 ? design::Arrangement::Ring : design::Arrangement::Line;
    return {};
}

QString DesignParser::grid(DesignOptions& o) const
{
    design::Grid& g = o.input.grid;
    o.input.electrode = Electrode::Grid;
    const std::vector<double> size = numbers("grid", 2);
    if (size.empty())
        return badValue("grid", Cli::tr("two lengths in metres, both above 0, such as 70,70"));
    if (!set("conductors") || !set("depth") || !set("conductor-diameter"))
        return Cli::tr("A grid needs --conductors NX,NY, --depth and --conductor-diameter.");
    const std::vector<int> n = wholeNumbers("conductors", 2, 1, 1000);
    if (n.empty())
        return badValue("conductors",
                        Cli::tr("two whole numbers from 1 to 1000 (a conductor at least each way), such as 11,11"));
    const std::optional<double> depth = positive("depth");
    const std::optional<double> d = positive("conductor-diameter");
    if (!depth || !d)
        return Cli::tr("--depth and --conductor-diameter must be lengths in metres above 0.");
    g = {size[0], size[1], n[0], n[1], *depth, *d, 0, 0.0};
    if (set("grid-rods")) {
        const QStringList parts = value("grid-rods").split(QLatin1Char(','));
        bool countOk = false;
        const int count = parts.value(0).toInt(&countOk);
        bool lengthOk = false;
        const double length = parts.value(1).toDouble(&lengthOk);
        if (parts.size() != 2 || !countOk || count < 1 || count > 10000 || !lengthOk || !std::isfinite(length)
            || !(length > 0))
            return badValue(
                "grid-rods",
                Cli::tr("a number of rods from 1 to 10000 and their length in metres above 0, such as 20,7.5"));
        g.rods = count;
        g.rodLength_m = length;
    }
    return {};
}

QString DesignParser::safety(DesignOptions& o) const
{
    if (!set("fault-current") && !set("clearing-time") && !set("surface") && !set("body"))
        return {};
    if (!set("fault-current") || !set("clearing-time"))
        return Cli::tr("The touch and step check needs --fault-current and --clearing-time.");
    const std::optional<double> ig = positive("fault-current");
    const std::optional<double> ts = positive("clearing-time");
    if (!ig || !ts)
        return Cli::tr("--fault-current and --clearing-time must be numbers above 0.");
    design::SafetyInput s{*ig, *ts, 0.0, 0.0, 50};
    if (set("surface")) {
        const std::vector<double> surface = numbers("surface", 2);
        if (surface.empty())
            return badValue(
                "surface",
                Cli::tr("a resistivity in ohm-metres and a thickness in metres, both above 0, such as 2500,0.1"));
        s.surfaceRho_ohm_m = surface[0];
        s.surfaceThickness_m = surface[1];
    }
    if (set("body")) {
        const std::vector<int> kg = wholeNumbers("body", 1, 50, 70);
        if (kg.empty() || (kg.front() != 50 && kg.front() != 70))
            return badValue("body", Cli::tr("50 or 70"));
        s.bodyKg = kg.front();
    }
    o.input.safety = s;
    return {};
}

QString DesignParser::format(DesignOptions& o) const
{
    const qsizetype f = QStringList{QStringLiteral("text"), QStringLiteral("json")}.indexOf(value("format"));
    if (set("format") && f < 0)
        return badValue("format", Cli::tr("text or json"));
    o.json = f == 1;
    return {};
}

} // namespace

Parsed<DesignOptions> parseDesign(const QStringList& args)
{
    DesignParser p;
    if (const int status = p.parse(args); status >= 0)
        return {std::nullopt, status};
    DesignOptions o;
    for (auto step : {&DesignParser::soil, &DesignParser::electrode, &DesignParser::safety, &DesignParser::format}) {
        if (const QString problem = (p.*step)(o); !problem.isEmpty())
            return {std::nullopt, p.fail(problem)};
    }
    return {o, 0};
}

int runDesign(const DesignOptions& options)
{
    design::DesignInput input = options.input;
    if (!options.soilFile.isEmpty()) {
        const std::optional<soil::SoilAnalysis> analysis = analyseSoilFile(options.soilFile, {});
        if (!analysis)
            return kBadUsage;
        input.soil = soil::designSoil(*analysis).value_or(design::Soil{});
    }
    const design::DesignResult result = design::evaluate(input);
    QByteArray report = options.json ? design::jsonReport(result) : design::keyValueReport(result).toUtf8();
    if (!report.endsWith('\n'))
        report += '\n';
    writeOut(report);
    return kDone;
}

} // namespace bm::cli
