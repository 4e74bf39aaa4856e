#include "design/rods.h"

#include <cmath>
#include <numbers>

namespace bm::design {

// Dwight, "Calculation of resistances to ground", AIEE Trans. 55 (1936):
// R1 = rho / (2 pi L) (ln(8 L / D) - 1).
double rodResistance(double rho_ohm_m, double length_m, double diameter_m)
{
    return rho_ohm_m / (2.0 * std::numbers::pi * length_m) * (std::log(8.0 * length_m / diameter_m) - 1.0);
}

double groupLambda(int n, Arrangement arrangement)
{
    if (n < 2)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (i == j)
                continue;
            const int apart = std::abs(i - j);
            // In S: a line's rods are |i - j| S apart; a ring's, chords of the
            // circle whose side is S.
            const double r = arrangement == Arrangement::Line
                                 ? apart
                                 : std::sin(std::numbers::pi * apart / n) / std::sin(std::numbers::pi / n);
            sum += 1.0 / r;
        }
    }
    return sum / n;
}

// Rods in parallel with their mutual resistance, as in BS 7430 and IEEE Std 142
// (the Green Book): Rn = R1 (1 + lambda alpha) / N, alpha = rho / (2 pi R1 S).
double groupResistance(double rho_ohm_m, double r1_ohm, int n, double spacing_m, Arrangement arrangement)
{
    const double alpha = rho_ohm_m / (2.0 * std::numbers::pi * r1_ohm * spacing_m);
    return r1_ohm * (1.0 + groupLambda(n, arrangement) * alpha) / n;
}

std::optional<int> rodsNeeded(double rho_ohm_m, double r1_ohm, double spacing_m, double target_ohm,
                              Arrangement arrangement, int maxN)
{
    for (int n = 1; n <= maxN; ++n) {
        if (groupResistance(rho_ohm_m, r1_ohm, n, spacing_m, arrangement) <= target_ohm)
            return n;
    }
    return std::nullopt;
}

} // namespace bm::design
