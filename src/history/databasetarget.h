#pragma once

#include <QString>

#include <optional>

namespace bm::history {

// Where the history lives: a SQLite file or a PostgreSQL database.
struct DatabaseTarget {
    enum class Engine { Sqlite, Postgres };
    Engine engine = Engine::Sqlite;
    QString path; // SQLite
    QString host; // PostgreSQL: a name, an address or a socket folder
    int port = 5432;
    QString user;
    QString database;
};

struct ParsedTarget {
    std::optional<DatabaseTarget> target;
    QString error;
};

// A SQLite path (or sqlite:PATH), or postgresql://user@host:port/dbname, where the
// host may also come as ?host=/socket/folder as libpq takes it. A password in the
// text is refused: it would show in the process list; libpq finds it in PGPASSWORD
// or the password file instead.
ParsedTarget parseDatabaseTarget(const QString& text);

// The SQLite file in the user's data folder.
QString defaultDatabasePath();

// The target as a user reads it, never with a password.
QString describe(const DatabaseTarget& target);

} // namespace bm::history
