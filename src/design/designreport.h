#pragma once

#include "design/design.h"

#include <QByteArray>
#include <QString>

namespace bm::design {

// The result as key=value lines, the keys that apply in this order:
// rho_used_ohm_m, rho_basis, rod_ohm, rods_ohm, lambda, rods_needed, grid_ohm,
// gpr_v, cs, touch_tolerable_v, step_tolerable_v, mesh_v, step_v, safe, then
// message when something could not be worked out. Numbers always use '.'.
QString keyValueReport(const DesignResult& result);

// The same keys as one JSON object (safe as a boolean, rods_needed as an integer).
QByteArray jsonReport(const DesignResult& result);

} // namespace bm::design
