#pragma once

#include "soil/soilfit.h"

#include <QString>

namespace bm::soil {

// The analysis's verdict in the interface language, for the window and its report.
QString verdictText(const SoilAnalysis& analysis);

} // namespace bm::soil
