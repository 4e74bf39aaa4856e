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

bool overloaded(const QString& field)
{
    return field.startsWith(QLatin1String("OL"), Qt::CaseInsensitive);
}

// One CSV row; false with input.error set when the row is bad.
bool readCsvRow(const QStringList& fields, qsizetype spacingAt, qsizetype rhoAt, int line, SoilInput& input)
{
    const QString spacing = unquoted(fields.value(spacingAt));
    const QString rho = unquoted(fields.value(rhoAt));
    if ((spacing.isEmpty() && rho.isEmpty()) || overloaded(spacing) || overloaded(rho)) {
        ++input.skippedRows;
        return true;
    }
    const std::pair<const QString&, const QString&> cells[] = {{kSpacingColumn, spacing}, {kRhoColumn, rho}};
    double values[2] = {};
    for (int i = 0; i < 2; ++i) {
        const auto& [column, text] = cells[i];
        if (text.isEmpty()) {
            input.error = messages::missingValue(line, column);
            return false;
        }
        const auto v = toNumber(text);
        if (!v) {
            input.error = messages::notANumber(line, column, text);
            return false;
        }
        values[i] = *v;
    }
    if (const auto p = pointFromReading(values[0], values[1], false))
        input.points.push_back(*p);
    else
        ++input.skippedRows;
    return true;
}

void readCsv(const QStringList& lines, int headerAt, SoilInput& input)
{
    QStringList names = lines[headerAt].split(QLatin1Char(','));
    for (QString& n : names)
        n = unquoted(n).toLower();
    const qsizetype spacingAt = names.indexOf(kSpacingColumn);
    const qsizetype rhoAt = names.indexOf(kRhoColumn);
    if (spacingAt < 0 || rhoAt < 0) {
        input.error = messages::missingColumn(headerAt + 1, spacingAt < 0 ? kSpacingColumn : kRhoColumn);
        return;
    }
    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        if (!readCsvRow(lines[i].split(QLatin1Char(',')), spacingAt, rhoAt, i + 1, input))
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
    const auto p = rho.value && spacing.value ? pointFromReading(*spacing.value, *rho.value, rho.overloaded || spacing.overloaded)
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
             || header.contains(kRhoColumn, Qt::CaseInsensitive))
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
