#pragma once

#include "model/measurement.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace bm {

class RecordTable;

// A stored record with its number, as a download delivers it.
struct NumberedMeasurement {
    int number = 0;
    Measurement measurement;
};

// The value in SI units (V, Ω, Ωm, A, m) as the shortest exact decimal text with
// '.' whatever the locale: 10.02 KΩ is "10020", 0.5 m is "0.5". "OL" for the
// overload count; empty for a unit or a number of decimals the tester does not use.
QString siText(const Quantity& q);

// The kind's name in files: voltage, resistance, resistivity or none.
QString kindName(Kind kind);

// Every CSV of the program (the download, the tool's live readings, the trend)
// maps a measurement to the same columns: its kind, then these six values in SI
// units, empty where its kind has no such value.
// "voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm".
QString csvValueHeader();
QStringList csvValueFields(const Measurement& m);
// The kind and the six values, joined: the columns after "no" or "time".
QString csvMeasurementFields(const Measurement& m);
// A time in every CSV: ISO 8601 in local time with its offset, to the millisecond.
QString csvTime(const QDateTime& time);

// "no,kind," and the value columns.
QString csvHeader();

// UTF-8 CSV: the header, then one line per record in the order given, LF line ends.
QByteArray recordsCsv(const QList<NumberedMeasurement>& records);
// Every row of the table that holds a decoded record, in number order.
QByteArray recordsCsv(const RecordTable& table);

} // namespace bm
