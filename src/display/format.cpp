#include "display/format.h"

namespace bm {

namespace {

constexpr quint16 kOverloadCount = 10000;

// The tester's unit codes (high nibble of the format byte); null for no unit.
const char16_t* unitText(quint8 fmt)
{
    switch (fmt & 0xF0) {
    case 0x10: return u"Ω";
    case 0x20: return u"KΩ";
    case 0x30: return u"Ωm";
    case 0x40: return u"KΩm";
    case 0x50: return u"V";
    case 0x60: return u"mA";
    case 0x70: return u"m";
    default: return nullptr;
    }
}

} // namespace

QString fmtnum(float x, int d, const QLocale& locale)
{
    if (d < 0)
        d = 0;
    // QString::number never groups digits and always writes '.', so only the
    // separator needs the locale; going through QLocale::toString would need a
    // detached copy with OmitGroupSeparator on every call.
    QString text = QString::number(static_cast<double>(x), 'f', d);
    if (d > 0) {
        const QString point = locale.decimalPoint();
        if (point != QLatin1String("."))
            text.replace(QLatin1Char('.'), point);
    }
    return text;
}

QString fmtvalue(quint8 hi, quint8 lo, quint8 fmt, const QLocale& locale)
{
    const char16_t* unit = unitText(fmt);
    if (!unit)
        return {};

    const quint16 count = static_cast<quint16>(hi * 256 + lo);
    const int d = fmt & 0x0F;
    QString number;
    if (count == kOverloadCount) {
        number = QStringLiteral("OL ");
    } else if (d <= 3) {
        static constexpr float kScale[] = {1.0f, 10.0f, 100.0f, 1000.0f};
        number = fmtnum(static_cast<float>(count) / kScale[d], d, locale);
    }
    number.append(QStringView(unit));
    return number;
}

} // namespace bm
