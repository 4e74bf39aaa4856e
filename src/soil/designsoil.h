#pragma once

#include "design/soilchoice.h"
#include "soil/soilfit.h"

#include <optional>

namespace bm::soil {

// The soil to design an electrode in, from a fit: the two-layer model when the
// readings resolve the layers, else the uniform one; none without a model.
std::optional<design::Soil> designSoil(const SoilAnalysis& analysis);

} // namespace bm::soil
