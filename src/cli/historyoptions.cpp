#include "cli/historyoptions.h"

#include "cli/cli.h"

#include <cmath>

namespace bm::cli {

namespace {

enum VisitOption { Database, Site, Point, Kind, Limit, Operator, Instrument, Weather, Ground, Notes, Time };

QCommandLineOption databaseOption()
{
    return {QStringLiteral("database"),
            Cli::tr("A SQLite file, or postgresql://user@host:port/dbname (password from PGPASSWORD or ~/.pgpass). "
                    "Default: history.sqlite in the program's data folder."),
            QStringLiteral("URL")};
}

} // namespace

VisitOptionSet::VisitOptionSet()
    : options_{
        databaseOption(),
        {QStringLiteral("site"), Cli::tr("The site, made when new."), QStringLiteral("S")},
        {QStringLiteral("point"), Cli::tr("The test point of the site, made when new."), QStringLiteral("P")},
        {QStringLiteral("kind"), Cli::tr("A new point's kind: electrode (default) or soil."), QStringLiteral("kind")},
        {QStringLiteral("limit"), Cli::tr("The point's limit in ohms, set or changed."), QStringLiteral("OHM")},
        {QStringLiteral("operator"), Cli::tr("Who measured."), QStringLiteral("O")},
        {QStringLiteral("instrument"), Cli::tr("The tester used."), QStringLiteral("I")},
        {QStringLiteral("weather"), Cli::tr("The weather."), QStringLiteral("W")},
        {QStringLiteral("ground"), Cli::tr("The ground's condition."), QStringLiteral("G")},
        {QStringLiteral("notes"), Cli::tr("Notes."), QStringLiteral("N")},
        {QStringLiteral("time"), Cli::tr("When, as ISO 8601 (local time without an offset; default: now)."),
         QStringLiteral("ISO8601")}}
{
}

void VisitOptionSet::addTo(QCommandLineParser& parser) const { parser.addOptions(options_); }

bool VisitOptionSet::given(const QCommandLineParser& parser) const
{
    return parser.isSet(options_[Site]) || parser.isSet(options_[Point]);
}

std::optional<VisitOptions> VisitOptionSet::read(const QCommandLineParser& p, QString* problem) const
{
    VisitOptions v;
    v.database = p.value(options_[Database]);
    v.point.siteName = p.value(options_[Site]);
    v.point.pointName = p.value(options_[Point]);
    if (v.point.siteName.isEmpty() || v.point.pointName.isEmpty())
        *problem = Cli::tr("--site and --point are both needed, and not empty.");
    if (p.isSet(options_[Kind])) {
        v.point.kind = history::pointKindFromName(p.value(options_[Kind]));
        if (!v.point.kind)
            *problem = Cli::tr("--kind must be electrode or soil.");
    }
    if (p.isSet(options_[Limit])) {
        bool ok = false;
        const double limit = p.value(options_[Limit]).toDouble(&ok);
        if (!ok || !std::isfinite(limit) || limit <= 0)
            *problem = Cli::tr("--limit must be a resistance in ohms above 0.");
        v.point.limitOhm = limit;
    }
    v.conditions = {p.value(options_[Operator]), p.value(options_[Instrument]), p.value(options_[Weather]),
                    p.value(options_[Ground]),   p.value(options_[Notes]),      {}};
    if (p.isSet(options_[Time])) {
        v.time = QDateTime::fromString(p.value(options_[Time]), Qt::ISODateWithMs);
        if (!v.time.isValid())
            *problem = Cli::tr("--time must be an ISO 8601 date and time, such as 2026-05-04T09:30:00Z.");
    }
    if (!problem->isEmpty())
        return std::nullopt;
    return v;
}

namespace {

const QStringList kActions{QStringLiteral("add"), QStringLiteral("sites"), QStringLiteral("show"),
                           QStringLiteral("export"), QStringLiteral("import")};

QString historyUsage()
{
    return Cli::tr("Usage: brackenmoor-cli history ACTION [options]\n"
                   "Every test kept by site and test point.\n\n"
                   "Actions:\n"
                   "  add --site S --point P FILE   Store a download CSV as one visit; prints its id\n"
                   "  sites                         List the sites\n"
                   "  show --site S [--point P]     The visits in time order, with their key figure and verdict\n"
                   "  export --site S [-o FILE]     The site as a JSON package\n"
                   "  import FILE                   Merge a package by its keys\n\n"
                   "ACTION --help shows an action's options.\n"
                   "Exit status: 0 done, 1 bad usage or bad input, 2 the database cannot be opened or used,\n"
                   "or is newer than the program.\n");
}

// One action's parser, its usage shown with any usage error.
struct ActionParser {
    QString usage;
    QCommandLineParser parser;
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, Cli::tr("Show this help.")};
    const QCommandLineOption database = databaseOption();
    const QCommandLineOption format{QStringLiteral("format"), Cli::tr("text (default), json or csv."),
                                    QStringLiteral("format")};
    const QCommandLineOption site{QStringLiteral("site"), Cli::tr("The site."), QStringLiteral("S")};
    const QCommandLineOption point{QStringLiteral("point"), Cli::tr("Only this test point."), QStringLiteral("P")};
    const QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                                    Cli::tr("Write to FILE (default: standard output)."),
                                    QStringLiteral("FILE")};
    const VisitOptionSet visit;

