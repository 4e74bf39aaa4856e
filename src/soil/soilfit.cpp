#include "soil/soilfit.h"

#include "soil/layeredearth.h"
#include "soil/soilmessages.h"
#include "soil/sounding.h"
#include "soil/wenner.h"

#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>
#include <limits>

namespace bm::soil {

namespace {

// Beyond these spreads of readings or spacings the data are not a sounding
// the two-layer model could describe, and the arithmetic would lose its footing.
constexpr double kMaxRhoSpread = 1e15;
constexpr double kMaxSpacingSpread = 1e6;
constexpr int kStartsRefined = 3;
constexpr int kMaxEvaluations = 300; // per start: bounds the work on any input
// Far below any reading's precision, and a third fewer terms than full accuracy.
constexpr double kFitTolerance = 1e-10;

// Parameters x = (ln rho1, ln rho2, ln h) in the sounding's scale, held inside the
// region where the model is meaningful.
Eigen::Vector3d clamped(const Eigen::VectorXd& x, const Sounding& s)
{
    return x.head<3>().cwiseMax(s.lower).cwiseMin(s.upper);
}

// Relative residuals of the two-layer model and their Jacobian, for Eigen's
// Levenberg-Marquardt.
class TwoLayerResiduals {
public:
    explicit TwoLayerResiduals(const Sounding& s) : s_(s) {}
    int inputs() const { return 3; }
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

private:
    void evaluate(const Eigen::VectorXd& x, Eigen::VectorXd* f, Eigen::MatrixXd* jac) const;
    const Sounding& s_;
};

void TwoLayerResiduals::evaluate(const Eigen::VectorXd& x, Eigen::VectorXd* f, Eigen::MatrixXd* jac) const
{
    const Eigen::Vector3d p = clamped(x, s_);
    const double rho1 = std::exp(p[0]);
    const double h = std::exp(p[2]);
    const double half = 0.5 * (p[1] - p[0]);
    const double k = std::tanh(half);
    const double dkdu = 0.5 / (std::cosh(half) * std::cosh(half)); // dK/d ln rho2
    // Derivatives vanish where a parameter is held at its bound.
    const Eigen::Vector3d free(p[0] == x[0], p[1] == x[1], p[2] == x[2]);
    const size_t groups = s_.spacing.size();
    std::vector<double> model(groups), d1(groups), d2(groups), d3(groups);
    for (size_t g = 0; g < groups; ++g) {
        if (s_.array[g] != Array::Wenner) {
            const Layers layers{2, {rho1, std::exp(p[1]), 0.0}, {h, 0.0}};
            const Apparent a = layeredApparent(electrodesOf(s_.array[g], s_.spacing[g], s_.mn2[g]), layers, jac);
            model[g] = a.rho;
            d1[g] = a.d[0];
            d2[g] = a.d[1];
            d3[g] = a.d[2];
            continue;
        }
        const double delta = 2.0 * h / s_.spacing[g];
        const WennerSeries w =
            jac ? wennerSeries(delta, k, kFitTolerance) : WennerSeries{wennerSum(delta, k, kFitTolerance), 0.0, 0.0};
        model[g] = rho1 * (1.0 + 4.0 * w.s);
        d2[g] = rho1 * 4.0 * w.dk * dkdu;
        d1[g] = model[g] - d2[g];
        d3[g] = rho1 * 4.0 * w.dlnh;
    }
    for (size_t i = 0; i < s_.rho.size(); ++i) {
        const auto g = size_t(s_.group[i]);
        const auto row = Eigen::Index(i);
        if (f)
            (*f)[row] = model[g] / s_.rho[i] - 1.0;
        if (jac) {
            (*jac)(row, 0) = free[0] * d1[g] / s_.rho[i];
            (*jac)(row, 1) = free[1] * d2[g] / s_.rho[i];
            (*jac)(row, 2) = free[2] * d3[g] / s_.rho[i];
        }
    }
}

UniformModel fitUniform(const std::vector<double>& rho)
{
    // Closed form of the least relative squares: rho = sum(1/r) / sum(1/r^2),
    // with readings scaled by the smallest so neither sum overflows.
    const double least = *std::min_element(rho.begin(), rho.end());
    double s1 = 0.0, s2 = 0.0;
    for (double r : rho) {
        const double inv = least / r;
        s1 += inv;
        s2 += inv * inv;
    }
    const double ratio = s1 / s2;
    double squares = 0.0;
    for (double r : rho) {
        const double e = ratio * (least / r) - 1.0;
        squares += e * e;
    }
    return {least * ratio, 100.0 * std::sqrt(squares / double(rho.size()))};
}

// Starting points: the readings at the shortest and longest spacings as the two
// layers, either way round, exaggerated, or nearly uniform, each at depths across
// the spacing range.
std::vector<Eigen::VectorXd> startingPoints(const Sounding& s, double uniform)
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
    const double u = std::log(uniform);
    const double pairs[][2] = {{top, bottom}, {top, 2.0 * bottom - top}, {bottom, top}, {u, u}, {u, u + 1.0},
                               {u, u - 1.0}};
    const double aLow = std::log(s.spacing.front() * 0.5);
    const double aHigh = std::log(s.spacing.back());
    constexpr int kDepths = 4;
    std::vector<Eigen::VectorXd> starts;
    for (const auto& pair : pairs) {
        for (int i = 0; i < kDepths; ++i)
            starts.push_back(clamped(Eigen::Vector3d(pair[0], pair[1], aLow + (aHigh - aLow) * i / (kDepths - 1)), s));
    }
    return starts;
}

std::optional<TwoLayerModel> fitTwoLayer(const Sounding& s, double uniform)
{
    TwoLayerResiduals residuals(s);
    std::vector<Eigen::VectorXd> starts = startingPoints(s, uniform / s.rhoScale);
    std::vector<std::pair<double, size_t>> screened;
    for (size_t i = 0; i < starts.size(); ++i)
        screened.emplace_back(residuals.cost(starts[i]), i);
    std::sort(screened.begin(), screened.end());

    double best = std::numeric_limits<double>::infinity();
    Eigen::Vector3d bestX = Eigen::Vector3d::Zero();
    for (size_t i = 0; i < screened.size() && i < size_t(kStartsRefined); ++i) {
        Eigen::VectorXd x = starts[screened[i].second];
        Eigen::LevenbergMarquardt<TwoLayerResiduals> lm(residuals);
        lm.parameters.maxfev = kMaxEvaluations;
        lm.minimize(x);
        const double cost = residuals.cost(x);
        if (cost < best) {
            best = cost;
            bestX = clamped(x, s);
        }
    }
    TwoLayerModel m;
    m.rho1_ohm_m = s.rhoScale * std::exp(bestX[0]);
    m.rho2_ohm_m = s.rhoScale * std::exp(bestX[1]);
    m.h_m = s.aScale * std::exp(bestX[2]);
    m.k = std::tanh(0.5 * (bestX[1] - bestX[0]));
    m.rms_percent = 100.0 * std::sqrt(best / double(s.rho.size()));
    m.resolved = ((bestX - s.lower).array() > 1e-6).all() && ((s.upper - bestX).array() > 1e-6).all();
    const bool finite = std::isfinite(m.rho1_ohm_m) && std::isfinite(m.rho2_ohm_m) && std::isfinite(m.h_m)
                        && std::isfinite(m.rms_percent) && m.rho1_ohm_m > 0.0 && m.rho2_ohm_m > 0.0 && m.h_m > 0.0;
    if (!finite)
        return std::nullopt;
    return m;
}

double spread(const std::vector<double>& v)
{
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return *hi / *lo;
}

} // namespace

