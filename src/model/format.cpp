#include "model/format.h"

#include "model/measurement.h"

#include <cmath>
#include <iterator>

namespace bm {

namespace {

// Indexed by the high nibble of the format byte.
constexpr Unit kUnits[] = {
    {u"Ω", 1.0, Kind::Resistance},    // 0x1
    {u"KΩ", 1e3, Kind::Resistance},   // 0x2
    {u"Ωm", 1.0, Kind::Resistivity},  // 0x3
    {u"KΩm", 1e3, Kind::Resistivity}, // 0x4
    {u"V", 1.0, Kind::Voltage},       // 0x5
    {u"mA", 1e-3, Kind::None},        // 0x6
    {u"m", 1.0, Kind::None},          // 0x7
};

} // namespace

const Unit* unitOf(quint8 fmt)
{
    const int nibble = fmt >> 4;
    if (nibble < 1 || nibble > static_cast<int>(std::size(kUnits)))
        return nullptr;
    return &kUnits[nibble - 1];
}

QString fmtnum(float x, int d, const QLocale& locale)
{
    if (d < 0)
        d = 0;
    static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
    const double scaled = d <= 3 ? static_cast<double>(x) * kScale[d] : 0.0;
    if (d > 3 || !(std::fabs(scaled) < 1e15)) {
        // Rare: more decimals than the tester uses, or no finite number.
        QString text = QString::number(static_cast<double>(x), 'f', d);
        return text.replace(QLatin1Char('.'), locale.decimalPoint());
    }

    // A float times 10^d (d <= 3) is exact in a double, so rounding the product
    // rounds the value itself, half away from zero. Digits are written here
    // rather than through QLocale, which would group them.
    const long long n = std::llround(scaled);
    unsigned long long magnitude =
        n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    char16_t digits[24];
    int len = 0;
    do {
        digits[len++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || len <= d);

    const QString point = d > 0 ? locale.decimalPoint() : QString();
    char16_t out[48];
    int at = 0;
    if (n < 0)
        out[at++] = u'-';
    for (int i = len - 1; i >= 0; --i) {
        out[at++] = digits[i];
        if (i == d && d > 0) {
            for (QChar c : point.left(8))
                out[at++] = c.unicode();
        }
    }
    return QString(reinterpret_cast<const QChar*>(out), at);
}

QString fmtvalue(quint8 hi, quint8 lo, quint8 fmt, const QLocale& locale)
{
    const Unit* unit = unitOf(fmt);
    if (!unit)
        return {};

    const quint16 count = static_cast<quint16>(hi * 256 + lo);
    const int d = fmt & 0x0F;
    QString number;
    if (count == Quantity::kOverloadCount) {
        number = QStringLiteral("OL ");
    } else if (d <= 3) {
        static constexpr float kScale[] = {1.0f, 10.0f, 100.0f, 1000.0f};
        number = fmtnum(static_cast<float>(count) / kScale[d], d, locale);
    }
    number.append(QStringView(unit->text));
    return number;
}

} // namespace bm
