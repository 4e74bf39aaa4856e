#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace bm::soil {

enum class Array { Wenner, Schlumberger };

// One reading. Several readings at one spacing stay separate points. Wenner:
// spacing a. Schlumberger: spacing AB/2, and MN/2 below it.
struct SoilPoint {
    double spacing_m = 0.0;
    double rho_ohm_m = 0.0; // apparent resistivity
    bool included = true;   // the user may leave a doubtful reading out
    Array array = Array::Wenner;
    double mn2_m = 0.0;
    QString traverse = QStringLiteral("A"); // the line it was measured on
};

// The geometric factor k of rho_a = k R: 2 pi a for Wenner, pi (s^2 - m^2) / (2 m)
// for Schlumberger: IEEE Std 81 four-point formula pi c (c + d) R / d with
// c = s - m, d = 2m. NaN where the geometry is impossible.
double geometricFactor(Array array, double spacing_m, double mn2_m);

// A stored resistivity record as a point, values already in SI (KΩm converted by
// the caller). Overloaded readings and those without a positive, finite spacing and
// resistivity cannot be fitted and give no point.
std::optional<SoilPoint> pointFromReading(double spacing_m, double rho_ohm_m, bool overloaded);

// True when the point can take part in a fit: included, positive and finite, and
// for Schlumberger 0 < MN/2 < AB/2.
bool usable(const SoilPoint& p);

// A traverse is named by 1 to 16 letters, digits, '-' or '_': the name becomes a report key.
bool validTraverse(const QString& name);

// Leaves out every point whose spacing equals spacing_m within 1e-9 relative;
// returns how many it left out.
int excludeSpacing(std::vector<SoilPoint>& points, double spacing_m);

} // namespace bm::soil
