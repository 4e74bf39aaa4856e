// The package reader: every field checked, the first fault named with its place.
#include "history/sitepackage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUuid>

#include <cmath>

namespace bm::history {

namespace {

// Reads fields of one object; the first fault is kept with its path.
class Fields {
public:
    Fields(const QJsonObject& object, const QString& path, QString& error) : o_(object), path_(path), error_(error) {}

    QString text(const char* key, bool required = false)
    {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (!v.isString() && !(v.isUndefined() && !required))
            fail(key, "a text is needed");
        else if (required && v.toString().isEmpty())
            fail(key, "must not be empty");
        return v.toString();
    }

    QString id(const char* key)
    {
        const QString t = text(key, true);
        if (error_.isEmpty() && QUuid::fromString(t).isNull())
            fail(key, "not a UUID");
        return t;
    }

    std::optional<double> number(const char* key)
    {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isNull() || v.isUndefined())
            return std::nullopt;
        if (!v.isDouble() || !std::isfinite(v.toDouble()))
            fail(key, "a number or null is needed");
        return v.toDouble();
    }

    int whole(const char* key, int lo, int hi)
    {
        const QJsonValue v = o_.value(QLatin1String(key));
        const double d = v.toDouble(-1.0);
        if (!v.isDouble() || d != std::floor(d) || d < lo || d > hi)
            fail(key, qPrintable(QStringLiteral("a whole number from %1 to %2 is needed").arg(lo).arg(hi)));
        return int(d);
    }

    QJsonArray array(const char* key)
    {
        if (!o_.value(QLatin1String(key)).isArray())
            fail(key, "a list is needed");
        return o_.value(QLatin1String(key)).toArray();
    }

    QJsonObject object(const char* key)
    {
        if (!o_.value(QLatin1String(key)).isObject())
            fail(key, "an object is needed");
        return o_.value(QLatin1String(key)).toObject();
    }

