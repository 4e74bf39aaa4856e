#pragma once

namespace bm::design {

// What a fault at the electrode asks of a person nearby.
struct SafetyInput {
    double faultCurrent_a = 0.0;   // IG, the current the electrode carries into the soil
    double clearingTime_s = 0.0;   // ts
    double surfaceRho_ohm_m = 0.0; // rho_s; 0: no surface layer (the native soil)
    double surfaceThickness_m = 0.0;
    int bodyKg = 50; // 50 or 70
};

// The surface layer derating factor Cs of a layer rho_s thick h_s over soil rho.
double surfaceFactor(double rho_ohm_m, double surfaceRho_ohm_m, double surfaceThickness_m);

struct Tolerable {
    double cs = 1.0;
    double touch_v = 0.0;
    double step_v = 0.0;
};

// The tolerable touch and step voltages over soil of resistivity rho.
Tolerable tolerableVoltages(double rho_ohm_m, const SafetyInput& in);
// The same for a given Cs over a surface of resistivity rho_s.
Tolerable tolerableForCs(double cs, double surfaceRho_ohm_m, double clearingTime_s, int bodyKg);

} // namespace bm::design
