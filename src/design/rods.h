#pragma once

#include <optional>

namespace bm::design {

enum class Arrangement { Line, Ring };

// One driven rod of length L and diameter D in soil of resistivity rho (Dwight).
double rodResistance(double rho_ohm_m, double length_m, double diameter_m);

// The mutual factor lambda = (1/N) sum_i sum_{j != i} S / r_ij of N rods, adjacent
// rods S apart in a line or around a ring (r_ij the distance between rods i and j).
double groupLambda(int n, Arrangement arrangement);

// N equal rods of resistance r1 each, adjacent rods S apart.
double groupResistance(double rho_ohm_m, double r1_ohm, int n, double spacing_m, Arrangement arrangement);

// The smallest N up to maxN whose group resistance is at most target_ohm.
std::optional<int> rodsNeeded(double rho_ohm_m, double r1_ohm, double spacing_m, double target_ohm,
                              Arrangement arrangement, int maxN = 100);

} // namespace bm::design
