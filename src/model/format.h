#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace bm {

enum class Kind;

// What the high nibble of a format byte means.
struct Unit {
    const char16_t* text;
    double toSi; // multiplier to volts, ohms, ohm-metres, amperes or metres
    Kind kind;   // the measurement a main value in this unit belongs to
};

// Null for a unit code the tester does not use.
const Unit* unitOf(quint8 fmt);

// x with exactly d decimals (0..3), the locale's decimal separator, no grouping.
QString fmtnum(float x, int d, const QLocale& locale = QLocale());

// The text of a raw count (hi, lo) with its format byte: number and unit, "OL "
// for the overload count 10000, empty for an unknown unit.
QString fmtvalue(quint8 hi, quint8 lo, quint8 fmt, const QLocale& locale = QLocale());

} // namespace bm
