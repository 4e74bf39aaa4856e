#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace bm {

// x with exactly d decimals (0..3), the locale's decimal separator, no grouping.
QString fmtnum(float x, int d, const QLocale& locale = QLocale());

// The text of a raw count (hi, lo) with its format byte: number and unit, "OL "
// for the overload count 10000, empty for an unknown unit.
QString fmtvalue(quint8 hi, quint8 lo, quint8 fmt, const QLocale& locale = QLocale());

} // namespace bm
