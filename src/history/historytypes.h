#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The site history as plain values: what the store keeps and the package carries.
// Every key is a random UUID text, so databases of several laptops merge cleanly.
namespace bm::history {

struct Site {
    QString id;
    QString name;
    QString address;
    std::optional<double> latitude;
    std::optional<double> longitude;
    QString notes;
};

enum class PointKind { Electrode, Soil };

struct TestPoint {
    QString id;
    QString siteId;
    QString name;
    PointKind kind = PointKind::Electrode;
    std::optional<double> limitOhm;
};

// What the visit was, beside its readings.
struct Conditions {
    QString operatorName;
    QString instrument;
    QString weather;
    QString ground;
    QString notes;
    QString source; // where the readings came from: a file, or the tester's port
};

// One stored record as it arrived: SI values (empty for an overload or a value the
// kind does not have) and the texts as the tester or the file showed them.
struct StoredReading {
    int record = 0;
    QString kind; // voltage, resistance, resistivity or none
    std::optional<double> value;
    std::optional<double> rcOhm;
    std::optional<double> rpOhm;
    std::optional<double> spacingM;
    int flags = 0;
    QString mainText;
    QString rcText;
    QString rpText;
    QString spacingText;
};

struct Figure {
    QString name; // with its unit, e.g. rho1_ohm_m or r_618_ohm
    std::optional<double> value;
};

// Anything computed from a visit's readings: a kind and its named figures.
struct Result {
    QString id;
    QString kind; // soil_model, electrode, design ...
    QList<Figure> figures;
    std::optional<double> figure(const QString& name) const;
};

struct Visit {
    QString id;
    QString pointId;
    QDateTime timeUtc;
    Conditions conditions;
    QList<StoredReading> readings;
    QList<Result> results;
};

// A visit as a list shows it.
struct VisitSummary {
    QString id;
    QString pointName;
    QDateTime timeUtc;
    QString operatorName;
    int readingCount = 0;
    QString keyName; // which figure stands for the visit
    std::optional<double> keyValue;
    QString keyUnit;          // Ω, Ωm or V
    std::optional<bool> pass; // against the point's limit, when there is one
};

struct SiteSummary {
    Site site;
    int pointCount = 0;
    int visitCount = 0;
    QDateTime lastVisitUtc;
};

// A whole site: what a package carries.
struct SiteRecord {
    Site site;
    QList<TestPoint> points;
    QList<Visit> visits;
};

QString pointKindName(PointKind kind);
std::optional<PointKind> pointKindFromName(const QString& name);
// A new random key.
QString newId();

} // namespace bm::history
