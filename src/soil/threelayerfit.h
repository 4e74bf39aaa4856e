#pragma once

#include "soil/soilfit.h"

#include <QString>

#include <optional>
#include <vector>

namespace bm::soil {

struct ThreeLayerFit {
    std::optional<ThreeLayerModel> model;
    QString message; // why there is none
};

// Fits rho1, h1, rho2, h2, rho3 to the usable points on the logarithms, from
// several starting guesses, with the two-layer model (when given) among them.
// Needs five or more distinct spacings.
ThreeLayerFit fitThreeLayer(const std::vector<SoilPoint>& points, const std::optional<TwoLayerModel>& twoLayer);

} // namespace bm::soil
