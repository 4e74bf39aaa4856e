#include "history/sitepackage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUuid>

#include <cmath>

namespace bm::history {

namespace {

const QString kFormatName = QStringLiteral("brackenmoor-site-history");

QJsonValue number(const std::optional<double>& v)
{
    return v && std::isfinite(*v) ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject readingJson(const StoredReading& r)
{
    return {{QStringLiteral("record"), r.record},
            {QStringLiteral("kind"), r.kind},
            {QStringLiteral("value"), number(r.value)},
            {QStringLiteral("rc_ohm"), number(r.rcOhm)},
            {QStringLiteral("rp_ohm"), number(r.rpOhm)},
            {QStringLiteral("spacing_m"), number(r.spacingM)},
            {QStringLiteral("flags"), r.flags},
            {QStringLiteral("main_text"), r.mainText},
            {QStringLiteral("rc_text"), r.rcText},
            {QStringLiteral("rp_text"), r.rpText},
            {QStringLiteral("spacing_text"), r.spacingText}};
}

QJsonObject visitJson(const Visit& v)
{
    QJsonArray readings, results;
    for (const StoredReading& r : v.readings)
        readings.append(readingJson(r));
    for (const Result& r : v.results) {
        QJsonObject figures;
        for (const Figure& f : r.figures)
            figures.insert(f.name, number(f.value));
        results.append(QJsonObject{
            {QStringLiteral("id"), r.id}, {QStringLiteral("kind"), r.kind}, {QStringLiteral("figures"), figures}});
    }
    const Conditions& c = v.conditions;
    return {{QStringLiteral("id"), v.id},
            {QStringLiteral("point_id"), v.pointId},
            {QStringLiteral("time_utc"), v.timeUtc.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("operator"), c.operatorName},
            {QStringLiteral("instrument"), c.instrument},
            {QStringLiteral("weather"), c.weather},
            {QStringLiteral("ground"), c.ground},
            {QStringLiteral("notes"), c.notes},
            {QStringLiteral("source"), c.source},
            {QStringLiteral("readings"), readings},
            {QStringLiteral("results"), results}};
}

} // namespace

QByteArray sitePackage(const SiteRecord& record)
{
    const Site& s = record.site;
    QJsonArray points, visits;
    for (const TestPoint& p : record.points)
        points.append(QJsonObject{{QStringLiteral("id"), p.id},
                                  {QStringLiteral("name"), p.name},
                                  {QStringLiteral("kind"), pointKindName(p.kind)},
                                  {QStringLiteral("limit_ohm"), number(p.limitOhm)}});
    for (const Visit& v : record.visits)
        visits.append(visitJson(v));
    const QJsonObject site{{QStringLiteral("id"), s.id},
                           {QStringLiteral("name"), s.name},
                           {QStringLiteral("address"), s.address},
                           {QStringLiteral("latitude"), number(s.latitude)},
                           {QStringLiteral("longitude"), number(s.longitude)},
                           {QStringLiteral("notes"), s.notes}};
    const QJsonObject root{{QStringLiteral("format"), kFormatName},
                           {QStringLiteral("version"), kPackageVersion},
                           {QStringLiteral("site"), site},
                           {QStringLiteral("points"), points},
                           {QStringLiteral("visits"), visits}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace bm::history
