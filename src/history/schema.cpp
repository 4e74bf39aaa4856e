#include "history/schema.h"

#include "history/connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <iterator>

namespace bm::history {

namespace {

// Each step takes the database from version i to i + 1; steps are never edited
// once released, only added. The SQL is common to SQLite and PostgreSQL.
const QStringList kSteps[] = {
    {
        QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
        QStringLiteral("CREATE TABLE sites (id TEXT PRIMARY KEY, name TEXT NOT NULL UNIQUE, address TEXT,"
                       " latitude DOUBLE PRECISION, longitude DOUBLE PRECISION, notes TEXT)"),
        QStringLiteral("CREATE TABLE points (id TEXT PRIMARY KEY, site_id TEXT NOT NULL REFERENCES sites(id),"
                       " name TEXT NOT NULL, kind TEXT NOT NULL, limit_ohm DOUBLE PRECISION, UNIQUE (site_id, name))"),
        QStringLiteral("CREATE TABLE visits (id TEXT PRIMARY KEY, point_id TEXT NOT NULL REFERENCES points(id),"
                       " time_utc TEXT NOT NULL, operator TEXT, instrument TEXT, weather TEXT, ground TEXT,"
                       " notes TEXT, source TEXT)"),
        QStringLiteral("CREATE TABLE readings (visit_id TEXT NOT NULL REFERENCES visits(id), seq INTEGER NOT NULL,"
                       " record INTEGER NOT NULL, kind TEXT NOT NULL, value DOUBLE PRECISION, rc_ohm DOUBLE PRECISION,"
                       " rp_ohm DOUBLE PRECISION, spacing_m DOUBLE PRECISION, flags INTEGER NOT NULL,"
                       " main_text TEXT, rc_text TEXT, rp_text TEXT, spacing_text TEXT, PRIMARY KEY (visit_id, seq))"),
    },
    {
        QStringLiteral("CREATE TABLE results (id TEXT PRIMARY KEY, visit_id TEXT NOT NULL REFERENCES visits(id),"
                       " kind TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE result_figures (result_id TEXT NOT NULL REFERENCES results(id),"
                       " name TEXT NOT NULL, value DOUBLE PRECISION, PRIMARY KEY (result_id, name))"),
        QStringLiteral("CREATE INDEX visits_by_point ON visits (point_id, time_utc)"),
        QStringLiteral("CREATE INDEX results_by_visit ON results (visit_id)"),
    },
};
static_assert(std::size(kSteps) == kSchemaVersion);

SchemaCheck versionOf(Connection& c)
{
    if (!c.db().tables().contains(QStringLiteral("schema_version")))
        return {};
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("SELECT version FROM schema_version")) || !q.next())
        return {0, q.lastError().text().isEmpty() ? QStringLiteral("the schema version is missing")
                                                  : q.lastError().text()};
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        return {version,
                QStringLiteral("the database has schema version %1, newer than this program's %2: "
                               "update the program; the database was left as it is")
                    .arg(version)
                    .arg(kSchemaVersion),
                true};
    return {version, {}};
}

QString applyStep(Connection& c, int from)
{
    QSqlQuery q(c.db());
    for (const QString& sql : kSteps[from]) {
        if (!q.exec(sql))
            return q.lastError().text();
    }
    q.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
    q.addBindValue(from + 1);
    return q.exec() ? QString() : q.lastError().text();
}

// One step in its own transaction, the version read again inside it: another
// program may have migrated in the meantime.
SchemaCheck step(Connection& c)
{
    if (!c.begin())
        return {0, c.db().lastError().text()};
    SchemaCheck check = versionOf(c);
    if (check.error.isEmpty() && check.version < kSchemaVersion)
        check.error = applyStep(c, check.version);
    if (!check.error.isEmpty() || !c.commit()) {
        if (check.error.isEmpty())
            check.error = c.db().lastError().text();
        c.rollback();
        return check;
    }
    return versionOf(c);
}

} // namespace

SchemaCheck readSchemaVersion(Connection& connection) { return versionOf(connection); }

SchemaCheck migrate(Connection& connection)
{
    SchemaCheck check = versionOf(connection);
    // Two programs creating the same new database: the loser's step fails, and
    // its next attempt finds the work done.
    for (int failures = 0; !check.tooNew && failures <= 3;) {
        if (check.error.isEmpty() && check.version == kSchemaVersion)
            return check;
        check = step(connection);
        failures += check.error.isEmpty() ? 0 : 1;
    }
    return check;
}

} // namespace bm::history
