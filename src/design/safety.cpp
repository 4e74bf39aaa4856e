#include "design/safety.h"

#include <cmath>

namespace bm::design {

// IEEE Std 80-2013, 7.4, equation 27: Cs = 1 - 0.09 (1 - rho / rho_s) / (2 h_s + 0.09).
double surfaceFactor(double rho_ohm_m, double surfaceRho_ohm_m, double surfaceThickness_m)
{
    return 1.0 - 0.09 * (1.0 - rho_ohm_m / surfaceRho_ohm_m) / (2.0 * surfaceThickness_m + 0.09);
}

// IEEE Std 80-2013, 8.3, equations 29 to 32: Etouch = (1000 + 1.5 Cs rho_s) k / sqrt(ts),
// Estep = (1000 + 6 Cs rho_s) k / sqrt(ts), k = 0.116 for 50 kg, 0.157 for 70 kg.
Tolerable tolerableForCs(double cs, double surfaceRho_ohm_m, double clearingTime_s, int bodyKg)
{
    const double k = (bodyKg == 70 ? 0.157 : 0.116) / std::sqrt(clearingTime_s);
    return {cs, (1000.0 + 1.5 * cs * surfaceRho_ohm_m) * k, (1000.0 + 6.0 * cs * surfaceRho_ohm_m) * k};
}

Tolerable tolerableVoltages(double rho_ohm_m, const SafetyInput& in)
{
    // Without a surface layer the person stands on the native soil.
    const bool surface = in.surfaceRho_ohm_m > 0.0 && in.surfaceThickness_m > 0.0;
    const double rhoS = surface ? in.surfaceRho_ohm_m : rho_ohm_m;
    const double cs = surface ? surfaceFactor(rho_ohm_m, rhoS, in.surfaceThickness_m) : 1.0;
    return tolerableForCs(cs, rhoS, in.clearingTime_s, in.bodyKg);
}

} // namespace bm::design
