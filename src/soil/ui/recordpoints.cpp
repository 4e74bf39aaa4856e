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
            out.push_back({k, *p, p->rho_ohm_m});
    }
    return out;
}

void setLayout(RecordPoint& p, Array array, double mn2_m, const QString& traverse)
{
    SoilPoint& s = p.point;
    s.array = array;
    s.mn2_m = mn2_m; // kept for a Wenner point too, should it become Schlumberger again
    s.traverse = traverse;
    const double a = s.spacing_m;
    s.rho_ohm_m = p.recordRho_ohm_m * geometricFactor(array, a, s.mn2_m) / geometricFactor(Array::Wenner, a, 0.0);
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
