#include "design/soilchoice.h"

namespace bm::design {

Soil uniformSoil(double rho_ohm_m) { return {rho_ohm_m, rho_ohm_m, 0.0}; }

Soil twoLayerSoil(double rho1_ohm_m, double rho2_ohm_m, double h_m) { return {rho1_ohm_m, rho2_ohm_m, h_m}; }

// Equivalent resistivity of a rod crossing the boundary: the two layers' parts of
// the rod in parallel, rho_a = L rho1 rho2 / (rho2 h + rho1 (L - h)) (the usual
// two-layer rod approximation, e.g. Tagg, "Earth Resistances", 1964).
RhoUsed rodResistivity(const Soil& soil, double length_m)
{
    if (!soil.layered())
        return {soil.rho1_ohm_m, RhoBasis::Uniform};
    if (length_m <= soil.h_m)
        return {soil.rho1_ohm_m, RhoBasis::TopLayer};
    const double rho1 = soil.rho1_ohm_m;
    const double rho2 = soil.rho2_ohm_m;
    const double h = soil.h_m;
    return {length_m * rho1 * rho2 / (rho2 * h + rho1 * (length_m - h)), RhoBasis::RodEquivalent};
}

RhoUsed gridResistivity(const Soil& soil, double depth_m)
{
    if (!soil.layered())
        return {soil.rho1_ohm_m, RhoBasis::Uniform};
    if (depth_m < soil.h_m)
        return {soil.rho1_ohm_m, RhoBasis::TopLayer};
    return {soil.rho2_ohm_m, RhoBasis::LowerLayer};
}

} // namespace bm::design
