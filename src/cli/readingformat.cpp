#include "cli/readingformat.h"

#include "records/csvwriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace bm::cli {

namespace {

QStringList valueColumns() { return csvValueHeader().split(QLatin1Char(',')); }

QString textLine(const QString& stamp, const Measurement& m)
{
    QStringList parts{stamp, kindName(m.kind)};
    const auto add = [&parts](const char* label, const QString& text) {
        if (!text.isEmpty())
            parts << QString::fromUtf8(label) + QLatin1Char('=') + text;
    };
    add(m.kind == Kind::Voltage ? "V" : m.kind == Kind::Resistivity ? "ρ" : "R", m.main);
    add("a", m.spacing);
    add("Rc", m.rc);
    add("Rp", m.rp);
    if (m.noise())
        parts << QStringLiteral("NOISE");
    if (m.highVoltage())
        parts << QStringLiteral("HIGHVOLT");
    if (m.lowBattery())
        parts << QStringLiteral("LOWBAT");
    return parts.join(QLatin1Char(' '));
}

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString jsonLine(const QString& stamp, const Measurement& m)
{
    QJsonObject o{{QStringLiteral("time"), stamp}, {QStringLiteral("kind"), kindName(m.kind)}};
    const QStringList names = valueColumns();
    const QStringList values = csvValueFields(m);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (values[i].isEmpty())
            continue;
        // Numbers as JSON numbers; the overload mark stays a string.
        o.insert(names[i], values[i] == QLatin1String("OL") ? QJsonValue(values[i]) : QJsonValue(values[i].toDouble()));
    }
    o.insert(QStringLiteral("noise"), m.noise());
    o.insert(QStringLiteral("high_voltage"), m.highVoltage());
    o.insert(QStringLiteral("low_battery"), m.lowBattery());
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

} // namespace

QString readingCsvHeader()
{
    return QStringLiteral("time,kind,") + csvValueHeader() + QStringLiteral(",noise,high_voltage,low_battery");
}

QString readingLine(ReadFormat format, const QDateTime& time, const Measurement& m)
{
    const QString stamp = csvTime(time);
    switch (format) {
    case ReadFormat::Text: return textLine(stamp, m);
    case ReadFormat::Json: return jsonLine(stamp, m);
    case ReadFormat::Csv: break;
    }
    return QStringList{stamp, csvMeasurementFields(m), flag(m.noise()), flag(m.highVoltage()), flag(m.lowBattery())}
        .join(QLatin1Char(','));
}

} // namespace bm::cli
