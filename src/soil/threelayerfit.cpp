#include "soil/threelayerfit.h"

#include "soil/layeredearth.h"
#include "soil/soilmessages.h"
#include "soil/sounding.h"

#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>
#include <limits>

namespace bm::soil {

namespace {

using Vector5d = Eigen::Matrix<double, 5, 1>;

constexpr int kMinSpacings = 5;
constexpr int kStartsRefined = 4;
constexpr int kMaxEvaluations = 200; // per start: bounds the work on any input
constexpr double kMaxSpread = 1e12;
// Far below any reading's precision; a tighter stop only walks further along the
// flat valleys where a third layer fades into two.
constexpr double kTolerance = 1e-7;

// Parameters x = (ln rho1, ln rho2, ln rho3, ln h1, ln h2) in the sounding's scale.
struct Bounds {
    Vector5d lower;
    Vector5d upper;
};

Bounds boundsOf(const Sounding& s)
{
    const double u0 = s.lower[0], u1 = s.upper[0], h0 = s.lower[2], h1 = s.upper[2];
    Bounds b;
    b.lower << u0, u0, u0, h0, h0;
    b.upper << u1, u1, u1, h1, h1;
    return b;
}

class ThreeLayerResiduals {
public:
    ThreeLayerResiduals(const Sounding& s, const Bounds& b) : s_(s), b_(b) {}
    int inputs() const { return 5; }
    int values() const { return int(s_.rho.size()); }
    int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& f) const
    {
        evaluate(x, &f, nullptr);
        return 0;
    }
    int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jac) const
    {
        evaluate(x, nullptr, &jac);
        return 0;
    }
    double cost(const Eigen::VectorXd& x) const
    {
        Eigen::VectorXd f(values());
        evaluate(x, &f, nullptr);
        return f.squaredNorm();
    }
    Vector5d clamped(const Eigen::VectorXd& x) const { return x.head<5>().cwiseMax(b_.lower).cwiseMin(b_.upper); }

private:
    void evaluate(const Eigen::VectorXd& x, Eigen::VectorXd* f, Eigen::MatrixXd* jac) const
    {
        const Vector5d p = clamped(x);
        const Layers layers{3, {std::exp(p[0]), std::exp(p[1]), std::exp(p[2])}, {std::exp(p[3]), std::exp(p[4])}};
        std::vector<Apparent> model;
        for (size_t g = 0; g < s_.spacing.size(); ++g)
            model.push_back(layeredApparent(electrodesOf(s_.array[g], s_.spacing[g], s_.mn2[g]), layers, jac));
        for (size_t i = 0; i < s_.rho.size(); ++i) {
            const Apparent& m = model[size_t(s_.group[i])];
            const auto row = Eigen::Index(i);
            if (f)
                (*f)[row] = m.rho / s_.rho[i] - 1.0;
            for (int k = 0; jac && k < 5; ++k) // no slope where a parameter is held at its bound
                (*jac)(row, k) = p[k] == x[k] ? m.d[size_t(k)] / s_.rho[i] : 0.0;
        }
    }
    const Sounding& s_;
    const Bounds& b_;
};

// Guesses: the readings at the ends as top and bottom, a middle layer below the
// lowest or above the highest reading or between, at depths across the spacings;
// and the two-layer model with a third layer split off either side of its boundary.
std::vector<Eigen::VectorXd> startingPoints(const Sounding& s, const std::optional<TwoLayerModel>& two)
{
    std::vector<double> shortest, longest;
    for (size_t i = 0; i < s.rho.size(); ++i) {
        const double a = s.spacing[size_t(s.group[i])];
        if (a == s.spacing.front())
            shortest.push_back(s.rho[i]);
        if (a == s.spacing.back())
            longest.push_back(s.rho[i]);
    }
    const double top = std::log(geometricMean(shortest));
    const double bottom = std::log(geometricMean(longest));
    const auto [lo, hi] = std::minmax_element(s.rho.begin(), s.rho.end());
    const double aLow = std::log(s.spacing.front()), aHigh = std::log(s.spacing.back());
    std::vector<Eigen::VectorXd> starts;
    const auto add = [&starts](double u1, double u2, double u3, double h1, double h2) {
        Eigen::VectorXd x(5);
        x << u1, u2, u3, h1, h2;
        starts.push_back(x);
    };
    for (double middle : {std::log(*lo) - 1.0, std::log(*hi) + 1.0, 0.5 * (top + bottom)})
        for (double deep : {bottom, 2.0 * bottom - top})
            for (int i = 0; i < 3; ++i)
                for (double ratio : {0.0, 1.0}) {
                    const double h1 = aLow + (aHigh - aLow) * (i + 0.5) / 4.0 - 0.7;
                    add(top, middle, deep, h1, h1 + ratio);
                }
    if (two) {
        const double u1 = std::log(two->rho1_ohm_m / s.rhoScale), u2 = std::log(two->rho2_ohm_m / s.rhoScale);
        const double h = std::log(two->h_m / s.aScale);
        add(u1, u2, u2, h - 0.7, h - 0.7);
        add(u1, u1, u2, h - 0.7, h - 0.7);
        add(u1, 0.5 * (u1 + u2), u2, h - 0.7, h);
    }
    return starts;
}

