#include "records/csvwriter.h"

#include "model/format.h"
#include "records/recordtable.h"

#include <cmath>

namespace bm {

namespace {

// count × 10^exponent written out exactly: no binary rounding on the way.
QString decimalText(quint32 count, int exponent)
{
    QString digits = QString::number(count);
    if (count == 0)
        return QStringLiteral("0");
    if (exponent >= 0)
        return digits + QString(exponent, QLatin1Char('0'));
    const int fraction = -exponent;
    if (digits.size() <= fraction)
        digits.prepend(QString(fraction - digits.size() + 1, QLatin1Char('0')));
    QString whole = digits.left(digits.size() - fraction);
    QString part = digits.right(fraction);
    while (part.endsWith(QLatin1Char('0')))
        part.chop(1);
    return part.isEmpty() ? whole : whole + QLatin1Char('.') + part;
}

} // namespace

QString siText(const Quantity& q)
{
    const Unit* unit = unitOf(q.format);
    const int decimals = q.format & 0x0F;
    if (!unit || decimals > 3)
        return {};
    if (q.overloaded())
        return QStringLiteral("OL");
    // The multipliers are powers of ten (1e-3, 1, 1e3).
    const int unitExponent = static_cast<int>(std::lround(std::log10(unit->toSi)));
    return decimalText(q.count, unitExponent - decimals);
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Voltage: return QStringLiteral("voltage");
    case Kind::Resistance: return QStringLiteral("resistance");
    case Kind::Resistivity: return QStringLiteral("resistivity");
    case Kind::None: break;
    }
    return QStringLiteral("none");
}

QStringList csvValueFields(const Measurement& m)
{
    QStringList f(6);
    switch (m.kind) {
    case Kind::Voltage: f[0] = siText(m.mainValue); return f;
    case Kind::Resistance: f[1] = siText(m.mainValue); break;
    case Kind::Resistivity:
        f[2] = siText(m.mainValue);
        f[3] = siText(m.spacingValue);
        break;
    case Kind::None: return f;
    }
    f[4] = siText(m.rcValue);
    f[5] = siText(m.rpValue);
    return f;
}

QString csvValueHeader()
{
    return QStringLiteral("voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm");
}

QString csvMeasurementFields(const Measurement& m)
{
    return kindName(m.kind) + QLatin1Char(',') + csvValueFields(m).join(QLatin1Char(','));
}

QString csvTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString csvHeader() { return QStringLiteral("no,kind,") + csvValueHeader(); }

QByteArray recordsCsv(const QList<NumberedMeasurement>& records)
{
    QString text = csvHeader() + QLatin1Char('\n');
    for (const NumberedMeasurement& r : records) {
        text += QString::number(r.number) + QLatin1Char(',') + csvMeasurementFields(r.measurement) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray recordsCsv(const RecordTable& table)
{
    QList<NumberedMeasurement> records;
    for (int k = 1; k < table.Rows(); ++k) {
        if (const Measurement* m = table.record(k))
            records.append({k, *m});
    }
    return recordsCsv(records);
}

} // namespace bm
