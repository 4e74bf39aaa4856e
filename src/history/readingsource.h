#pragma once

#include "history/historytypes.h"
#include "records/csvwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace bm::history {

struct CsvReadings {
    std::optional<QList<StoredReading>> readings;
    QString error; // with its 1-based line
};

// The tool's download CSV (no,kind,voltage_v,resistance_ohm,resistivity_ohm_m,
// spacing_m,rc_ohm,rp_ohm; noise, high_voltage and low_battery columns when present):
// every line or none. The texts kept are the file's own cells.
CsvReadings readingsFromCsv(const QByteArray& bytes);

// Records as they arrived from the tester: the same SI figures as their CSV
// line, with the texts as the tester showed them and the warning flags.
QList<StoredReading> readingsFromRecords(const QList<NumberedMeasurement>& records);

} // namespace bm::history
