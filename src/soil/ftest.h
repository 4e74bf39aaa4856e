#pragma once

namespace bm::soil {

// P(F > f) for Snedecor's F with d1 and d2 degrees of freedom: the regularized
// incomplete beta I_x(d2/2, d1/2), x = d2 / (d2 + d1 f) (Abramowitz & Stegun 26.6.2),
// by its continued fraction (A&S 26.5.8). 1 for f <= 0; NaN for bad arguments.
double fSurvival(double f, double d1, double d2);

// Is a model with more parameters significantly better than a nested simpler one?
// Sums of squared relative residuals below n * kReadingPrecision^2 are noise of the
// arithmetic, not of the readings, and count as that floor.
constexpr double kReadingPrecision = 1e-4;
constexpr double kSignificance = 0.01;
bool significantlyBetter(double simplerSquares, int simplerParameters, double richerSquares, int richerParameters,
                         int readings);

} // namespace bm::soil
