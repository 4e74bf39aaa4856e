#pragma once

#include <optional>
#include <vector>

namespace bm::soil {

// One Wenner reading. Several readings at one spacing stay separate points.
struct SoilPoint {
    double spacing_m = 0.0;
    double rho_ohm_m = 0.0;
    bool included = true; // the user may leave a doubtful reading out
};

// A stored resistivity record as a point, values already in SI (KΩm converted by
// the caller). Overloaded readings and those without a positive, finite spacing and
// resistivity cannot be fitted and give no point.
std::optional<SoilPoint> pointFromReading(double spacing_m, double rho_ohm_m, bool overloaded);

// True when the point can take part in a fit: included, positive and finite.
bool usable(const SoilPoint& p);

// Leaves out every point whose spacing equals spacing_m within 1e-9 relative;
// returns how many it left out.
int excludeSpacing(std::vector<SoilPoint>& points, double spacing_m);

} // namespace bm::soil
