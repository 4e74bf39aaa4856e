#pragma once

#include "electrode/fallofpotential.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace bm::electrode {

// Readings from a file, or why the file could not be read (with its 1-based line).
struct FopInput {
    std::vector<FopPoint> points;
    QString error;
    int skippedRows = 0; // rows without either value, or an overloaded resistance
    bool ok() const { return error.isEmpty(); }
};

// Reads a CSV file whose header names the columns distance_m and resistance_ohm
// (others ignored; "OL" marks an overloaded resistance, whose row is skipped).
// A reading outside the test (distance not between 0 and C, resistance not above
// 0) makes the whole file bad: the readings are a set, and one out of place
// usually means a wrong column or a wrong C.
FopInput parseFopInput(const QByteArray& bytes, double currentDistance_m);

} // namespace bm::electrode
