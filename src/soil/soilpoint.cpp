#include "soil/soilpoint.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace bm::soil {

namespace {

bool positiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

} // namespace

double geometricFactor(Array array, double spacing_m, double mn2_m)
{
    if (!positiveFinite(spacing_m))
        return std::numeric_limits<double>::quiet_NaN();
    if (array == Array::Wenner)
        return 2.0 * std::numbers::pi * spacing_m;
    if (!positiveFinite(mn2_m) || !(mn2_m < spacing_m))
        return std::numeric_limits<double>::quiet_NaN();
    return std::numbers::pi * (spacing_m * spacing_m - mn2_m * mn2_m) / (2.0 * mn2_m);
}

std::optional<SoilPoint> pointFromReading(double spacing_m, double rho_ohm_m, bool overloaded)
{
    if (overloaded || !positiveFinite(spacing_m) || !positiveFinite(rho_ohm_m))
        return std::nullopt;
    return SoilPoint{spacing_m, rho_ohm_m, true, Array::Wenner, 0.0, QStringLiteral("A")};
}

bool usable(const SoilPoint& p)
{
    const bool geometry = p.array == Array::Wenner || (positiveFinite(p.mn2_m) && p.mn2_m < p.spacing_m);
    return p.included && positiveFinite(p.spacing_m) && positiveFinite(p.rho_ohm_m) && geometry;
}

bool validTraverse(const QString& name)
{
    constexpr qsizetype kMaxName = 16;
    return !name.isEmpty() && name.size() <= kMaxName && std::all_of(name.begin(), name.end(), [](QChar ch) {
        return ch.isLetterOrNumber() || ch == QLatin1Char('-') || ch == QLatin1Char('_');
    });
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
