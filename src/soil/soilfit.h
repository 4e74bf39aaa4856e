#pragma once

#include "soil/soilpoint.h"

#include <QString>

#include <optional>
#include <vector>

namespace bm::soil {

// Both models minimise the sum of squared relative residuals (model - reading) / reading;
// rms_percent is 100 sqrt(mean of their squares).
struct UniformModel {
    double rho_ohm_m = 0.0;
    double rms_percent = 0.0;
};

struct TwoLayerModel {
    double rho1_ohm_m = 0.0; // top layer
    double rho2_ohm_m = 0.0; // below depth h
    double h_m = 0.0;
    double k = 0.0; // (rho2 - rho1) / (rho2 + rho1)
    double rms_percent = 0.0;
    // False when the best fit lies on the edge of the searched region (a layer
    // far thinner or deeper than the spacings, or an extreme contrast): the
    // readings do not tell the layers apart, and the uniform model says as much.
    bool resolved = true;
};

// rho1 over h1, rho2 over h2, on rho3; resolved as for two layers.
struct ThreeLayerModel {
    double rho1_ohm_m = 0.0;
    double h1_m = 0.0;
    double rho2_ohm_m = 0.0;
    double h2_m = 0.0;
    double rho3_ohm_m = 0.0;
    double rms_percent = 0.0;
    bool resolved = true;
};

// One traverse's own uniform and two-layer fit.
struct TraverseFit {
    QString name;
    int pointsUsed = 0;
    std::optional<UniformModel> uniform;
    std::optional<TwoLayerModel> twoLayer;
    QString message;
};

struct SoilAnalysis {
    // What could be fitted; the message says the same in words.
    enum class Verdict {
        BothModels,
        NoPoints,
        NoUsablePoints,
        TooFewSpacings,
        SpreadTooWide,
        FitFailed,
        LayersNotResolved
    };
    Verdict verdict = Verdict::BothModels;
    std::optional<UniformModel> uniform;
    std::optional<TwoLayerModel> twoLayer;
    QString message; // why a model is missing; empty when both are given
    int pointsUsed = 0;
    int distinctSpacings = 0;

    std::optional<ThreeLayerModel> threeLayer;
    QString threeLayerMessage; // why there is no three-layer model; empty when there is
    // The model to design with: 1 uniform, 2 or 3 layers; 0 when none was fitted.
    // Three layers only when they fit significantly better (see layerChoiceRule()).
    int layersChosen = 0;
    // Each traverse's own fit, when the points name more than one traverse, and
    // whether they differ by more than their residuals explain (lateral change).
    std::vector<TraverseFit> traverses;
    bool traversesDisagree = false;
};

// Fits the uniform and the two-layer models to the included points. Points
// without a positive, finite spacing and resistivity are left out.
SoilAnalysis analyseTwoLayer(const std::vector<SoilPoint>& points);

// The whole survey: analyseTwoLayer over every included point, the three-layer
// model, the choice between them, and each traverse's own fit.
SoilAnalysis analyse(const std::vector<SoilPoint>& points);

} // namespace bm::soil
