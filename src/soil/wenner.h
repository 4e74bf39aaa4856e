#pragma once

namespace bm::soil {

// Reflection coefficient K = (rho2 - rho1) / (rho2 + rho1) between two layers.
double reflection(double rho1, double rho2);

// The image series S of the two-layer Wenner sounding, rho_a = rho1 (1 + 4 S), with
// delta = 2h/a, and its derivatives in K and in ln h; summed until what is left is
// below tolerance relative to 1 + 4S.
constexpr double kSeriesTolerance = 1e-13;
struct WennerSeries {
    double s = 0.0;
    double dk = 0.0;
    double dlnh = 0.0;
};
WennerSeries wennerSeries(double delta, double k, double tolerance = kSeriesTolerance);
double wennerSum(double delta, double k, double tolerance = kSeriesTolerance); // S alone, cheaper

// Apparent resistivity of a Wenner array with spacing a over a top layer of
// resistivity rho1 and thickness h on a half-space of rho2. NaN for arguments
// that are not positive and finite.
double wennerApparent(double a, double rho1, double rho2, double h);

} // namespace bm::soil
