#pragma once

#include <optional>

// The slope method for electrodes whose electrical centre is unknown (G. F. Tagg,
// "Measurement of the resistance of physically large earth-electrode systems",
// Proc. IEE 117(11), 1970; IEEE Std 81-2012). A hemispherical electrode whose centre
// lies d behind the connection point, current probe at C, potential probe at x:
//   R(x) = Rt - (rho/2pi) [1/(C+d) + 1/(x+d) - 1/(C-x)].
// Everything is scale-free, so the functions take d/C and give ratios to C.
namespace bm::electrode {

// mu = (R(0.6C) - R(0.4C)) / (R(0.4C) - R(0.2C)) for an offset d/C above -0.2.
double slopeMuAtOffset(double offsetRatio);

// Pt/C where R(Pt) = Rt: the root of 1/(C+d) + 1/(Pt+d) = 1/(C-Pt). Absent when
// it does not lie between the connection point and the current probe.
std::optional<double> ptRatioAtOffset(double offsetRatio);

// Pt/C for a measured mu, through the offset that gives it; absent for a mu the
// model cannot reach (not positive, or so steep that Pt would fall behind x = 0).
std::optional<double> ptRatioForMu(double mu);

} // namespace bm::electrode
