#include "design/grid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bm::design {

namespace {

constexpr double kPi = std::numbers::pi;

double area(const Grid& g) { return g.lx_m * g.ly_m; }
double perimeter(const Grid& g) { return 2.0 * (g.lx_m + g.ly_m); }

} // namespace

double conductorLength(const Grid& g) { return g.nx * g.lx_m + g.ny * g.ly_m; }
double rodsLength(const Grid& g) { return g.rods * g.rodLength_m; }
double totalLength(const Grid& g) { return conductorLength(g) + rodsLength(g); }

// IEEE Std 80-2013, 14.2, Sverak: Rg = rho [1/LT + 1/sqrt(20 A) (1 + 1/(1 + h sqrt(20/A)))].
double gridResistance(double rho_ohm_m, const Grid& g)
{
    const double a = area(g);
    return rho_ohm_m
           * (1.0 / totalLength(g) + 1.0 / std::sqrt(20.0 * a) * (1.0 + 1.0 / (1.0 + g.depth_m * std::sqrt(20.0 / a))));
}

// IEEE Std 80-2013, 16.5.1 and 16.5.2 (square and rectangular grids: nc = nd = 1).
MeshFactors meshFactors(const Grid& g, double spacing_m)
{
    MeshFactors f;
    const double d = g.conductorDiameter_m;
    const double h = g.depth_m;
    const double lc = conductorLength(g);
    const double lr = rodsLength(g);
    const double na = 2.0 * lc / perimeter(g);
    const double nb = std::sqrt(perimeter(g) / (4.0 * std::sqrt(area(g))));
    f.spacing_m = spacing_m;
    f.n = na * nb;
    // Rods on the perimeter take the crowding off the corner meshes.
    f.kii = g.rods > 0 ? 1.0 : 1.0 / std::pow(2.0 * f.n, 2.0 / f.n);
    f.kh = std::sqrt(1.0 + h / 1.0); // h0 = 1 m
    const double D = spacing_m;
    f.km = 1.0 / (2.0 * kPi)
           * (std::log(D * D / (16.0 * h * d) + (D + 2.0 * h) * (D + 2.0 * h) / (8.0 * D * d) - h / (4.0 * d))
              + f.kii / f.kh * std::log(8.0 / (kPi * (2.0 * f.n - 1.0))));
    f.ki = 0.644 + 0.148 * f.n;
    f.ks = 1.0 / kPi * (1.0 / (2.0 * h) + 1.0 / (D + h) + 1.0 / D * (1.0 - std::pow(0.5, f.n - 2.0)));
    f.lm_m = g.rods > 0 ? lc + (1.55 + 1.22 * g.rodLength_m / std::hypot(g.lx_m, g.ly_m)) * lr : lc;
    f.ls_m = 0.75 * lc + 0.85 * lr;
    return f;
}

// IEEE Std 80-2013, 16.5.1 and 16.5.2: Em = rho Km Ki IG / LM, Es = rho Ks Ki IG / LS.
std::optional<MeshVoltages> meshVoltages(double rho_ohm_m, const Grid& g, double ig_a)
{
    if (g.nx < 2 || g.ny < 2)
        return std::nullopt;
    // A rectangle's two directions may be spaced differently: each is checked.
    MeshVoltages worst;
    for (const double spacing : {g.ly_m / (g.nx - 1), g.lx_m / (g.ny - 1)}) {
        const MeshFactors f = meshFactors(g, spacing);
        worst.mesh_v = std::max(worst.mesh_v, rho_ohm_m * f.km * f.ki * ig_a / f.lm_m);
        worst.step_v = std::max(worst.step_v, rho_ohm_m * f.ks * f.ki * ig_a / f.ls_m);
    }
    return worst;
}

} // namespace bm::design
