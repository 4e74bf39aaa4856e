#include "history/readingsource.h"

#include <QStringList>

#include <cmath>

namespace bm::history {

namespace {

// The CSV's value columns, in csvValueFields order.
enum Column { Voltage, Resistance, Resistivity, Spacing, Rc, Rp };

// A cell: empty for no value, OL for an overload, else a finite SI number.
bool cellValue(const QString& cell, std::optional<double>* out)
{
    if (cell.isEmpty() || cell == QLatin1String("OL")) {
        *out = std::nullopt;
        return true;
    }
    bool ok = false;
    const double v = cell.toDouble(&ok); // QString::toDouble always reads '.'
    *out = v;
    return ok && std::isfinite(v);
}

// The reading of a kind and its six value cells; empty when a cell is not a number.
std::optional<StoredReading> fromCells(int record, const QString& kind, const QStringList& cells, int flags)
{
    StoredReading r{record, kind, {}, {}, {}, {}, flags, {}, {}, {}, {}};
    const int main = kind == QLatin1String("voltage")       ? Voltage
                     : kind == QLatin1String("resistivity") ? Resistivity
                                                            : Resistance;
    const bool ok = cellValue(cells[main], &r.value) && cellValue(cells[Rc], &r.rcOhm) && cellValue(cells[Rp], &r.rpOhm)
                    && cellValue(cells[Spacing], &r.spacingM);
    if (!ok)
        return std::nullopt;
    r.mainText = cells[main];
    r.rcText = cells[Rc];
    r.rpText = cells[Rp];
    r.spacingText = cells[Spacing];
    return r;
}

struct Header {
    QList<int> at; // no, kind, the six values, then the three flags (-1 when absent)
    QString error;
};

Header header(const QString& line)
{
    const QStringList names = line.split(QLatin1Char(','));
    QStringList wanted = csvHeader().split(QLatin1Char(','));
    wanted << QStringLiteral("noise") << QStringLiteral("high_voltage") << QStringLiteral("low_battery");
    Header h;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        h.at.append(int(names.indexOf(wanted[i])));
        if (i < 8 && h.at.last() < 0 && h.error.isEmpty())
            h.error = QStringLiteral("line 1: the column %1 is missing (a download CSV is needed)").arg(wanted[i]);
    }
    return h;
}

// One data line; the problem is said in *error.
std::optional<StoredReading> line(const QStringList& cells, const QList<int>& at, QString* error)
{
    const auto cell = [&](int i) { return at[i] < 0 ? QString() : cells.value(at[i]); };
    bool ok = false;
    const int record = cell(0).toInt(&ok);
    static const QStringList kinds{QStringLiteral("voltage"), QStringLiteral("resistance"),
                                   QStringLiteral("resistivity"), QStringLiteral("none")};
    if (!ok || record < 1 || record > kMaxRecord)
        *error = QStringLiteral("the record number '%1' is not from 1 to %2").arg(cell(0)).arg(kMaxRecord);
    else if (!kinds.contains(cell(1)))
        *error = QStringLiteral("the kind '%1' is not voltage, resistance, resistivity or none").arg(cell(1));
    if (!error->isEmpty())
        return std::nullopt;
    const int flags = (cell(8) == QLatin1String("1") ? kNoiseFlag : 0)
                      | (cell(9) == QLatin1String("1") ? kHighVoltageFlag : 0)
                      | (cell(10) == QLatin1String("1") ? kLowBatteryFlag : 0);
    QStringList values;
    for (int i = 2; i < 8; ++i)
        values << cell(i);
    auto r = fromCells(record, cell(1), values, flags);
    if (!r)
        *error = QStringLiteral("a value is not a number");
    return r;
}

} // namespace

CsvReadings readingsFromCsv(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    const Header h = header(lines.value(0).trimmed());
    if (!h.error.isEmpty())
        return {std::nullopt, h.error};
    QList<StoredReading> readings;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QString l = lines[n].trimmed();
        if (l.isEmpty())
            continue;
        QString error;
        const auto r = line(l.split(QLatin1Char(',')), h.at, &error);
        if (!r)
            return {std::nullopt, QStringLiteral("line %1: %2").arg(n + 1).arg(error)};
        readings.append(*r);
    }
    if (readings.isEmpty())
        return {std::nullopt, QStringLiteral("the file holds no records")};
    return {readings, {}};
}

QList<StoredReading> readingsFromRecords(const QList<NumberedMeasurement>& records)
{
    QList<StoredReading> readings;
    for (const NumberedMeasurement& n : records) {
        const Measurement& m = n.measurement;
        // The same figures a download CSV would hold, so both routes store alike.
        std::optional<StoredReading> r = fromCells(n.number, kindName(m.kind), csvValueFields(m), m.flags);
        if (!r)
            continue;
        r->mainText = m.main;
        r->rcText = m.rc;
        r->rpText = m.rp;
        r->spacingText = m.spacing;
        readings.append(*r);
    }
    return readings;
}

} // namespace bm::history
