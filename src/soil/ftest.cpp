#include "soil/ftest.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bm::soil {

namespace {

// The continued fraction of I_x(a, b) by the modified Lentz method.
double betaFraction(double a, double b, double x)
{
    constexpr double kTiny = 1e-300;
    constexpr double kEps = 1e-15;
    double c = 1.0;
    double d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
    double h = d;
    for (int m = 1; m <= 500; ++m) {
        for (int half = 0; half < 2; ++half) {
            const double num = half == 0 ? m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
                                         : -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
            d = 1.0 + num * d;
            d = 1.0 / (std::fabs(d) < kTiny ? kTiny : d);
            c = 1.0 + num / c;
            c = std::fabs(c) < kTiny ? kTiny : c;
            h *= d * c;
            if (half == 1 && std::fabs(d * c - 1.0) < kEps)
                return h;
        }
    }
    return h;
}

double incompleteBeta(double a, double b, double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0))
        return front * betaFraction(a, b, x) / a;
    return 1.0 - front * betaFraction(b, a, 1.0 - x) / b;
}

} // namespace

double fSurvival(double f, double d1, double d2)
{
    if (!(d1 > 0.0) || !(d2 > 0.0) || std::isnan(f))
        return std::numeric_limits<double>::quiet_NaN();
    if (f <= 0.0)
        return 1.0;
    return incompleteBeta(0.5 * d2, 0.5 * d1, d2 / (d2 + d1 * f));
}

bool significantlyBetter(double simplerSquares, int simplerParameters, double richerSquares, int richerParameters,
                         int readings)
{
    const int d1 = richerParameters - simplerParameters;
    const int d2 = readings - richerParameters;
    if (d1 <= 0 || d2 <= 0)
        return false;
    const double floor = readings * kReadingPrecision * kReadingPrecision;
    const double simpler = std::max(simplerSquares, floor);
    const double richer = std::max(richerSquares, floor);
    const double f = ((simpler - richer) / d1) / (richer / d2);
    return fSurvival(f, d1, d2) < kSignificance;
}

} // namespace bm::soil
