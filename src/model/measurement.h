#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// What the tester measures, as values: the bottom layer every other part builds on.
namespace bm {

// Stored records are numbered 1..kMaxRecord.
constexpr int kMaxRecord = 10000;

enum class Kind { None, Voltage, Resistance, Resistivity };

// Flag bits of a measurement's fourth byte.
constexpr quint8 kNoiseFlag = 0x04;
constexpr quint8 kHighVoltageFlag = 0x08;
constexpr quint8 kLowBatteryFlag = 0x10;

// A raw count with its format byte (high nibble unit, low nibble decimals).
struct Quantity {
    quint16 count = 0;
    quint8 format = 0;

    static constexpr quint16 kOverloadCount = 10000;

    bool overloaded() const { return count == kOverloadCount; }
    // In volts, ohms, ohm-metres, amperes or metres; NaN for an unknown unit or an overload.
    double si() const;
};

// A 10-byte reading or record: its typed values and their texts as formatted
// when it arrived. Values and texts the kind does not use stay empty.
struct Measurement {
    Kind kind = Kind::None;
    quint8 flags = 0;
    QString main;
    QString rc;
    QString rp;
    QString spacing;
    Quantity mainValue;
    Quantity rcValue;
    Quantity rpValue;
    Quantity spacingValue;

    bool noise() const { return flags & kNoiseFlag; }
    bool highVoltage() const { return flags & kHighVoltageFlag; }
    bool lowBattery() const { return flags & kLowBatteryFlag; }
};

// The six value fields shared by the readings panel and the records table, in table column order.
enum class Field { V, R, Rho, Spacing, Rc, Rp };
constexpr int kFieldCount = 6;
using FieldTexts = std::array<std::optional<QString>, kFieldCount>;

// The texts a measurement of its kind fills; fields it leaves alone are empty optionals.
FieldTexts fieldTexts(const Measurement& m);

} // namespace bm
