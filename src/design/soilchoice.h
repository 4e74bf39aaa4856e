#pragma once

namespace bm::design {

// The soil an electrode is designed in: one resistivity, or a top layer of
// thickness h over a lower layer.
struct Soil {
    double rho1_ohm_m = 0.0;
    double rho2_ohm_m = 0.0; // equal to rho1 for uniform soil
    double h_m = 0.0;        // top layer thickness; 0 for uniform soil
    bool layered() const { return h_m > 0.0 && rho1_ohm_m != rho2_ohm_m; }
};

Soil uniformSoil(double rho_ohm_m);
Soil twoLayerSoil(double rho1_ohm_m, double rho2_ohm_m, double h_m);

// Which value of the soil a design used.
enum class RhoBasis { Uniform, TopLayer, LowerLayer, RodEquivalent };

struct RhoUsed {
    double rho_ohm_m = 0.0;
    RhoBasis basis = RhoBasis::Uniform;
};

// A rod driven from the surface to length L.
RhoUsed rodResistivity(const Soil& soil, double length_m);
// Grid conductors buried at depth_m.
RhoUsed gridResistivity(const Soil& soil, double depth_m);

} // namespace bm::design
