#include "history/connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace bm::history {

Connection::Connection(const DatabaseTarget& target)
    : target_(target), name_(QStringLiteral("history-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    const bool lite = target.engine == DatabaseTarget::Engine::Sqlite;
    db_ = QSqlDatabase::addDatabase(lite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name_);
    if (lite) {
        db_.setDatabaseName(target.path);
        // Another program's write lock is waited for, not reported.
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
        return;
    }
    db_.setHostName(target.host);
    db_.setPort(target.port);
    db_.setUserName(target.user);
    db_.setDatabaseName(target.database);
    db_.setConnectOptions(QStringLiteral("connect_timeout=10"));
}

Connection::~Connection()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

QString Connection::open()
{
    if (!db_.isValid())
        return sqlite() ? QStringLiteral("Qt's SQLite driver (QSQLITE) is not installed")
                        : QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed");
    if (!db_.open())
        return db_.lastError().text();
    QSqlQuery q(db_);
    if (sqlite() && !q.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        return q.lastError().text();
    return {};
}

bool Connection::begin()
{
    if (!sqlite())
        return db_.transaction();
    QSqlQuery q(db_);
    return q.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

QString Connection::enableWal()
{
    if (!sqlite())
        return {};
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
        return q.lastError().text();
    return {};
}

} // namespace bm::history
