// The store's reads: lists for the command line and the window, and a whole site for a package.
#include "history/historystore.h"

#include "history/keyfigure.h"
#include "history/storerows.h"

#include <QHash>
#include <QSqlError>

namespace bm::history {

namespace {

template <typename T>
Outcome<T> failed(const QSqlQuery& q)
{
    return {std::nullopt, q.lastError().text()};
}

// Every result of the site's visits (or of one visit), by visit id.
Outcome<QHash<QString, QList<Result>>> resultsWhere(QSqlDatabase& db, const QString& where, const QString& value)
{
    QSqlQuery q(db);
    if (!rows::run(
            q,
            QStringLiteral("SELECT r.visit_id, r.id, r.kind, f.name, f.value FROM results r"
                           " JOIN visits v ON v.id = r.visit_id JOIN points p ON p.id = v.point_id"
                           " LEFT JOIN result_figures f ON f.result_id = r.id WHERE %1 = ? ORDER BY r.id, f.name")
                .arg(where),
            {value}))
        return failed<QHash<QString, QList<Result>>>(q);
    QHash<QString, QList<Result>> byVisit;
    while (q.next()) {
        QList<Result>& list = byVisit[q.value(0).toString()];
        if (list.isEmpty() || list.constLast().id != q.value(1).toString())
            list.append({q.value(1).toString(), q.value(2).toString(), {}});
        if (!q.value(3).isNull())
            list.last().figures.append({q.value(3).toString(), rows::number(q.value(4))});
    }
    return {byVisit, {}};
}

} // namespace

Outcome<QList<SiteSummary>> HistoryStore::sites()
{
    QSqlQuery q(connection_->db());
    if (!rows::run(
            q, QStringLiteral(
                   "SELECT %1, (SELECT COUNT(*) FROM points p WHERE p.site_id = s.id),"
                   " (SELECT COUNT(*) FROM visits v JOIN points p ON p.id = v.point_id WHERE p.site_id = s.id),"
                   " (SELECT MAX(v.time_utc) FROM visits v JOIN points p ON p.id = v.point_id WHERE p.site_id = s.id)"
                   " FROM sites s ORDER BY s.name")
                   .arg(QLatin1String(rows::kSiteColumns))))
        return failed<QList<SiteSummary>>(q);
    QList<SiteSummary> list;
    while (q.next())
        list.append({rows::siteFrom(q, 0), q.value(6).toInt(), q.value(7).toInt(),
                     q.value(8).isNull() ? QDateTime() : rows::timeFrom(q.value(8))});
    return {list, {}};
}

Outcome<QList<TestPoint>> HistoryStore::points(const QString& siteName)
{
    const Outcome<Site> site = findSite(siteName);
    if (!site.ok())
        return {std::nullopt, site.error, site.notFound};
    QSqlQuery q(connection_->db());
    if (!rows::run(q,
                   QStringLiteral("SELECT %1 FROM points WHERE site_id = ? ORDER BY name")
                       .arg(QLatin1String(rows::kPointColumns)),
                   {site.value->id}))
        return failed<QList<TestPoint>>(q);
    QList<TestPoint> list;
    while (q.next())
        list.append(rows::pointFrom(q, 0));
    return {list, {}};
}

Outcome<QList<VisitSummary>> HistoryStore::visits(const QString& siteName, const QString& pointName)
{
    const Outcome<Site> site = findSite(siteName);
    if (!site.ok())
        return {std::nullopt, site.error, site.notFound};
    QSqlDatabase& db = connection_->db();
    if (!pointName.isEmpty()) {
        if (const auto point = rows::pointWhere(db, QStringLiteral("name"), pointName, site.value->id); !point.ok())
            return {std::nullopt, point.error, point.notFound};
    }
    const auto results = resultsWhere(db, QStringLiteral("p.site_id"), site.value->id);
    if (!results.ok())
        return {std::nullopt, results.error};
    QSqlQuery q(db);
    const QString sql = QStringLiteral(
        "SELECT v.id, p.name, v.time_utc, v.operator, p.limit_ohm, p.kind,"
        " (SELECT COUNT(*) FROM readings c WHERE c.visit_id = v.id), %1"
        " FROM visits v JOIN points p ON p.id = v.point_id LEFT JOIN readings r ON r.visit_id = v.id AND r.seq = 0"
        " WHERE p.site_id = ? AND (? = '' OR p.name = ?) ORDER BY v.time_utc, p.name, v.id");
    const QString reading =
        QString::fromLatin1(rows::kReadingColumns).replace(QLatin1String(", "), QLatin1String(", r."));
    if (!rows::run(q, sql.arg(QStringLiteral("r.") + reading),
                   {site.value->id, QString(pointName.isNull() ? QStringLiteral("") : pointName), pointName}))
        return failed<QList<VisitSummary>>(q);
    QList<VisitSummary> list;
    while (q.next()) {
        const std::optional<StoredReading> first =
            q.value(7).isNull() ? std::nullopt : std::optional(rows::readingFrom(q, 7));
        const PointKind kind = pointKindFromName(q.value(5).toString()).value_or(PointKind::Electrode);
        const KeyFigure key = keyFigure(kind, results.value->value(q.value(0).toString()), first);
        list.append({q.value(0).toString(), q.value(1).toString(), rows::timeFrom(q.value(2)), q.value(3).toString(),
                     q.value(6).toInt(), key.name, key.value, key.unit, verdict(key, rows::number(q.value(4)))});
    }
    return {list, {}};
}

Outcome<QList<StoredReading>> HistoryStore::readings(const QString& visitId)
{
    QSqlQuery q(connection_->db());
    if (!rows::run(q,
                   QStringLiteral("SELECT %1 FROM readings WHERE visit_id = ? ORDER BY seq")
                       .arg(QLatin1String(rows::kReadingColumns)),
                   {visitId}))
        return failed<QList<StoredReading>>(q);
    QList<StoredReading> list;
    while (q.next())
        list.append(rows::readingFrom(q, 0));
    return {list, {}};
}

namespace {

Outcome<QList<Visit>> visitsOfSite(QSqlDatabase& db, const QString& siteId)
{
    QSqlQuery q(db);
    if (!rows::run(q,
                   QStringLiteral("SELECT v.id, v.point_id, v.time_utc, v.operator, v.instrument, v.weather, v.ground,"
                                  " v.notes, v.source FROM visits v JOIN points p ON p.id = v.point_id"
                                  " WHERE p.site_id = ? ORDER BY v.time_utc, v.id"),
                   {siteId}))
        return failed<QList<Visit>>(q);
    QList<Visit> list;
    while (q.next()) {
        const Conditions c{q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                           q.value(6).toString(), q.value(7).toString(), q.value(8).toString()};
        list.append({q.value(0).toString(), q.value(1).toString(), rows::timeFrom(q.value(2)), c, {}, {}});
    }
    return {list, {}};
}

// Every reading of the site's visits in one query, handed to their visits.
QString fillReadings(QSqlDatabase& db, const QString& siteId, QList<Visit>& visits)
{
    QHash<QString, Visit*> byId;
    for (Visit& v : visits)
        byId.insert(v.id, &v);
    QSqlQuery q(db);
    const QString reading =
        QString::fromLatin1(rows::kReadingColumns).replace(QLatin1String(", "), QLatin1String(", r."));
    if (!rows::run(q,
                   QStringLiteral("SELECT r.visit_id, r.%1 FROM readings r JOIN visits v ON v.id = r.visit_id"
                                  " JOIN points p ON p.id = v.point_id WHERE p.site_id = ? ORDER BY r.visit_id, r.seq")
                       .arg(reading),
                   {siteId}))
        return q.lastError().text();
    while (q.next()) {
        if (Visit* v = byId.value(q.value(0).toString()))
            v->readings.append(rows::readingFrom(q, 1));
    }
    return {};
}

} // namespace

Outcome<SiteRecord> HistoryStore::siteRecord(const QString& siteName)
{
    const Outcome<Site> site = findSite(siteName);
    if (!site.ok())
        return {std::nullopt, site.error, site.notFound};
    const Outcome<QList<TestPoint>> points = this->points(siteName);
    Outcome<QList<Visit>> visits = visitsOfSite(connection_->db(), site.value->id);
    const auto results = resultsWhere(connection_->db(), QStringLiteral("p.site_id"), site.value->id);
    if (!points.ok() || !visits.ok() || !results.ok())
        return {std::nullopt, !points.ok() ? points.error : !visits.ok() ? visits.error : results.error};
    if (QString error = fillReadings(connection_->db(), site.value->id, *visits.value); !error.isEmpty())
        return {std::nullopt, error};
    for (Visit& v : *visits.value)
        v.results = results.value->value(v.id);
    return {SiteRecord{*site.value, *points.value, *visits.value}, {}};
}

} // namespace bm::history
