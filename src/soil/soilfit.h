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

struct SoilAnalysis {
    std::optional<UniformModel> uniform;
    std::optional<TwoLayerModel> twoLayer;
    QString message; // why a model is missing; empty when both are given
    int pointsUsed = 0;
    int distinctSpacings = 0;
};

// Fits the uniform and the two-layer Wenner models to the included points. Points
// without a positive, finite spacing and resistivity are left out.
SoilAnalysis analyse(const std::vector<SoilPoint>& points);

} // namespace bm::soil
