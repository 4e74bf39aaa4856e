#pragma once

#include "electrode/fallofpotential.h"

#include <QString>

#include <optional>
#include <vector>

namespace bm::electrode {

// One figure as the window and the report show it: a name and a value with its unit.
struct FopFigure {
    QString name;
    QString value;
};

// Four significant digits, no exponent; a dash for an absent value.
QString fopNumber(std::optional<double> value);

// The analysis's figures in the interface language, in the order of the command line's keys.
std::vector<FopFigure> fopFigures(const FopAnalysis& analysis, const FopSettings& settings);

// The verdict as a sentence in the interface language.
QString fopVerdictText(const FopAnalysis& analysis, const FopSettings& settings);

} // namespace bm::electrode
