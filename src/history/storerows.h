#pragma once

#include "history/historystore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

// Row-level SQL shared by the store's writes and reads; every value bound.
namespace bm::history::rows {

// Prepares sql, binds the values in order and runs it; false with lastError on failure.
bool run(QSqlQuery& q, const QString& sql, const QVariantList& values = {});

// A number column: NULL for none (or an overload's NaN), and back.
QVariant number(const std::optional<double>& v);
std::optional<double> number(const QVariant& v);

// Times are stored as fixed-width ISO 8601 UTC texts, which sort as they read.
QString timeText(const QDateTime& utc);
QDateTime timeFrom(const QVariant& text);

// An error text, empty on success.
QString insertSite(QSqlDatabase& db, const Site& site);
QString insertPoint(QSqlDatabase& db, const TestPoint& point);
QString insertVisit(QSqlDatabase& db, const Visit& visit);

Outcome<Site> siteWhere(QSqlDatabase& db, const QString& column, const QString& value);
Outcome<TestPoint> pointWhere(QSqlDatabase& db, const QString& column, const QString& value,
                              const QString& siteId = {});
// Whether a row with this id is in the table (a fixed name, never user text).
Outcome<bool> exists(QSqlDatabase& db, const QString& table, const QString& id);

Site siteFrom(const QSqlQuery& q, int at);
TestPoint pointFrom(const QSqlQuery& q, int at);
StoredReading readingFrom(const QSqlQuery& q, int at);

// The column lists that siteFrom, pointFrom and readingFrom read, in order.
extern const char* const kSiteColumns;
extern const char* const kPointColumns;
extern const char* const kReadingColumns;

} // namespace bm::history::rows
