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
    double recordRho_ohm_m = 0.0; // as the tester worked it out: 2 pi a R
};

// Sets the point's array, MN/2 and traverse. The tester reports 2 pi a R whatever
// the layout, so a Schlumberger point's apparent resistivity is worked out again
// from R with the spacing as AB/2; NaN (left out of the fits) until MN/2 fits below it.
void setLayout(RecordPoint& p, Array array, double mn2_m, const QString& traverse);

// Every stored resistivity record of the table that gives a point, in record order,
// from the typed values (KΩm already counted as 1000 Ω·m), all included.
std::vector<RecordPoint> recordPoints(const RecordTable& table);

// The points alone, as the fit takes them.
std::vector<SoilPoint> plainPoints(const std::vector<RecordPoint>& points);

} // namespace bm::soil
