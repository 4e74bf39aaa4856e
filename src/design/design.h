#pragma once

#include "design/grid.h"
#include "design/rods.h"
#include "design/safety.h"
#include "design/soilchoice.h"

#include <optional>

namespace bm::design {

enum class Electrode { Rod, Rods, RodsNeeded, Grid };

struct Rod {
    double length_m = 0.0;
    double diameter_m = 0.0;
};

// Everything a design is worked out from. Lengths in metres; the values are
// expected to be checked (positive, a rod thinner than it is long) beforehand.
struct DesignInput {
    Soil soil;
    Electrode electrode = Electrode::Rod;
    Rod rod;                // Rod, Rods, RodsNeeded
    int rods = 1;           // Rods
    double spacing_m = 0.0; // Rods, RodsNeeded; 0: the rod length
    Arrangement arrangement = Arrangement::Line;
    double target_ohm = 0.0; // RodsNeeded
    Grid grid;               // Grid
    std::optional<SafetyInput> safety;
};

inline constexpr int kMaxRods = 100;

struct SafetyResult {
    double gpr_v = 0.0;
    Tolerable tolerable;
    std::optional<MeshVoltages> mesh; // grids with two or more conductors each way
    bool safe = false;
};

struct DesignResult {
    RhoUsed rho;
    std::optional<double> rod_ohm;
    std::optional<double> rods_ohm;
    std::optional<double> lambda;
    std::optional<int> rodsNeeded;
    bool targetUnreachable = false; // no group of up to kMaxRods rods reaches the target
    std::optional<double> grid_ohm;
    bool gridHasNoMesh = false;         // fewer than two conductors one way
    std::optional<SafetyResult> safety; // when asked for and the electrode has a resistance
};

DesignResult evaluate(const DesignInput& in);

} // namespace bm::design
