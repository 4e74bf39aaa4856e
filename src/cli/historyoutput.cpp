#include "cli/historyoutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace bm::cli {

namespace {

// A CSV cell, quoted when it holds a separator, a quote or a line end.
QString csvCell(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString timeText(const QDateTime& t) { return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString(); }

QString numberText(const std::optional<double>& v, const QString& none)
{
    return v ? QString::number(*v, 'g', 15) : none;
}

QString verdictText(const std::optional<bool>& pass)
{
    return pass ? (*pass ? QStringLiteral("pass") : QStringLiteral("fail")) : QString();
}

QByteArray rows(ListFormat format, const QStringList& header, const QList<QStringList>& rows,
                const QList<QJsonObject>& objects)
{
    if (format == ListFormat::Json) {
        QJsonArray list;
        for (const QJsonObject& o : objects)
            list.append(o);
        return QJsonDocument(list).toJson(QJsonDocument::Indented);
    }
    QString text;
    const QString separator = format == ListFormat::Csv ? QStringLiteral(",") : QStringLiteral("\t");
    for (QStringList row : QList<QStringList>{header} + rows) {
        if (format == ListFormat::Csv)
            for (QString& cell : row)
                cell = csvCell(cell);
        text += row.join(separator) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QJsonValue json(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null); }

} // namespace

QByteArray sitesOutput(ListFormat format, const QList<history::SiteSummary>& sites)
{
    QList<QStringList> table;
    QList<QJsonObject> objects;
    for (const history::SiteSummary& s : sites) {
        table.append({s.site.name, QString::number(s.pointCount), QString::number(s.visitCount),
                      timeText(s.lastVisitUtc), s.site.id});
        objects.append({{QStringLiteral("id"), s.site.id},
                        {QStringLiteral("name"), s.site.name},
                        {QStringLiteral("address"), s.site.address},
                        {QStringLiteral("points"), s.pointCount},
                        {QStringLiteral("visits"), s.visitCount},
                        {QStringLiteral("last_visit_utc"), timeText(s.lastVisitUtc)}});
    }
    return rows(format,
                {QStringLiteral("site"), QStringLiteral("points"), QStringLiteral("visits"),
                 QStringLiteral("last_visit_utc"), QStringLiteral("id")},
                table, objects);
}

QByteArray visitsOutput(ListFormat format, const QList<history::VisitSummary>& visits)
{
    QList<QStringList> table;
    QList<QJsonObject> objects;
    for (const history::VisitSummary& v : visits) {
        const QString value = v.keyName.isEmpty() ? QString() : numberText(v.keyValue, QStringLiteral("OL"));
        table.append({timeText(v.timeUtc), v.pointName, QString::number(v.readingCount), v.keyName, value, v.keyUnit,
                      verdictText(v.pass), v.operatorName, v.id});
        objects.append(
            {{QStringLiteral("id"), v.id},
             {QStringLiteral("point"), v.pointName},
             {QStringLiteral("time_utc"), timeText(v.timeUtc)},
             {QStringLiteral("operator"), v.operatorName},
             {QStringLiteral("readings"), v.readingCount},
             {QStringLiteral("key"), v.keyName},
             {QStringLiteral("value"), json(v.keyValue)},
             {QStringLiteral("unit"), v.keyUnit},
             {QStringLiteral("verdict"), v.pass ? QJsonValue(verdictText(v.pass)) : QJsonValue(QJsonValue::Null)}});
    }
    return rows(format,
                {QStringLiteral("time_utc"), QStringLiteral("point"), QStringLiteral("readings"), QStringLiteral("key"),
                 QStringLiteral("value"), QStringLiteral("unit"), QStringLiteral("verdict"), QStringLiteral("operator"),
                 QStringLiteral("id")},
                table, objects);
}

} // namespace bm::cli
