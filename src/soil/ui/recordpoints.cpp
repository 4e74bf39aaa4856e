#include "soil/ui/recordpoints.h"

#include "records/recordtable.h"

namespace bm::soil {

std::vector<RecordPoint> recordPoints(const RecordTable& table)
{
    std::vector<RecordPoint> out;
    for (int k = 1; k < table.Rows(); ++k) {
        const Measurement* m = table.record(k);
        if (!m || m->kind != Kind::Resistivity)
            continue;
        const bool overloaded = m->mainValue.overloaded() || m->spacingValue.overloaded();
        if (const auto p = pointFromReading(m->spacingValue.si(), m->mainValue.si(), overloaded))
            out.push_back({k, *p});
    }
    return out;
}

std::vector<SoilPoint> plainPoints(const std::vector<RecordPoint>& points)
{
    std::vector<SoilPoint> out;
    out.reserve(points.size());
    for (const RecordPoint& p : points)
        out.push_back(p.point);
    return out;
}

} // namespace bm::soil
