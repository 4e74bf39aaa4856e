#pragma once

#include "history/connection.h"
#include "history/databasetarget.h"
#include "history/historytypes.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace bm::history {

// A value, or why there is none: a name not found, or the database failing.
template <typename T>
struct Outcome {
    std::optional<T> value;
    QString error;
    bool notFound = false;
    bool ok() const { return value.has_value(); }
};

// The point a visit is stored under, found or made by name within its site.
struct PointChoice {
    QString siteName;
    QString pointName;
    std::optional<PointKind> kind;  // when the point is new; electrode by default
    std::optional<double> limitOhm; // set or changed when given
};

struct ImportCounts {
    int sites = 0;
    int points = 0;
    int visits = 0;
    int visitsKept = 0; // already there: kept as they were
};

class HistoryStore;

struct StoreOpening {
    std::unique_ptr<HistoryStore> store;
    QString error;
    bool tooNew = false;
};

// The site history in one database. Every change is one transaction: a visit or
// an import is stored whole or not at all. Every value is a bound parameter.
class HistoryStore {
public:
    // Opens, refuses a newer schema without writing, migrates an older one.
    static StoreOpening open(const DatabaseTarget& target);

    // Stores the visit under the point; returns its id.
    Outcome<QString> addVisit(const PointChoice& point, Visit visit);
    // Merges by key: what is already there stays as it is.
    Outcome<ImportCounts> importSite(const SiteRecord& record);

    Outcome<QList<SiteSummary>> sites();
    Outcome<QList<TestPoint>> points(const QString& siteName);
    // In time order; every point of the site when pointName is empty.
    Outcome<QList<VisitSummary>> visits(const QString& siteName, const QString& pointName = {});
    Outcome<QList<StoredReading>> readings(const QString& visitId);
    Outcome<SiteRecord> siteRecord(const QString& siteName);

    Connection& connection() { return *connection_; }

private:
    explicit HistoryStore(std::unique_ptr<Connection> connection);
    static StoreOpening openOnce(const DatabaseTarget& target);
    template <typename T, typename Work>
    Outcome<T> inTransaction(Work work);
    Outcome<Site> findSite(const QString& name);

    std::unique_ptr<Connection> connection_;
};

} // namespace bm::history
