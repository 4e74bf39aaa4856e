#include "cli/historycommand.h"

#include "cli/cli.h"
#include "cli/historyoutput.h"
#include "history/keyfigure.h"
#include "history/readingsource.h"
#include "history/sitepackage.h"
#include "records/savetargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace bm::cli {

namespace {

using history::HistoryStore;

// The store, or the exit status after saying why it cannot be used.
std::unique_ptr<HistoryStore> openStore(const QString& url, int* status)
{
    // The default file's folder is made on first use; a chosen one must exist.
    if (url.isEmpty())
        QDir().mkpath(QFileInfo(history::defaultDatabasePath()).absolutePath());
    const history::ParsedTarget parsed =
        history::parseDatabaseTarget(url.isEmpty() ? history::defaultDatabasePath() : url);
    if (!parsed.target) {
        complain(QStringLiteral("--database: ") + parsed.error);
        *status = kBadUsage;
        return nullptr;
    }
    history::StoreOpening opening = HistoryStore::open(*parsed.target);
    if (!opening.store) {
        complain(opening.error);
        *status = kNoDatabase;
    }
    return std::move(opening.store);
}

// A whole input file; "-" is standard input.
std::optional<QByteArray> readInput(const QString& name)
{
    QFile file(name);
    const bool opened =
        name == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        complain(Cli::tr("cannot read %1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    return file.readAll();
}

// A failed lookup or write: a name not there is bad input, anything else the database.
template <typename T>
int failure(const history::Outcome<T>& outcome)
{
    complain(outcome.error);
    return outcome.notFound ? kBadUsage : kNoDatabase;
}

int add(const HistoryOptions& o)
{
    const auto bytes = readInput(o.file);
    if (!bytes)
        return kBadUsage;
    const history::CsvReadings csv = history::readingsFromCsv(*bytes);
    if (!csv.readings) {
        complain(QStringLiteral("%1: %2").arg(o.file, csv.error));
        return kBadUsage;
    }
    const QString source =
        o.file == QLatin1String("-") ? QStringLiteral("standard input") : QFileInfo(o.file).absoluteFilePath();
    return storeVisit(o.visit, *csv.readings, source);
}

int list(const HistoryOptions& o, HistoryStore& store)
{
    if (o.action == HistoryOptions::Action::Sites) {
        const auto sites = store.sites();
        if (!sites.ok())
            return failure(sites);
        writeOut(sitesOutput(o.format, *sites.value));
        return kDone;
    }
    const auto visits = store.visits(o.site, o.point);
    if (!visits.ok())
        return failure(visits);
    writeOut(visitsOutput(o.format, *visits.value));
    return kDone;
}

int exportSite(const HistoryOptions& o, HistoryStore& store)
{
    const auto record = store.siteRecord(o.site);
    if (!record.ok())
        return failure(record);
    const QByteArray bytes = history::sitePackage(*record.value);
    if (o.file.isEmpty()) {
        writeOut(bytes);
        return kDone;
    }
    if (const QString error = writeFileReplacing(o.file, bytes); !error.isEmpty()) {
        complain(Cli::tr("cannot write %1: %2").arg(o.file, error));
        return kBadUsage;
    }
    return kDone;
}

int importSite(const HistoryOptions& o)
{
    const auto bytes = readInput(o.file);
    if (!bytes)
        return kBadUsage;
    // Read whole before the database is touched: a bad package writes nothing.
    const history::PackageReading package = history::readSitePackage(*bytes);
    if (!package.record) {
        complain(QStringLiteral("%1: %2").arg(o.file, package.error));
        return kBadUsage;
    }
    int status = kDone;
    const auto store = openStore(o.database, &status);
    if (!store)
        return status;
    const auto counts = store->importSite(*package.record);
    if (!counts.ok())
        return failure(counts);
    const history::ImportCounts& c = *counts.value;
    note(Cli::tr("Imported %1: %2 new site, %3 new points, %4 new visits; %5 visits already there.")
             .arg(package.record->site.name)
             .arg(c.sites)
             .arg(c.points)
             .arg(c.visits)
             .arg(c.visitsKept));
    return kDone;
}

} // namespace

int storeVisit(const VisitOptions& options, const QList<history::StoredReading>& readings, const QString& source,
               IdTo idTo)
{
    int status = kDone;
    const auto store = openStore(options.database, &status);
    if (!store)
        return status;
    history::Visit visit;
    visit.timeUtc = options.time.isValid() ? options.time.toUTC() : QDateTime::currentDateTimeUtc();
    visit.conditions = options.conditions;
    visit.conditions.source = source;
    visit.readings = readings;
    visit.results = history::resultsFor(readings);
    const auto id = store->addVisit(options.point, visit);
    if (!id.ok()) {
        complain(Cli::tr("the visit was not stored: %1").arg(id.error));
        return kNoDatabase;
    }
    if (idTo == IdTo::Stderr)
        note(Cli::tr("Stored in the site history as visit %1.").arg(*id.value));
    else
        writeOut((*id.value + QLatin1Char('\n')).toUtf8());
    return kDone;
}

int runHistory(const HistoryOptions& o)
{
    using A = HistoryOptions::Action;
    if (o.action == A::Add)
        return add(o);
    if (o.action == A::Import)
        return importSite(o);
    int status = kDone;
    const auto store = openStore(o.database, &status);
    if (!store)
        return status;
    return o.action == A::Export ? exportSite(o, *store) : list(o, *store);
}

} // namespace bm::cli
