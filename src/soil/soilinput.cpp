#include "soil/soilinput.h"

#include "soil/soilmessages.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <cmath>
#include <optional>

namespace bm::soil {

namespace {

const QString kSpacingColumn = QStringLiteral("spacing_m");
const QString kRhoColumn = QStringLiteral("resistivity_ohm_m");
const QString kAb2Column = QStringLiteral("ab2_m");
const QString kMn2Column = QStringLiteral("mn2_m");
const QString kResistanceColumn = QStringLiteral("resistance_ohm");

// GBK for the two signs the saved table holds (ρ, Ω) when Qt has no GBK codec.
QString decodeGbkFallback(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += QChar(b);
            continue;
        }
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        text += b == 0xA6 && next == 0xD1 ? QChar(0x03C1) : b == 0xA6 && next == 0xB8 ? QChar(0x03A9) : QChar('?');
        ++i;
    }
    return text;
}

// UTF-8 when the bytes are valid UTF-8 (GBK's ρ and Ω never are), else GBK.
QString decodeText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GBK");
    if (gbk.isValid())
        return gbk.decode(bytes);
    return decodeGbkFallback(bytes);
}

std::optional<double> toNumber(QString text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString unquoted(const QString& field)
{
    QString f = field.trimmed();
    if (f.size() >= 2 && f.startsWith(QLatin1Char('"')) && f.endsWith(QLatin1Char('"')))
        f = f.mid(1, f.size() - 2).trimmed();
    return f;
}

bool overloaded(const QString& field) { return field.startsWith(QLatin1String("OL"), Qt::CaseInsensitive); }

// Where each known column stands in the header; -1 when absent.
struct CsvColumns {
    qsizetype spacing = -1;
    qsizetype rho = -1;
    qsizetype array = -1;
    qsizetype mn2 = -1;
    qsizetype ab2 = -1;
    qsizetype resistance = -1;
    qsizetype traverse = -1;
};

// One row's cells by column, unquoted; empty for an absent column.
struct CsvCells {
    QString spacing, rho, array, mn2, ab2, resistance, traverse;
};

CsvCells cellsOf(const QStringList& fields, const CsvColumns& c)
{
    const auto cell = [&fields](qsizetype at) { return at < 0 ? QString() : unquoted(fields.value(at)); };
    return {cell(c.spacing), cell(c.rho),        cell(c.array),   cell(c.mn2),
            cell(c.ab2),     cell(c.resistance), cell(c.traverse)};
}

// A cell's number, or false with input.error naming the line and column.
bool numberIn(const QString& text, const QString& column, int line, SoilInput& input, double& value)
{
    if (text.isEmpty()) {
        input.error = messages::missingValue(line, column);
        return false;
    }
    const auto v = toNumber(text);
    if (!v) {
        input.error = messages::notANumber(line, column, text);
        return false;
    }
    value = *v;
    return true;
}

// The array of a row: as named, else Schlumberger when only AB/2 is given.
std::optional<Array> arrayOf(const CsvCells& c)
{
    const QString name = c.array.toLower();
    if (name == QLatin1String("wenner"))
        return Array::Wenner;
    if (name == QLatin1String("schlumberger"))
        return Array::Schlumberger;
    if (!name.isEmpty())
        return std::nullopt;
    return c.spacing.isEmpty() && !c.ab2.isEmpty() ? Array::Schlumberger : Array::Wenner;
}

// One CSV row; false with input.error set when the row is bad. A resistance
// counts only where the row has a spacing and no resistivity, so the rows of a
// download's other kinds of record are skipped as before.
bool readCsvRow(const QStringList& fields, const CsvColumns& columns, int line, SoilInput& input)
{
    const CsvCells c = cellsOf(fields, columns);
    const std::optional<Array> array = arrayOf(c);
    if (!array) {
        input.error = messages::unknownArray(line, c.array);
        return false;
    }
    const bool schlumberger = *array == Array::Schlumberger;
    const bool ab2 = schlumberger && !c.ab2.isEmpty();
    const QString& spacing = ab2 ? c.ab2 : c.spacing;
    const QString& spacingColumn = ab2 || (schlumberger && columns.spacing < 0) ? kAb2Column : kSpacingColumn;
    const bool byResistance = c.rho.isEmpty() && !c.resistance.isEmpty();
    const QString& value = byResistance ? c.resistance : c.rho;
    const QString& valueColumn = byResistance || columns.rho < 0 ? kResistanceColumn : kRhoColumn;
    if ((spacing.isEmpty() && c.rho.isEmpty()) || overloaded(spacing) || overloaded(value) || overloaded(c.mn2)) {
        ++input.skippedRows;
        return true;
    }
    double a = 0.0, reading = 0.0, mn2 = 0.0;
    if (!numberIn(spacing, spacingColumn, line, input, a) || !numberIn(value, valueColumn, line, input, reading))
        return false;
    if (schlumberger && !numberIn(c.mn2, kMn2Column, line, input, mn2))
        return false;
    if (schlumberger && a > 0.0 && !(mn2 > 0.0 && mn2 < a)) {
        input.error = messages::badMn2(line);
        return false;
    }
    const QString traverse = c.traverse.isEmpty() ? QStringLiteral("A") : c.traverse;
    if (!validTraverse(traverse)) {
        input.error = messages::badTraverse(line, traverse);
        return false;
    }
    if (byResistance)
        reading *= geometricFactor(*array, a, mn2);
    if (auto p = pointFromReading(a, reading, false)) {
        p->array = *array;
        p->mn2_m = schlumberger ? mn2 : 0.0;
        p->traverse = traverse;
        input.points.push_back(*p);
    } else {
        ++input.skippedRows;
    }
    return true;
}

void readCsv(const QStringList& lines, int headerAt, SoilInput& input)
{
    QStringList names = lines[headerAt].split(QLatin1Char(','));
    for (QString& n : names)
        n = unquoted(n).toLower();
    const CsvColumns columns{names.indexOf(kSpacingColumn),
                             names.indexOf(kRhoColumn),
                             names.indexOf(QStringLiteral("array")),
                             names.indexOf(kMn2Column),
                             names.indexOf(kAb2Column),
                             names.indexOf(kResistanceColumn),
                             names.indexOf(QStringLiteral("traverse"))};
    if ((columns.spacing < 0 && columns.ab2 < 0) || (columns.rho < 0 && columns.resistance < 0)) {
        input.error =
            messages::missingColumn(headerAt + 1, columns.spacing < 0 && columns.ab2 < 0 ? kSpacingColumn : kRhoColumn);
        return;
    }
    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        if (!readCsvRow(lines[i].split(QLatin1Char(',')), columns, i + 1, input))
            return;
    }
}

