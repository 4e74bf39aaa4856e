#pragma once

#include "soil/soilpoint.h"

#include <vector>

namespace bm {
class RecordTable;
}

namespace bm::soil {

// A point and the stored record it came from, so the window can name it and
// remember that the user left it out.
struct RecordPoint {
    int record = 0;
    SoilPoint point;
};

// Every stored resistivity record of the table that gives a point, in record order,
// from the typed values (KΩm already counted as 1000 Ω·m), all included.
std::vector<RecordPoint> recordPoints(const RecordTable& table);

// The points alone, as the fit takes them.
std::vector<SoilPoint> plainPoints(const std::vector<RecordPoint>& points);

} // namespace bm::soil
