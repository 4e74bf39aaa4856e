#pragma once

#include "soil/soilfit.h"

#include <QByteArray>
#include <QString>

namespace bm::soil {

// The analysis as key=value lines: points_used, uniform_ohm_m, uniform_rms_percent,
// then rho1_ohm_m, rho2_ohm_m, h_m, k, rms_percent when the two-layer model was
// fitted, and message when there is something to say. Numbers always use '.'.
QString keyValueReport(const SoilAnalysis& analysis);

// The same keys as one JSON object.
QByteArray jsonReport(const SoilAnalysis& analysis);

} // namespace bm::soil
