#pragma once

#include <QString>

namespace bm::history {

class Connection;

// The schema this program writes. Version 1 held sites, points, visits and
// readings; version 2 added the computed results.
constexpr int kSchemaVersion = 2;

struct SchemaCheck {
    int version = 0; // 0: an empty database
    QString error;
    bool tooNew = false;
};

// The database's schema version, read without writing anything.
SchemaCheck readSchemaVersion(Connection& connection);

// Brings the database up to kSchemaVersion, one step per transaction; refuses a
// newer one untouched. Empty on success.
SchemaCheck migrate(Connection& connection);

} // namespace bm::history
