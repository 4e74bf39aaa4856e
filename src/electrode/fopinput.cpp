#include "electrode/fopinput.h"

#include <QLocale>
#include <QStringList>

#include <cmath>
#include <optional>

namespace bm::electrode {

namespace {

const QString kDistanceColumn = QStringLiteral("distance_m");
const QString kResistanceColumn = QStringLiteral("resistance_ohm");

QString atLine(int line, const QString& what) { return QStringLiteral("line %1: %2").arg(line).arg(what); }

QString unquoted(const QString& field)
{
    QString f = field.trimmed();
    if (f.size() >= 2 && f.startsWith(QLatin1Char('"')) && f.endsWith(QLatin1Char('"')))
        f = f.mid(1, f.size() - 2).trimmed();
    return f;
}

// The value of one cell, or the row's error.
std::optional<double> cellValue(const QString& text, const QString& column, int line, QString* error)
{
    if (text.isEmpty()) {
        *error = atLine(line, QStringLiteral("%1 is empty").arg(column));
        return std::nullopt;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v)) {
        *error = atLine(line, QStringLiteral("%1 is not a number: '%2'").arg(column, text));
        return std::nullopt;
    }
    return v;
}

// One data row; false with input.error set when the row is bad.
bool readRow(const QStringList& fields, qsizetype distanceAt, qsizetype resistanceAt, int line, double c,
             FopInput& input)
{
    const QString distance = unquoted(fields.value(distanceAt));
    const QString resistance = unquoted(fields.value(resistanceAt));
    if ((distance.isEmpty() && resistance.isEmpty())
        || resistance.startsWith(QLatin1String("OL"), Qt::CaseInsensitive)) {
        ++input.skippedRows;
        return true;
    }
    const auto x = cellValue(distance, kDistanceColumn, line, &input.error);
    const auto r = x ? cellValue(resistance, kResistanceColumn, line, &input.error) : std::nullopt;
    if (!x || !r)
        return false;
    if (!(*x > 0.0 && *x < c)) {
        input.error = atLine(line, QStringLiteral("distance_m %1 is not between 0 and the current-probe distance %2 m")
                                       .arg(distance, QString::number(c, 'g', 10)));
        return false;
    }
    if (!(*r > 0.0)) {
        input.error = atLine(line, QStringLiteral("resistance_ohm %1 is not above 0").arg(resistance));
        return false;
    }
    input.points.push_back({*x, *r});
    return true;
}

void readRows(const QStringList& lines, int headerAt, double c, FopInput& input)
{
    QStringList names = lines[headerAt].split(QLatin1Char(','));
    for (QString& n : names)
        n = unquoted(n).toLower();
    const qsizetype distanceAt = names.indexOf(kDistanceColumn);
    const qsizetype resistanceAt = names.indexOf(kResistanceColumn);
    if (distanceAt < 0 || resistanceAt < 0) {
        input.error = atLine(
            headerAt + 1,
            QStringLiteral("the header has no column %1").arg(distanceAt < 0 ? kDistanceColumn : kResistanceColumn));
        return;
    }
    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty()
            && !readRow(lines[i].split(QLatin1Char(',')), distanceAt, resistanceAt, i + 1, c, input))
            return;
    }
}

} // namespace

FopInput parseFopInput(const QByteArray& bytes, double currentDistance_m)
{
    FopInput input;
    QStringList lines =
        QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes).split(QLatin1Char('\n'));
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    int headerAt = 0;
    while (headerAt < lines.size() && lines[headerAt].trimmed().isEmpty())
        ++headerAt;
    if (headerAt == lines.size())
        input.error = QStringLiteral("The file is empty.");
    else
        readRows(lines, headerAt, currentDistance_m, input);
    if (!input.ok())
        input.points.clear();
    return input;
}

} // namespace bm::electrode
