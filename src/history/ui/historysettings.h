#pragma once

#include "history/historystore.h"

#include <QString>

#include <memory>

namespace bm::history {

// The window's choice of database, remembered between runs.
class HistorySettings {
public:
    // The URL or path chosen last; the default file when none was.
    static QString databaseUrl();
    static void setDatabaseUrl(const QString& url);

    // The chosen database opened, or why it cannot be (in *error).
    static std::unique_ptr<HistoryStore> open(QString* error);
};

} // namespace bm::history
