#pragma once

#include "soil/soilfit.h"

#include <QString>

namespace bm::soil {

// The analysis's verdict in the interface language, for the window and its report.
QString verdictText(const SoilAnalysis& analysis);
// Why there is no three-layer model, in the interface language; empty when there is one.
QString threeLayerText(const SoilAnalysis& analysis);

} // namespace bm::soil
