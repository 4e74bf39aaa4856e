#include "history/historystore.h"

#include "history/schema.h"
#include "history/storerows.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>

namespace bm::history {

namespace {

// SQLite answers "database is locked" at once, without waiting, while another
// program switches a new file to write-ahead logging: worth another try.
bool lockedNow(const DatabaseTarget& target, const QString& error)
{
    return target.engine == DatabaseTarget::Engine::Sqlite && error.contains(QLatin1String("is locked"));
}

} // namespace

StoreOpening HistoryStore::open(const DatabaseTarget& target)
{
    for (int attempt = 0;; ++attempt) {
        StoreOpening opening = openOnce(target);
        if (opening.store || attempt >= 100 || !lockedNow(target, opening.error))
            return opening;
        QThread::msleep(50);
    }
}

StoreOpening HistoryStore::openOnce(const DatabaseTarget& target)
{
    auto connection = std::make_unique<Connection>(target);
    if (QString error = connection->open(); !error.isEmpty())
        return {nullptr, QStringLiteral("cannot open the history database %1: %2").arg(describe(target), error)};
    // Checked before anything is written: a newer database stays byte for byte.
    if (const SchemaCheck seen = readSchemaVersion(*connection); !seen.error.isEmpty())
        return {nullptr, QStringLiteral("cannot use the history database %1: %2").arg(describe(target), seen.error),
                seen.tooNew};
    if (QString error = connection->enableWal(); !error.isEmpty())
        return {nullptr, QStringLiteral("cannot use the history database %1: %2").arg(describe(target), error)};
    if (const SchemaCheck migrated = migrate(*connection); !migrated.error.isEmpty())
        return {nullptr,
                QStringLiteral("cannot prepare the history database %1: %2").arg(describe(target), migrated.error),
                migrated.tooNew};
    return {std::unique_ptr<HistoryStore>(new HistoryStore(std::move(connection))), {}};
}

HistoryStore::HistoryStore(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

// Runs work(db) -> Outcome<T> in one transaction, committed only when it succeeds.
// A failed commit (another writer's key taken first on a server) is tried again.
template <typename T, typename Work>
Outcome<T> HistoryStore::inTransaction(Work work)
{
    Outcome<T> outcome;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!connection_->begin())
            return {std::nullopt, connection_->db().lastError().text()};
        outcome = work(connection_->db());
        if (outcome.ok() && connection_->commit())
            return outcome;
        if (outcome.ok())
            outcome = {std::nullopt, connection_->db().lastError().text()};
        connection_->rollback();
        if (outcome.notFound)
            return outcome;
    }
    return outcome;
}

namespace {

// The site and point by name, made when new; the limit set when given.
Outcome<TestPoint> ensurePoint(QSqlDatabase& db, const PointChoice& choice)
{
    Outcome<Site> site = rows::siteWhere(db, QStringLiteral("name"), choice.siteName);
    if (site.notFound) {
        site = {Site{newId(), choice.siteName, {}, {}, {}, {}}, {}};
        if (QString error = rows::insertSite(db, *site.value); !error.isEmpty())
            return {std::nullopt, error};
    }
    if (!site.ok())
        return {std::nullopt, site.error};
    Outcome<TestPoint> point = rows::pointWhere(db, QStringLiteral("name"), choice.pointName, site.value->id);
    if (point.notFound) {
        const TestPoint made{newId(), site.value->id, choice.pointName, choice.kind.value_or(PointKind::Electrode),
                             choice.limitOhm};
        const QString error = rows::insertPoint(db, made);
        return error.isEmpty() ? Outcome<TestPoint>{made, {}} : Outcome<TestPoint>{std::nullopt, error};
    }
    if (point.ok() && choice.limitOhm) {
        QSqlQuery q(db);
        if (!rows::run(q, QStringLiteral("UPDATE points SET limit_ohm = ? WHERE id = ?"),
                       {*choice.limitOhm, point.value->id}))
            return {std::nullopt, q.lastError().text()};
        point.value->limitOhm = choice.limitOhm;
    }
    return point;
}

} // namespace

Outcome<QString> HistoryStore::addVisit(const PointChoice& choice, Visit visit)
{
    return inTransaction<QString>([&](QSqlDatabase& db) -> Outcome<QString> {
        const Outcome<TestPoint> point = ensurePoint(db, choice);
        if (!point.ok())
            return {std::nullopt, point.error};
        visit.id = visit.id.isEmpty() ? newId() : visit.id;
        visit.pointId = point.value->id;
        for (Result& r : visit.results)
            r.id = r.id.isEmpty() ? newId() : r.id;
        const QString error = rows::insertVisit(db, visit);
        return error.isEmpty() ? Outcome<QString>{visit.id, {}} : Outcome<QString>{std::nullopt, error};
    });
}

namespace {

// The local id of the imported site: the same key, else the same name, else new.
Outcome<QString> mergeSite(QSqlDatabase& db, const Site& site, ImportCounts& counts)
{
    for (const QString& column : {QStringLiteral("id"), QStringLiteral("name")}) {
        const Outcome<Site> found = rows::siteWhere(db, column, column == QLatin1String("id") ? site.id : site.name);
        if (found.ok())
            return {found.value->id, {}};
        if (!found.notFound)
            return {std::nullopt, found.error};
    }
    ++counts.sites;
    const QString error = rows::insertSite(db, site);
    return error.isEmpty() ? Outcome<QString>{site.id, {}} : Outcome<QString>{std::nullopt, error};
}

Outcome<QString> mergePoint(QSqlDatabase& db, TestPoint point, ImportCounts& counts)
{
    Outcome<TestPoint> found = rows::pointWhere(db, QStringLiteral("id"), point.id);
    if (found.notFound)
        found = rows::pointWhere(db, QStringLiteral("name"), point.name, point.siteId);
    if (found.ok())
        return {found.value->id, {}};
    if (!found.notFound)
        return {std::nullopt, found.error};
    ++counts.points;
    const QString error = rows::insertPoint(db, point);
    return error.isEmpty() ? Outcome<QString>{point.id, {}} : Outcome<QString>{std::nullopt, error};
}

Outcome<ImportCounts> mergeSiteRecord(QSqlDatabase& db, const SiteRecord& record)
{
    ImportCounts counts;
    const Outcome<QString> siteId = mergeSite(db, record.site, counts);
    if (!siteId.ok())
        return {std::nullopt, siteId.error};
    QHash<QString, QString> localPoint; // package key -> local key
    for (TestPoint p : record.points) {
        const QString key = p.id;
        p.siteId = *siteId.value;
        const Outcome<QString> id = mergePoint(db, p, counts);
        if (!id.ok())
            return {std::nullopt, id.error};
        localPoint.insert(key, *id.value);
    }
    for (Visit v : record.visits) {
        const Outcome<bool> there = rows::exists(db, QStringLiteral("visits"), v.id);
        if (!there.ok())
            return {std::nullopt, there.error};
        if (*there.value) {
            ++counts.visitsKept;
            continue;
        }
        v.pointId = localPoint.value(v.pointId);
        if (QString error = rows::insertVisit(db, v); !error.isEmpty())
            return {std::nullopt, error};
        ++counts.visits;
    }
    return {counts, {}};
}

} // namespace

Outcome<ImportCounts> HistoryStore::importSite(const SiteRecord& record)
{
    return inTransaction<ImportCounts>([&](QSqlDatabase& db) { return mergeSiteRecord(db, record); });
}

Outcome<Site> HistoryStore::findSite(const QString& name)
{
    return rows::siteWhere(connection_->db(), QStringLiteral("name"), name);
}

} // namespace bm::history
