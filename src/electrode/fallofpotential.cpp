#include "electrode/fallofpotential.h"

#include "electrode/slopemethod.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace bm::electrode {

namespace {

constexpr int kFewestPoints = 3;
// 0.618 C: where a hemisphere measured from its centre shows its true resistance
// (the 61.8 % rule: E. B. Curdts, AIEE Trans. 77(I), 1958; IEEE Std 81-2012).
constexpr double kTrueRatio = 0.618;
constexpr double kPlateauRatios[3] = {0.52, 0.62, 0.72};
constexpr double kSlopeRatios[3] = {0.2, 0.4, 0.6};

bool positiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

// 1/R = a/x + b by least squares over the readings: R extrapolated to an infinitely
// distant potential probe (1/x = 0) is 1/b.
// Absent without two distances or when b is not positive.
std::optional<double> inverseExtrapolation(const std::vector<FopPoint>& curve)
{
    if (curve.size() < 2)
        return std::nullopt;
    Eigen::MatrixXd a(Eigen::Index(curve.size()), 2);
    Eigen::VectorXd y(Eigen::Index(curve.size()));
    for (size_t i = 0; i < curve.size(); ++i) {
        a.row(Eigen::Index(i)) << 1.0 / curve[i].distance_m, 1.0;
        y(Eigen::Index(i)) = 1.0 / curve[i].resistance_ohm;
    }
    const Eigen::Vector2d fit = a.colPivHouseholderQr().solve(y);
    if (!positiveFinite(fit(1)))
        return std::nullopt;
    return 1.0 / fit(1);
}

void plateau(FopAnalysis& out, double c, double limitPercent)
{
    const auto lo = interpolate(out.curve, kPlateauRatios[0] * c);
    const auto mid = interpolate(out.curve, kPlateauRatios[1] * c);
    const auto hi = interpolate(out.curve, kPlateauRatios[2] * c);
    if (!lo || !mid || !hi)
        return;
    out.plateauPercent = 100.0 * std::max(std::fabs(*lo - *mid), std::fabs(*hi - *mid)) / *mid;
    out.plateauOk = *out.plateauPercent <= limitPercent;
}

// False when the readings reach 0.2C to 0.6C but give a mu the model cannot reach.
bool slopeMethod(FopAnalysis& out, double c)
{
    std::optional<double> r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = interpolate(out.curve, kSlopeRatios[i] * c);
    if (!r[0] || !r[1] || !r[2])
        return true;
    // A curve that does not rise has no mu; the slope figures stay absent together.
    const double mu = (*r[2] - *r[1]) / (*r[1] - *r[0]);
    const auto pt = *r[1] > *r[0] ? ptRatioForMu(mu) : std::nullopt;
    if (!pt)
        return false;
    out.slopeMu = mu;
    out.slopePtRatio = pt;
    out.slopeR_ohm = interpolate(out.curve, *pt * c);
    return true;
}

} // namespace

bool withinTest(const FopPoint& p, double currentDistance_m)
{
    return std::isfinite(currentDistance_m) && positiveFinite(p.distance_m) && p.distance_m < currentDistance_m
           && positiveFinite(p.resistance_ohm);
}

std::vector<FopPoint> curveOf(const std::vector<FopPoint>& points)
{
    std::vector<FopPoint> sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const FopPoint& a, const FopPoint& b) { return a.distance_m < b.distance_m; });
    std::vector<FopPoint> curve;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        double sum = 0.0;
        for (; j < sorted.size() && sorted[j].distance_m == sorted[i].distance_m; ++j)
            sum += sorted[j].resistance_ohm;
        curve.push_back({sorted[i].distance_m, sum / double(j - i)});
        i = j;
    }
    return curve;
}

std::optional<double> interpolate(const std::vector<FopPoint>& curve, double distance_m)
{
    const auto after = std::lower_bound(curve.begin(), curve.end(), distance_m,
                                        [](const FopPoint& p, double x) { return p.distance_m < x; });
    if (after == curve.end())
        return std::nullopt;
    if (after->distance_m == distance_m)
        return after->resistance_ohm;
    if (after == curve.begin())
        return std::nullopt;
    const FopPoint& before = *(after - 1);
    const double t = (distance_m - before.distance_m) / (after->distance_m - before.distance_m);
    return before.resistance_ohm + t * (after->resistance_ohm - before.resistance_ohm);
}

int excludeDistance(std::vector<FopPoint>& points, double distance_m)
{
    const auto before = points.size();
    std::erase_if(points, [distance_m](const FopPoint& p) {
        return std::fabs(p.distance_m - distance_m) <= 1e-9 * std::max(std::fabs(p.distance_m), std::fabs(distance_m));
    });
    return int(before - points.size());
}

FopAnalysis analyseFallOfPotential(const std::vector<FopPoint>& points, const FopSettings& settings)
{
    FopAnalysis out;
    const double c = settings.currentDistance_m;
    std::vector<FopPoint> used;
    std::copy_if(points.begin(), points.end(), std::back_inserter(used),
                 [c](const FopPoint& p) { return withinTest(p, c); });
    out.pointsUsed = int(used.size());
    out.curve = curveOf(used);
    out.r618_ohm = interpolate(out.curve, kTrueRatio * c);
    plateau(out, c, settings.plateauLimitPercent);
    const bool reachable = slopeMethod(out, c);
    out.inverseR_ohm = inverseExtrapolation(out.curve);
    if (settings.limit_ohm && out.reported_ohm())
        out.limitOk = *out.reported_ohm() <= *settings.limit_ohm;

    using Verdict = FopAnalysis::Verdict;
    out.verdict = out.pointsUsed < kFewestPoints   ? Verdict::TooFewPoints
                  : !reachable                     ? Verdict::ProbeTooClose
                  : !out.plateauOk.value_or(false) ? Verdict::NoPlateau
                                                   : Verdict::Ok;
    return out;
}

} // namespace bm::electrode
