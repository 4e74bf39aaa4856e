#include "soil/soilfit.h"

#include "soil/ftest.h"
#include "soil/soilmessages.h"
#include "soil/threelayerfit.h"

#include <algorithm>

namespace bm::soil {

namespace {

// Sum of squared relative residuals from an RMS in percent over n readings.
double squares(double rmsPercent, int n)
{
    const double rms = rmsPercent / 100.0;
    return rms * rms * n;
}

// Uniform, or two layers when they were fitted and resolved; three when they are
// resolved and significantly better than that.
int chooseLayers(const SoilAnalysis& a)
{
    if (!a.uniform)
        return 0;
    const bool two = a.twoLayer && a.verdict == SoilAnalysis::Verdict::BothModels;
    const double simpler =
        two ? squares(a.twoLayer->rms_percent, a.pointsUsed) : squares(a.uniform->rms_percent, a.pointsUsed);
    const int base = two ? 2 : 1;
    if (a.threeLayer && a.threeLayer->resolved
        && significantlyBetter(simpler, two ? 3 : 1, squares(a.threeLayer->rms_percent, a.pointsUsed), 5, a.pointsUsed))
        return 3;
    return base;
}

// The parameters and residual squares of the best model a fit gave.
std::pair<int, double> bestOf(const std::optional<UniformModel>& u, const std::optional<TwoLayerModel>& t, int n)
{
    if (t)
        return {3, squares(t->rms_percent, n)};
    return {1, squares(u->rms_percent, n)};
}

void addTraverses(const std::vector<SoilPoint>& points, SoilAnalysis& out)
{
    std::vector<QString> names;
    for (const SoilPoint& p : points) {
        if (usable(p) && std::find(names.begin(), names.end(), p.traverse) == names.end())
            names.push_back(p.traverse);
    }
    if (names.size() < 2)
        return;
    int parameters = 0;
    double residual = 0.0;
    bool comparable = true;
    for (const QString& name : names) {
        std::vector<SoilPoint> own;
        std::copy_if(points.begin(), points.end(), std::back_inserter(own),
                     [&name](const SoilPoint& p) { return p.traverse == name; });
        const SoilAnalysis a = analyseTwoLayer(own);
        out.traverses.push_back({name, a.pointsUsed, a.uniform, a.twoLayer, a.message});
        comparable = comparable && a.uniform;
        if (a.uniform) {
            const auto [p, s] = bestOf(a.uniform, a.twoLayer, a.pointsUsed);
            parameters += p;
            residual += std::max(s, a.pointsUsed * kReadingPrecision * kReadingPrecision);
        }
    }
    // The traverses each with its own model against one model for all.
    const auto [jointParameters, joint] = bestOf(out.uniform, out.twoLayer, out.pointsUsed);
    out.traversesDisagree =
        comparable && significantlyBetter(joint, jointParameters, residual, parameters, out.pointsUsed);
}

} // namespace

SoilAnalysis analyse(const std::vector<SoilPoint>& points)
{
    SoilAnalysis out = analyseTwoLayer(points);
    if (!out.uniform)
        return out;
    const ThreeLayerFit three = fitThreeLayer(points, out.twoLayer);
    out.threeLayer = three.model;
    out.threeLayerMessage = three.message;
    out.layersChosen = chooseLayers(out);
    addTraverses(points, out);
    return out;
}

} // namespace bm::soil
