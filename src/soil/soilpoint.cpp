#include "soil/soilpoint.h"

#include <algorithm>
#include <cmath>

namespace bm::soil {

namespace {

bool positiveFinite(double v)
{
    return std::isfinite(v) && v > 0.0;
}

} // namespace

std::optional<SoilPoint> pointFromReading(double spacing_m, double rho_ohm_m, bool overloaded)
{
    if (overloaded || !positiveFinite(spacing_m) || !positiveFinite(rho_ohm_m))
        return std::nullopt;
    return SoilPoint{spacing_m, rho_ohm_m, true};
}

bool usable(const SoilPoint& p)
{
    return p.included && positiveFinite(p.spacing_m) && positiveFinite(p.rho_ohm_m);
}

int excludeSpacing(std::vector<SoilPoint>& points, double spacing_m)
{
    int count = 0;
    for (SoilPoint& p : points) {
        const double scale = std::max(std::fabs(p.spacing_m), std::fabs(spacing_m));
        if (p.included && std::fabs(p.spacing_m - spacing_m) <= 1e-9 * scale) {
            p.included = false;
            ++count;
        }
    }
    return count;
}

} // namespace bm::soil
