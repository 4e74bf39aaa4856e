#pragma once

#include "soil/soilpoint.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace bm::soil {

// Readings from a file, or why the file could not be read (with its 1-based line).
struct SoilInput {
    std::vector<SoilPoint> points;
    QString error;
    int skippedRows = 0; // other kinds of record, overloaded, no positive spacing
    bool ok() const { return error.isEmpty(); }
};

// Reads either a CSV file whose header names the columns spacing_m and
// resistivity_ohm_m (others ignored; "OL" marks an overloaded value), or a table
// saved by this program (GBK text, header NO. V R ρ ρLenght Rc Rp, values such as
// "12.34KΩm" and "1.50m"). Either decimal separator is accepted in the table.
SoilInput parseSoilInput(const QByteArray& bytes);

} // namespace bm::soil
