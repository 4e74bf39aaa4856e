#pragma once

#include <optional>

namespace bm::design {

// A rectangular grid: nx conductors run along x, each lx long, spaced evenly
// across y; ny run along y. Optional rods stand on the perimeter.
struct Grid {
    double lx_m = 0.0;
    double ly_m = 0.0;
    int nx = 0;
    int ny = 0;
    double depth_m = 0.0;
    double conductorDiameter_m = 0.0;
    int rods = 0;
    double rodLength_m = 0.0;
};

double conductorLength(const Grid& g); // LC
double rodsLength(const Grid& g);      // LR
double totalLength(const Grid& g);     // LT = LC + LR

// Sverak's grid resistance.
double gridResistance(double rho_ohm_m, const Grid& g);

// The geometric factors of the mesh and step voltages for one spacing D.
struct MeshFactors {
    double spacing_m = 0.0; // D
    double n = 0.0;
    double kii = 0.0;
    double kh = 0.0;
    double km = 0.0;
    double ki = 0.0;
    double ks = 0.0;
    double lm_m = 0.0;
    double ls_m = 0.0;
};

MeshFactors meshFactors(const Grid& g, double spacing_m);

struct MeshVoltages {
    double mesh_v = 0.0;
    double step_v = 0.0;
};

// The larger mesh and step voltages of the two directions' spacings for grid
// current ig; none when a direction has fewer than two conductors (no mesh).
std::optional<MeshVoltages> meshVoltages(double rho_ohm_m, const Grid& g, double ig_a);

} // namespace bm::design
