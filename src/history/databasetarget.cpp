#include "history/databasetarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace bm::history {

namespace {

ParsedTarget postgresTarget(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return {std::nullopt, QStringLiteral("not a valid PostgreSQL URL: %1").arg(url.errorString())};
    if (!url.password().isEmpty())
        return {std::nullopt,
                QStringLiteral("a password does not belong in the URL: use PGPASSWORD or the password file")};
    DatabaseTarget t;
    t.engine = DatabaseTarget::Engine::Postgres;
    t.user = url.userName();
    t.host = url.host();
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        t.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    t.port = url.port(5432);
    t.database = url.path().mid(1);
    if (t.database.isEmpty() || t.database.contains(QLatin1Char('/')))
        return {std::nullopt, QStringLiteral("the URL names no database: postgresql://user@host:port/dbname")};
    return {t, {}};
}

} // namespace

ParsedTarget parseDatabaseTarget(const QString& text)
{
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://")))
        return postgresTarget(text);
    QString path = text;
    if (path.startsWith(QLatin1String("sqlite:")))
        path = path.mid(7);
    if (path.isEmpty())
        return {std::nullopt, QStringLiteral("the database path is empty")};
    DatabaseTarget t;
    t.path = path;
    return {t, {}};
}

QString defaultDatabasePath()
{
    // The window's data folder, so the command-line tool (another application name)
    // finds the same file.
    const QString own = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("brackenmoor"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(own);
    return QDir(folder).filePath(QStringLiteral("history.sqlite"));
}

QString describe(const DatabaseTarget& target)
{
    if (target.engine == DatabaseTarget::Engine::Sqlite)
        return target.path;
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(target.user, target.host)
        .arg(target.port)
        .arg(target.database);
}

} // namespace bm::history
