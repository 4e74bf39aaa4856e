#pragma once

#include <optional>
#include <vector>

namespace bm::electrode {

// One reading of the test: the potential probe's distance from the electrode's
// connection point and the resistance the tester showed there.
struct FopPoint {
    double distance_m = 0.0;
    double resistance_ohm = 0.0;
};

struct FopSettings {
    double currentDistance_m = 0.0; // C: the current probe's distance
    double plateauLimitPercent = 5.0;
    std::optional<double> limit_ohm; // the most the electrode may have, when one applies
};

// Every figure is absent when the readings do not reach the distance it needs;
// nothing is extrapolated beyond the outermost readings.
struct FopAnalysis {
    enum class Verdict { Ok, NoPlateau, ProbeTooClose, TooFewPoints };
    Verdict verdict = Verdict::TooFewPoints;
    int pointsUsed = 0;
    std::optional<double> r618_ohm;       // R at 0.618 C
    std::optional<double> plateauPercent; // larger deviation of R(0.52C), R(0.72C) from R(0.62C)
    std::optional<bool> plateauOk;
    std::optional<double> slopeMu;      // (R3 - R2) / (R2 - R1), R at 0.2C, 0.4C, 0.6C
    std::optional<double> slopePtRatio; // Pt/C for that mu
    std::optional<double> slopeR_ohm;   // R at Pt
    std::optional<double> inverseR_ohm; // 1/R extrapolated to an infinite distance
    std::optional<bool> limitOk;
    std::vector<FopPoint> curve; // the readings by distance, repeats averaged

    // The slope value when there is one, else the 61.8 % value.
    std::optional<double> reported_ohm() const { return slopeR_ohm ? slopeR_ohm : r618_ohm; }
};

// True when the reading can belong to a test with the current probe at C:
// 0 < distance < C and a positive resistance, all finite.
bool withinTest(const FopPoint& p, double currentDistance_m);

// The readings sorted by distance, those at one distance averaged into one.
std::vector<FopPoint> curveOf(const std::vector<FopPoint>& points);

// R at x on a curve, linear between the nearest readings either side; absent
// outside the readings.
std::optional<double> interpolate(const std::vector<FopPoint>& curve, double distance_m);

// Leaves out every reading at this distance (within 1e-9 relative); returns how many.
int excludeDistance(std::vector<FopPoint>& points, double distance_m);

// The curve's reductions and verdict. Readings outside the test (see withinTest)
// are left out.
FopAnalysis analyseFallOfPotential(const std::vector<FopPoint>& points, const FopSettings& settings);

} // namespace bm::electrode