    QString helpText() const
    {
        const QString options = parser.helpText();
        return usage + QStringLiteral("\n\n") + options.mid(options.indexOf(QStringLiteral("Options:")));
    }
    int fail(const QString& message) const
    {
        complain(message);
        note(helpText());
        return kBadUsage;
    }
};

} // namespace

namespace {

// The options each action takes beside --help.
void addActionOptions(ActionParser& a, HistoryOptions::Action action)
{
    using A = HistoryOptions::Action;
    a.parser.addOption(a.help);
    if (action == A::Add) {
        a.visit.addTo(a.parser);
        a.parser.addPositionalArgument(QStringLiteral("FILE"), Cli::tr("A download CSV; - for standard input."));
        return;
    }
    a.parser.addOption(a.database);
    if (action == A::Sites || action == A::Show)
        a.parser.addOption(a.format);
    if (action == A::Show || action == A::Export)
        a.parser.addOption(a.site);
    if (action == A::Show)
        a.parser.addOption(a.point);
    if (action == A::Export)
        a.parser.addOption(a.output);
    if (action == A::Import)
        a.parser.addPositionalArgument(QStringLiteral("FILE"), Cli::tr("The package to merge."));
}

// The parsed action's values, or its usage error.
Parsed<HistoryOptions> readAction(const ActionParser& a, HistoryOptions o, bool takesFile)
{
    const QStringList files = a.parser.positionalArguments();
    if (files.size() != (takesFile ? 1 : 0))
        return {std::nullopt, a.fail(files.isEmpty() ? Cli::tr("A FILE is needed.")
                                                     : Cli::tr("Unexpected argument '%1'.").arg(files.constLast()))};
    // Only options given are asked for: the parser warns about those an action lacks.
    const QStringList given = a.parser.optionNames();
    const auto value = [&](const QCommandLineOption& option) {
        for (const QString& name : option.names()) {
            if (given.contains(name))
                return a.parser.value(option);
        }
        return QString();
    };
    o.file = takesFile ? files.constFirst() : value(a.output);
    o.database = value(a.database);
    o.site = value(a.site);
    o.point = value(a.point);
    const QString format = value(a.format);
    const int f =
        format.isEmpty()
            ? 0
            : int(QStringList{QStringLiteral("text"), QStringLiteral("json"), QStringLiteral("csv")}.indexOf(format));
    if (f < 0)
        return {std::nullopt, a.fail(Cli::tr("--format must be text, json or csv."))};
    o.format = static_cast<ListFormat>(f);
    if ((o.action == HistoryOptions::Action::Show || o.action == HistoryOptions::Action::Export) && o.site.isEmpty())
        return {std::nullopt, a.fail(Cli::tr("--site is needed."))};
    if (o.action == HistoryOptions::Action::Add) {
        QString problem;
        const auto v = a.visit.read(a.parser, &problem);
        if (!v)
            return {std::nullopt, a.fail(problem)};
        o.visit = *v;
        o.database = v->database;
    }
    return {o, 0};
}

} // namespace

Parsed<HistoryOptions> parseHistory(const QStringList& args)
{
    const QString name = args.value(0);
    if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
        writeOut(historyUsage().toLocal8Bit());
        return {std::nullopt, kDone};
    }
    const int index = int(kActions.indexOf(name));
    if (index < 0) {
        complain(name.isEmpty() ? Cli::tr("history needs an action")
                                : Cli::tr("unknown history action '%1'").arg(name));
        note(historyUsage());
        return {std::nullopt, kBadUsage};
    }
    HistoryOptions o;
    o.action = static_cast<HistoryOptions::Action>(index);
    const bool takesFile = o.action == HistoryOptions::Action::Add || o.action == HistoryOptions::Action::Import;
    ActionParser a;
    a.usage = Cli::tr("Usage: brackenmoor-cli history %1 [options]%2")
                  .arg(name, takesFile ? QStringLiteral(" FILE") : QString());
    addActionOptions(a, o.action);
    if (!a.parser.parse(QStringList{QStringLiteral("brackenmoor-cli")} + args.mid(1)))
        return {std::nullopt, a.fail(a.parser.errorText())};
    if (a.parser.isSet(a.help)) {
        writeOut(a.helpText().toLocal8Bit());
        return {std::nullopt, kDone};
    }
    return readAction(a, o, takesFile);
}

} // namespace bm::cli
