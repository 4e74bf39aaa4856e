#include "history/storerows.h"

#include <QSqlError>

#include <cmath>

namespace bm::history::rows {

const char* const kSiteColumns = "id, name, address, latitude, longitude, notes";
const char* const kPointColumns = "id, site_id, name, kind, limit_ohm";
const char* const kReadingColumns =
    "record, kind, value, rc_ohm, rp_ohm, spacing_m, flags, main_text, rc_text, rp_text, spacing_text";

bool run(QSqlQuery& q, const QString& sql, const QVariantList& values)
{
    if (!q.prepare(sql))
        return false;
    for (const QVariant& v : values)
        q.addBindValue(v);
    return q.exec();
}

QVariant number(const std::optional<double>& v)
{
    if (v && std::isfinite(*v))
        return *v;
    return QVariant(QMetaType::fromType<double>());
}

std::optional<double> number(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

QString timeText(const QDateTime& utc) { return utc.toUTC().toString(Qt::ISODateWithMs); }

QDateTime timeFrom(const QVariant& text) { return QDateTime::fromString(text.toString(), Qt::ISODateWithMs).toUTC(); }

QString insertSite(QSqlDatabase& db, const Site& s)
{
    QSqlQuery q(db);
    const bool ok = run(
        q,
        QStringLiteral("INSERT INTO sites (id, name, address, latitude, longitude, notes) VALUES (?, ?, ?, ?, ?, ?)"),
        {s.id, s.name, s.address, number(s.latitude), number(s.longitude), s.notes});
    return ok ? QString() : q.lastError().text();
}

QString insertPoint(QSqlDatabase& db, const TestPoint& p)
{
    QSqlQuery q(db);
    const bool ok =
        run(q, QStringLiteral("INSERT INTO points (id, site_id, name, kind, limit_ohm) VALUES (?, ?, ?, ?, ?)"),
            {p.id, p.siteId, p.name, pointKindName(p.kind), number(p.limitOhm)});
    return ok ? QString() : q.lastError().text();
}

namespace {

QString insertReadings(QSqlDatabase& db, const Visit& v)
{
    QSqlQuery q(db);
    // Prepared once: ten thousand readings are one statement run ten thousand times.
    if (!q.prepare(
            QStringLiteral("INSERT INTO readings (visit_id, seq, %1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(QLatin1String(kReadingColumns))))
        return q.lastError().text();
    for (qsizetype i = 0; i < v.readings.size(); ++i) {
        const StoredReading& r = v.readings[i];
        const QVariantList values{v.id,
                                  int(i),
                                  r.record,
                                  r.kind,
                                  number(r.value),
                                  number(r.rcOhm),
                                  number(r.rpOhm),
                                  number(r.spacingM),
                                  r.flags,
                                  r.mainText,
                                  r.rcText,
                                  r.rpText,
                                  r.spacingText};
        for (int k = 0; k < values.size(); ++k)
            q.bindValue(k, values[k]);
        if (!q.exec())
            return q.lastError().text();
    }
    return {};
}

QString insertResults(QSqlDatabase& db, const Visit& v)
{
    QSqlQuery q(db);
    for (const Result& r : v.results) {
        if (!run(q, QStringLiteral("INSERT INTO results (id, visit_id, kind) VALUES (?, ?, ?)"), {r.id, v.id, r.kind}))
            return q.lastError().text();
        for (const Figure& f : r.figures) {
            if (!run(q, QStringLiteral("INSERT INTO result_figures (result_id, name, value) VALUES (?, ?, ?)"),
                     {r.id, f.name, number(f.value)}))
                return q.lastError().text();
        }
    }
    return {};
}

} // namespace

QString insertVisit(QSqlDatabase& db, const Visit& v)
{
    QSqlQuery q(db);
    const Conditions& c = v.conditions;
    if (!run(q,
             QStringLiteral(
                 "INSERT INTO visits (id, point_id, time_utc, operator, instrument, weather, ground, notes, source)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {v.id, v.pointId, timeText(v.timeUtc), c.operatorName, c.instrument, c.weather, c.ground, c.notes,
              c.source}))
        return q.lastError().text();
    const QString error = insertReadings(db, v);
    return error.isEmpty() ? insertResults(db, v) : error;
}

Site siteFrom(const QSqlQuery& q, int at)
{
    return {q.value(at).toString(),  q.value(at + 1).toString(), q.value(at + 2).toString(),
            number(q.value(at + 3)), number(q.value(at + 4)),    q.value(at + 5).toString()};
}

TestPoint pointFrom(const QSqlQuery& q, int at)
{
    return {q.value(at).toString(), q.value(at + 1).toString(), q.value(at + 2).toString(),
            pointKindFromName(q.value(at + 3).toString()).value_or(PointKind::Electrode), number(q.value(at + 4))};
}

StoredReading readingFrom(const QSqlQuery& q, int at)
{
    return {q.value(at).toInt(),        q.value(at + 1).toString(), number(q.value(at + 2)),
            number(q.value(at + 3)),    number(q.value(at + 4)),    number(q.value(at + 5)),
            q.value(at + 6).toInt(),    q.value(at + 7).toString(), q.value(at + 8).toString(),
            q.value(at + 9).toString(), q.value(at + 10).toString()};
}

Outcome<Site> siteWhere(QSqlDatabase& db, const QString& column, const QString& value)
{
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("SELECT %1 FROM sites WHERE %2 = ?").arg(QLatin1String(kSiteColumns), column), {value}))
        return {std::nullopt, q.lastError().text()};
    if (!q.next())
        return {std::nullopt, QStringLiteral("no site named '%1'").arg(value), true};
    return {siteFrom(q, 0), {}};
}

Outcome<TestPoint> pointWhere(QSqlDatabase& db, const QString& column, const QString& value, const QString& siteId)
{
    QSqlQuery q(db);
    const QString sql = QStringLiteral("SELECT %1 FROM points WHERE %2 = ?").arg(QLatin1String(kPointColumns), column);
    const bool ok =
        siteId.isEmpty() ? run(q, sql, {value}) : run(q, sql + QStringLiteral(" AND site_id = ?"), {value, siteId});
    if (!ok)
        return {std::nullopt, q.lastError().text()};
    if (!q.next())
        return {std::nullopt, QStringLiteral("no test point named '%1'").arg(value), true};
    return {pointFrom(q, 0), {}};
}

Outcome<bool> exists(QSqlDatabase& db, const QString& table, const QString& id)
{
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("SELECT 1 FROM %1 WHERE id = ?").arg(table), {id}))
        return {std::nullopt, q.lastError().text()};
    return {q.next(), {}};
}

} // namespace bm::history::rows
