#pragma once

#include "history/databasetarget.h"

#include <QSqlDatabase>
#include <QString>

namespace bm::history {

// One named Qt SQL connection, removed again when this goes.
class Connection {
public:
    explicit Connection(const DatabaseTarget& target);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens and sets the engine up; the reason when it cannot.
    QString open();
    QSqlDatabase& db() { return db_; }
    const DatabaseTarget& target() const { return target_; }
    bool sqlite() const { return target_.engine == DatabaseTarget::Engine::Sqlite; }

    // A transaction that takes the write lock at once, so two SQLite writers wait
    // for each other instead of failing on a stale snapshot.
    bool begin();
    bool commit() { return db_.commit(); }
    void rollback() { db_.rollback(); }

    // Write-ahead logging: readers and a writer at the same time. Set only once the
    // database is known to be ours, since it rewrites the file's header.
    QString enableWal();

private:
    DatabaseTarget target_;
    QString name_;
    QSqlDatabase db_;
};

} // namespace bm::history
