#include "design/design.h"

namespace bm::design {

namespace {

void evaluateRods(const DesignInput& in, DesignResult& r)
{
    r.rho = rodResistivity(in.soil, in.rod.length_m);
    const double rho = r.rho.rho_ohm_m;
    const double r1 = rodResistance(rho, in.rod.length_m, in.rod.diameter_m);
    r.rod_ohm = r1;
    const double spacing = in.spacing_m > 0.0 ? in.spacing_m : in.rod.length_m;
    int n = 0;
    if (in.electrode == Electrode::Rods) {
        n = in.rods;
    } else if (in.electrode == Electrode::RodsNeeded) {
        r.rodsNeeded = rodsNeeded(rho, r1, spacing, in.target_ohm, in.arrangement, kMaxRods);
        r.targetUnreachable = !r.rodsNeeded;
        n = r.rodsNeeded.value_or(0);
    }
    if (n > 0) {
        r.rods_ohm = groupResistance(rho, r1, n, spacing, in.arrangement);
        r.lambda = groupLambda(n, in.arrangement);
    }
}

std::optional<double> electrodeOhm(const DesignInput& in, const DesignResult& r)
{
    switch (in.electrode) {
    case Electrode::Rod: return r.rod_ohm;
    case Electrode::Rods:
    case Electrode::RodsNeeded: return r.rods_ohm;
    case Electrode::Grid: return r.grid_ohm;
    }
    return std::nullopt;
}

// IEEE Std 80-2013, clause 16 and figure 33: safe when the GPR stays below the
// tolerable touch voltage, or else when the mesh and step voltages stay below theirs.
SafetyResult evaluateSafety(const DesignInput& in, const DesignResult& r, double ohm)
{
    SafetyResult s;
    const SafetyInput& si = *in.safety;
    s.gpr_v = si.faultCurrent_a * ohm;
    // The surface layer lies on the top soil, whatever the electrode reaches.
    s.tolerable = tolerableVoltages(in.soil.rho1_ohm_m, si);
    if (in.electrode == Electrode::Grid)
        s.mesh = meshVoltages(r.rho.rho_ohm_m, in.grid, si.faultCurrent_a);
    s.safe = s.gpr_v < s.tolerable.touch_v
             || (s.mesh && s.mesh->mesh_v < s.tolerable.touch_v && s.mesh->step_v < s.tolerable.step_v);
    return s;
}

} // namespace

DesignResult evaluate(const DesignInput& in)
{
    DesignResult r;
    if (in.electrode == Electrode::Grid) {
        r.rho = gridResistivity(in.soil, in.grid.depth_m);
        r.grid_ohm = gridResistance(r.rho.rho_ohm_m, in.grid);
        r.gridHasNoMesh = in.grid.nx < 2 || in.grid.ny < 2;
    } else {
        evaluateRods(in, r);
    }
    if (const std::optional<double> ohm = electrodeOhm(in, r); ohm && in.safety)
        r.safety = evaluateSafety(in, r, *ohm);
    return r;
}

} // namespace bm::design
