#pragma once

#include "soil/soilfit.h"

#include <QByteArray>
#include <QString>

namespace bm::soil {

// The analysis as key=value lines: points_used, uniform_ohm_m, uniform_rms_percent,
// then rho1_ohm_m, rho2_ohm_m, h_m, k, rms_percent when the two-layer model was
// fitted, rho1_ohm_m3, h1_m3, rho2_ohm_m3, h2_m3, rho3_ohm_m3, rms_percent3 when
// the three-layer one was, layers_chosen, traverses_disagree when there are
// several traverses, and message when there is something to say; then each
// traverse's keys prefixed "traverses.<name>.", and three_layer_message. Numbers
// always use '.'.
QString keyValueReport(const SoilAnalysis& analysis);

// The same keys as one JSON object, each traverse's under traverses.<name>.
QByteArray jsonReport(const SoilAnalysis& analysis);

} // namespace bm::soil
