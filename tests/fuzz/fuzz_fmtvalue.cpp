// Every count and format byte gives a text of the one shape the panel and the
// files expect: digits with at most three decimals, or "OL ", then a unit; or
// the unit alone; or nothing.
#include "model/format.h"

#include <QLocale>
#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    static const QLocale c(QLocale::C);
    static const QLocale german(QLocale::German, QLocale::Germany);
    static const QRegularExpression dot(QStringLiteral("^((\\d+(\\.\\d{1,3})?|OL )?(Ω|KΩ|Ωm|KΩm|V|mA|m))?$"));
    static const QRegularExpression comma(QStringLiteral("^((\\d+(,\\d{1,3})?|OL )?(Ω|KΩ|Ωm|KΩm|V|mA|m))?$"));

    const QString a = bm::fmtvalue(data[0], data[1], data[2], c);
    const QString b = bm::fmtvalue(data[0], data[1], data[2], german);
    if (!dot.match(a).hasMatch() || !comma.match(b).hasMatch())
        std::abort();
    // The separator is the only thing the locale changes.
    if (QString(b).replace(QLatin1Char(','), QLatin1Char('.')) != a)
        std::abort();
    return 0;
}