    QString path(const char* key) const { return path_ + QLatin1Char('.') + QLatin1String(key); }
    void fail(const char* key, const char* what)
    {
        if (error_.isEmpty())
            error_ = QStringLiteral("%1: %2").arg(path(key), QLatin1String(what));
    }

private:
    QJsonObject o_;
    QString path_;
    QString& error_;
};

QJsonObject element(const QJsonArray& list, qsizetype i, const QString& path, QString& error)
{
    if (!list.at(i).isObject() && error.isEmpty())
        error = QStringLiteral("%1[%2]: an object is needed").arg(path).arg(i);
    return list.at(i).toObject();
}

StoredReading readReading(Fields f)
{
    StoredReading r;
    r.record = f.whole("record", 0, 1'000'000);
    r.kind = f.text("kind", true);
    static const QSet<QString> kinds{QStringLiteral("voltage"), QStringLiteral("resistance"),
                                     QStringLiteral("resistivity"), QStringLiteral("none")};
    if (!kinds.contains(r.kind))
        f.fail("kind", "voltage, resistance, resistivity or none is needed");
    r.value = f.number("value");
    r.rcOhm = f.number("rc_ohm");
    r.rpOhm = f.number("rp_ohm");
    r.spacingM = f.number("spacing_m");
    r.flags = f.whole("flags", 0, 255);
    r.mainText = f.text("main_text");
    r.rcText = f.text("rc_text");
    r.rpText = f.text("rp_text");
    r.spacingText = f.text("spacing_text");
    return r;
}

Result readResult(Fields f, const QString& path, QString& error)
{
    Result r{f.id("id"), f.text("kind", true), {}};
    const QJsonObject figures = f.object("figures");
    for (auto it = figures.begin(); it != figures.end(); ++it) {
        if (!it.value().isNull() && !(it.value().isDouble() && std::isfinite(it.value().toDouble())) && error.isEmpty())
            error = QStringLiteral("%1.figures.%2: a number or null is needed").arg(path, it.key());
        r.figures.append({it.key(), it.value().isNull() ? std::nullopt : std::optional(it.value().toDouble())});
    }
    return r;
}

Visit readVisit(Fields f, const QString& path, QString& error)
{
    Visit v;
    v.id = f.id("id");
    v.pointId = f.id("point_id");
    v.timeUtc = QDateTime::fromString(f.text("time_utc", true), Qt::ISODateWithMs);
    if (!v.timeUtc.isValid())
        f.fail("time_utc", "an ISO 8601 time is needed");
    v.conditions = {f.text("operator"), f.text("instrument"), f.text("weather"),
                    f.text("ground"),   f.text("notes"),      f.text("source")};
    const QJsonArray readings = f.array("readings");
    for (qsizetype i = 0; i < readings.size() && error.isEmpty(); ++i) {
        const QString at = QStringLiteral("%1.readings[%2]").arg(path).arg(i);
        v.readings.append(readReading(Fields(element(readings, i, f.path("readings"), error), at, error)));
    }
    const QJsonArray results = f.array("results");
    for (qsizetype i = 0; i < results.size() && error.isEmpty(); ++i) {
        const QString at = QStringLiteral("%1.results[%2]").arg(path).arg(i);
        v.results.append(readResult(Fields(element(results, i, f.path("results"), error), at, error), at, error));
    }
    return v;
}

// Keys unique within the package, and every visit under one of its points.
QString crossCheck(const SiteRecord& r)
{
    QSet<QString> points, ids;
    for (const TestPoint& p : r.points) {
        if (points.contains(p.id))
            return QStringLiteral("points: the id %1 is used twice").arg(p.id);
        points.insert(p.id);
    }
    for (const Visit& v : r.visits) {
        if (!points.contains(v.pointId))
            return QStringLiteral("visits: %1 belongs to a point the package does not hold").arg(v.id);
        QStringList keys{v.id};
        for (const Result& x : v.results)
            keys << x.id;
        for (const QString& id : keys) {
            if (ids.contains(id))
                return QStringLiteral("visits: the id %1 is used twice").arg(id);
            ids.insert(id);
        }
    }
    return {};
}

SiteRecord readRecord(Fields root, QString& error)
{
    SiteRecord r;
    Fields site(root.object("site"), QStringLiteral("site"), error);
    r.site = {site.id("id"),           site.text("name", true),  site.text("address"),
              site.number("latitude"), site.number("longitude"), site.text("notes")};
    const QJsonArray points = root.array("points");
    for (qsizetype i = 0; i < points.size() && error.isEmpty(); ++i) {
        Fields p(element(points, i, QStringLiteral("points"), error), QStringLiteral("points[%1]").arg(i), error);
        TestPoint point{p.id("id"), r.site.id, p.text("name", true), PointKind::Electrode, p.number("limit_ohm")};
        const auto kind = pointKindFromName(p.text("kind", true));
        if (!kind)
            p.fail("kind", "electrode or soil is needed");
        point.kind = kind.value_or(PointKind::Electrode);
        r.points.append(point);
    }
    const QJsonArray visits = root.array("visits");
    for (qsizetype i = 0; i < visits.size() && error.isEmpty(); ++i) {
        const QString at = QStringLiteral("visits[%1]").arg(i);
        r.visits.append(readVisit(Fields(element(visits, i, QStringLiteral("visits"), error), at, error), at, error));
    }
    return r;
}

} // namespace

PackageReading readSitePackage(const QByteArray& bytes)
{
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return {std::nullopt, QStringLiteral("not JSON: %1 at byte %2").arg(parse.errorString()).arg(parse.offset)};
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QStringLiteral("format")).toString() != QLatin1String("brackenmoor-site-history"))
        return {std::nullopt, QStringLiteral("not a Brackenmoor site package")};
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != std::floor(version.toDouble()))
        return {std::nullopt, QStringLiteral("version: a whole number from 1 is needed")};
    if (version.toDouble() > kPackageVersion)
        return {std::nullopt, QStringLiteral("package format %1 is newer than this program's %2: update the program")
                                  .arg(version.toDouble())
                                  .arg(kPackageVersion)};
    QString error;
    SiteRecord record = readRecord(Fields(root, QString(), error), error);
    if (error.isEmpty())
        error = crossCheck(record);
    if (!error.isEmpty())
        return {std::nullopt, error.startsWith(QLatin1Char('.')) ? error.mid(1) : error};
    return {record, {}};
}

} // namespace bm::history
