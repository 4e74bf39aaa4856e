#include "electrode/slopemethod.h"

#include <cmath>
#include <functional>

namespace bm::electrode {

namespace {

// Below this the 0.2C reading would sit at the electrical centre.
constexpr double kLowestOffset = -0.2;
// Pt reaches the connection point when 1/(1+d) + 1/d = 1, d = golden ratio.
const double kHighestOffset = (1.0 + std::sqrt(5.0)) / 2.0;
constexpr int kBisections = 200;

// The bracketed part of R(x), C = 1.
double shape(double t, double offset) { return 1.0 / (t + offset) - 1.0 / (1.0 - t); }

// The root of an increasing function within (lo, hi), by halving: both ends
// are known to bracket it, and the functions here have poles at the ends.
double rootOf(const std::function<double(double)>& f, double lo, double hi)
{
    for (int i = 0; i < kBisections && hi - lo > 1e-15; ++i) {
        const double mid = 0.5 * (lo + hi);
        (f(mid) < 0.0 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace

double slopeMuAtOffset(double offsetRatio)
{
    const double r1 = shape(0.2, offsetRatio), r2 = shape(0.4, offsetRatio), r3 = shape(0.6, offsetRatio);
    return (r3 - r2) / (r2 - r1);
}

std::optional<double> ptRatioAtOffset(double offsetRatio)
{
    const double d = offsetRatio;
    // Falls from +inf just past -d (or 0) to -inf at 1: one root when it starts above zero.
    const auto excess = [d](double t) { return 1.0 / (1.0 + d) + 1.0 / (t + d) - 1.0 / (1.0 - t); };
    const double from = std::max(0.0, -d);
    if (!(d > kLowestOffset) || (from == 0.0 && !(excess(0.0) > 0.0)))
        return std::nullopt;
    return rootOf([&excess](double t) { return -excess(t); }, from, 1.0);
}

std::optional<double> ptRatioForMu(double mu)
{
    // mu rises from 0 at the lowest offset to its largest where Pt reaches 0.
    if (!(mu > 0.0) || !(mu < slopeMuAtOffset(kHighestOffset)))
        return std::nullopt;
    const double offset = rootOf([mu](double d) { return slopeMuAtOffset(d) - mu; }, kLowestOffset, kHighestOffset);
    return ptRatioAtOffset(offset);
}

} // namespace bm::electrode