SoilAnalysis analyseTwoLayer(const std::vector<SoilPoint>& points)
{
    SoilAnalysis out;
    std::vector<SoilPoint> used;
    std::copy_if(points.begin(), points.end(), std::back_inserter(used), usable);
    out.pointsUsed = int(used.size());
    if (used.empty()) {
        out.verdict = points.empty() ? SoilAnalysis::Verdict::NoPoints : SoilAnalysis::Verdict::NoUsablePoints;
        out.message = points.empty() ? messages::noPoints() : messages::noUsablePoints();
        return out;
    }
    const Sounding s = soundingOf(used);
    out.distinctSpacings = s.distinctSpacings;
    std::vector<double> rho, a;
    for (const SoilPoint& p : used) {
        rho.push_back(p.rho_ohm_m);
        a.push_back(p.spacing_m);
        if (p.array == Array::Schlumberger)
            a.push_back(p.mn2_m); // MN/2 far below AB/2 would cost the model its precision
    }
    out.uniform = fitUniform(rho);
    if (out.distinctSpacings < 3) {
        out.verdict = SoilAnalysis::Verdict::TooFewSpacings;
        out.message = messages::tooFewSpacings(out.distinctSpacings);
        return out;
    }
    if (!(spread(rho) <= kMaxRhoSpread) || !(spread(a) <= kMaxSpacingSpread)) {
        out.verdict = SoilAnalysis::Verdict::SpreadTooWide;
        out.message = messages::spreadTooWide();
        return out;
    }
    out.twoLayer = fitTwoLayer(s, out.uniform->rho_ohm_m);
    if (!out.twoLayer) {
        out.verdict = SoilAnalysis::Verdict::FitFailed;
        out.message = messages::fitFailed();
    } else if (!out.twoLayer->resolved) {
        out.verdict = SoilAnalysis::Verdict::LayersNotResolved;
        out.message = messages::layersNotResolved();
    }
    return out;
}

} // namespace bm::soil