std::optional<ThreeLayerModel> modelAt(const Vector5d& x, double squares, const Sounding& s, const Bounds& b)
{
    ThreeLayerModel m;
    m.rho1_ohm_m = s.rhoScale * std::exp(x[0]);
    m.rho2_ohm_m = s.rhoScale * std::exp(x[1]);
    m.rho3_ohm_m = s.rhoScale * std::exp(x[2]);
    m.h1_m = s.aScale * std::exp(x[3]);
    m.h2_m = s.aScale * std::exp(x[4]);
    m.rms_percent = 100.0 * std::sqrt(squares / double(s.rho.size()));
    m.resolved = ((x - b.lower).array() > 1e-6).all() && ((b.upper - x).array() > 1e-6).all();
    for (double v : {m.rho1_ohm_m, m.rho2_ohm_m, m.rho3_ohm_m, m.h1_m, m.h2_m, m.rms_percent}) {
        if (!std::isfinite(v) || v < 0.0)
            return std::nullopt;
    }
    return m;
}

double spread(const std::vector<SoilPoint>& points, double SoilPoint::*field)
{
    const auto [lo, hi] = std::minmax_element(
        points.begin(), points.end(), [field](const SoilPoint& a, const SoilPoint& b) { return a.*field < b.*field; });
    return (*hi).*field / (*lo).*field;
}

} // namespace

ThreeLayerFit fitThreeLayer(const std::vector<SoilPoint>& points, const std::optional<TwoLayerModel>& twoLayer)
{
    std::vector<SoilPoint> used;
    std::copy_if(points.begin(), points.end(), std::back_inserter(used), usable);
    if (used.empty())
        return {std::nullopt, messages::noUsablePoints()};
    const Sounding s = soundingOf(used);
    if (s.distinctSpacings < kMinSpacings)
        return {std::nullopt, messages::tooFewSpacingsForThree(s.distinctSpacings)};
    if (!(spread(used, &SoilPoint::rho_ohm_m) <= kMaxSpread) || !(spread(used, &SoilPoint::spacing_m) <= kMaxSpread))
        return {std::nullopt, messages::spreadTooWide()};
    const Bounds bounds = boundsOf(s);
    ThreeLayerResiduals residuals(s, bounds);
    std::vector<std::pair<double, Eigen::VectorXd>> screened;
    for (const Eigen::VectorXd& x : startingPoints(s, twoLayer)) {
        const Eigen::VectorXd start = residuals.clamped(x);
        screened.emplace_back(residuals.cost(start), start);
    }
    std::sort(screened.begin(), screened.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    double best = std::numeric_limits<double>::infinity();
    Vector5d bestX = Vector5d::Zero();
    for (size_t i = 0; i < screened.size() && i < size_t(kStartsRefined); ++i) {
        Eigen::VectorXd x = screened[i].second;
        Eigen::LevenbergMarquardt<ThreeLayerResiduals> lm(residuals);
        lm.parameters.maxfev = kMaxEvaluations;
        lm.parameters.ftol = kTolerance;
        lm.parameters.xtol = kTolerance;
        lm.minimize(x);
        const double cost = residuals.cost(x);
        if (cost < best) {
            best = cost;
            bestX = residuals.clamped(x);
        }
    }
    auto model = modelAt(bestX, best, s, bounds);
    if (!model)
        return {std::nullopt, messages::threeLayerFailed()};
    return {model, {}};
}

} // namespace bm::soil
