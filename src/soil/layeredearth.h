#pragma once

#include "soil/soilpoint.h"

#include <array>

namespace bm::soil {

// A horizontally layered soil of up to three layers: resistivities from the top,
// and the thicknesses of all but the bottom layer.
constexpr int kMaxLayers = 3;
constexpr int kMaxParameters = 2 * kMaxLayers - 1;
struct Layers {
    int count = 2;
    std::array<double, kMaxLayers> rho{};
    std::array<double, kMaxLayers - 1> h{};
};

// Where the array's electrodes stand, as the layered-earth integral needs them:
// rho_a = rho1 [1 + c (I(r1) - I(r2))], I(r) = integral of theta(lambda) J0(lambda r),
// theta the kernel of the layers (theta = K e^(-2 lambda h) / (1 - K e^(-2 lambda h))
// for two). Wenner: c = 4a, r1 = a, r2 = 2a. Schlumberger with AB/2 = s, MN/2 = m:
// c = (s^2 - m^2) / m, r1 = s - m, r2 = s + m (Koefoed, Geosounding Principles 1, 1979).
struct Electrodes {
    double c = 0.0;
    double r1 = 0.0;
    double r2 = 0.0;
};
Electrodes electrodesOf(Array array, double spacing, double mn2);

// The kernel theta at lambda and its derivatives in the logarithms of the
// parameters (ln rho_1..rho_n, then ln h_1..h_n-1), by the layer recursion
// W_i = k_i e^(-2 lambda h_i), k_i = (T_i+1 - rho_i) / (T_i+1 + rho_i),
// T_i = rho_i (1 + W_i) / (1 - W_i), T_n = rho_n, theta = W_1 / (1 - W_1).
struct KernelValue {
    double theta = 0.0;
    std::array<double, kMaxParameters> d{};
};
KernelValue layerKernel(const Layers& layers, double lambda, bool derivatives);

// Apparent resistivity by the Hankel filter, with its derivatives in the same
// logarithms when asked. NaN when the layers or electrodes are not positive and finite.
struct Apparent {
    double rho = 0.0;
    std::array<double, kMaxParameters> d{};
};
Apparent layeredApparent(const Electrodes& e, const Layers& layers, bool derivatives = false);

// The apparent resistivity a point's array would read over the layers: the
// two-layer Wenner image series where it applies, the filter otherwise.
double apparentOver(const SoilPoint& point, const Layers& layers);

} // namespace bm::soil
