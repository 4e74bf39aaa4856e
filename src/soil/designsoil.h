#pragma once

#include "design/soilchoice.h"
#include "soil/soilfit.h"

#include <optional>

namespace bm::design {

// The soil to design in from a fit: the two-layer model when the readings
// resolve the layers, else the uniform one; none without a model.
std::optional<Soil> fittedSoil(const soil::SoilAnalysis& analysis);

} // namespace bm::design