// A value cell of the saved table: a number (or OL) and a unit, or a unit alone
// when the tester sent a value the program could not show.
const QRegularExpression& valuePattern()
{
    static const QRegularExpression re(QStringLiteral("(?<!\\S)(?:(OL) ?|([0-9]+(?:[.,][0-9]+)?) ?)?"
                                                      "([kK]?[\\x{03A9}\\x{2126}]m?|mA|m|V)(?!\\S)|(?<!\\S)OL(?!\\S)"));
    return re;
}

struct TableValue {
    bool present = false;
    bool overloaded = false;
    std::optional<double> value;
};

// One record line of the saved table; false with input.error set when it is bad.
bool readTableRow(const QString& text, int line, SoilInput& input)
{
    const QString body = text.trimmed();
    const qsizetype gap = body.indexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString number = gap < 0 ? body : body.left(gap);
    bool isRecord = false;
    number.toInt(&isRecord);
    if (!isRecord) {
        input.error = messages::notARecord(line, number);
        return false;
    }
    QString rest = gap < 0 ? QString() : body.mid(gap);
    TableValue rho, spacing;
    for (const QRegularExpressionMatch& m : valuePattern().globalMatch(rest)) {
        const QString unit = m.captured(3);
        const bool isRho = unit.size() > 1 && unit.endsWith(QLatin1Char('m'));
        TableValue* target = isRho ? &rho : unit == QLatin1String("m") ? &spacing : nullptr;
        if (!target || target->present)
            continue;
        target->present = true;
        target->overloaded = !m.captured(1).isEmpty();
        if (const auto v = m.captured(2).isEmpty() ? std::nullopt : toNumber(m.captured(2)))
            target->value = *v * (unit.startsWith(QLatin1Char('K'), Qt::CaseInsensitive) ? 1000.0 : 1.0);
    }
    const QString left = rest.remove(valuePattern()).trimmed();
    if (!left.isEmpty()) {
        input.error = messages::unreadableValue(line, left.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0));
        return false;
    }
    const auto p = rho.value && spacing.value
                       ? pointFromReading(*spacing.value, *rho.value, rho.overloaded || spacing.overloaded)
                       : std::nullopt;
    if (p)
        input.points.push_back(*p);
    else
        ++input.skippedRows;
    return true;
}

void readTable(const QStringList& lines, int headerAt, SoilInput& input)
{
    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty() && !readTableRow(lines[i], i + 1, input))
            return;
    }
}

} // namespace

SoilInput parseSoilInput(const QByteArray& bytes)
{
    SoilInput input;
    QStringList lines = decodeText(bytes).split(QLatin1Char('\n'));
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    int headerAt = 0;
    while (headerAt < lines.size() && lines[headerAt].trimmed().isEmpty())
        ++headerAt;
    if (headerAt == lines.size()) {
        input.error = messages::emptyInput();
        return input;
    }
    const QString header = lines[headerAt].trimmed();
    if (header.startsWith(QLatin1String("NO.")))
        readTable(lines, headerAt, input);
    else if (header.contains(QLatin1Char(',')) || header.contains(kSpacingColumn, Qt::CaseInsensitive)
             || header.contains(kRhoColumn, Qt::CaseInsensitive) || header.contains(kAb2Column, Qt::CaseInsensitive))
        readCsv(lines, headerAt, input);
    else
        input.error = messages::unknownHeader(headerAt + 1);
    if (input.ok() && input.points.empty())
        input.error = messages::noUsableRows();
    if (!input.ok())
        input.points.clear();
    return input;
}

} // namespace bm::soil
