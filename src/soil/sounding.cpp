#include "soil/sounding.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace bm::soil {

namespace {

constexpr double kSameSpacing = 1e-9;

bool same(double a, double b) { return !(a > b * (1.0 + kSameSpacing)) && !(b > a * (1.0 + kSameSpacing)); }

} // namespace

double geometricMean(const std::vector<double>& v)
{
    double sum = 0.0;
    for (double x : v)
        sum += std::log(x);
    return std::exp(sum / double(v.size()));
}

Sounding soundingOf(std::vector<SoilPoint> points)
{
    // Wenner first at each spacing, so a Wenner sounding groups as it always has.
    std::stable_sort(points.begin(), points.end(), [](const SoilPoint& a, const SoilPoint& b) {
        return std::tuple(a.spacing_m, a.array, a.mn2_m) < std::tuple(b.spacing_m, b.array, b.mn2_m);
    });
    Sounding s;
    std::vector<double> a, rho;
    for (const SoilPoint& p : points) {
        a.push_back(p.spacing_m);
        rho.push_back(p.rho_ohm_m);
    }
    s.aScale = geometricMean(a);
    s.rhoScale = geometricMean(rho);
    for (size_t i = 0; i < points.size(); ++i) {
        const bool newSpacing = i == 0 || a[i] > a[i - 1] * (1.0 + kSameSpacing);
        s.distinctSpacings += newSpacing;
        const bool wenner = points[i].array == Array::Wenner;
        const double mn2 = wenner ? 0.0 : points[i].mn2_m / s.aScale;
        if (newSpacing || s.array.back() != points[i].array || !same(s.mn2.back(), mn2)) {
            s.spacing.push_back(a[i] / s.aScale);
            s.array.push_back(points[i].array);
            s.mn2.push_back(mn2);
        }
        s.group.push_back(int(s.spacing.size()) - 1);
        s.rho.push_back(rho[i] / s.rhoScale);
    }
    const auto [least, most] = std::minmax_element(s.rho.begin(), s.rho.end());
    const double uLow = std::log(*least / kRhoMargin);
    const double uHigh = std::log(*most * kRhoMargin);
    s.lower = {uLow, uLow, std::log(s.spacing.front() * kThinnest)};
    s.upper = {uHigh, uHigh, std::log(s.spacing.back() * kDeepest)};
    return s;
}

} // namespace bm::soil
