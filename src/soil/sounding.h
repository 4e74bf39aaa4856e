#pragma once

#include "soil/soilpoint.h"

#include <Eigen/Core>

#include <vector>

namespace bm::soil {

// The fit stays where the readings can tell the layers apart: h from a quarter of
// the shortest spacing to twenty times the longest, and layer resistivities within
// a factor of a thousand beyond the readings. Outside, noise alone would drive a
// near-uniform sounding to a thin skin of absurd resistivity.
constexpr double kThinnest = 1.0 / 4.0;
constexpr double kDeepest = 20.0;
constexpr double kRhoMargin = 1e3;

// The readings scaled to order one (spacings and resistivities over their
// geometric means) and grouped by electrode layout, so each layout's model is
// worked out once. Only the fits' own code uses it.
struct Sounding {
    std::vector<double> spacing; // per layout, ascending
    std::vector<Array> array;    // per layout
    std::vector<double> mn2;     // per layout, Schlumberger only
    std::vector<int> group;      // per reading: its layout's index
    std::vector<double> rho;
    int distinctSpacings = 0;
    double aScale = 1.0;
    double rhoScale = 1.0;
    Eigen::Vector3d lower; // bounds of the parameters (ln rho1, ln rho2, ln h)
    Eigen::Vector3d upper;
};

double geometricMean(const std::vector<double>& v);
// The points must be usable and not empty.
Sounding soundingOf(std::vector<SoilPoint> points);

} // namespace bm::soil
