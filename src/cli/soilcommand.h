#pragma once

#include "cli/options.h"
#include "soil/soilfit.h"

#include <optional>

namespace bm::cli {

// `soil FILE`: both soil models of the readings in a file, as key=value lines or JSON.
// Exit status 1 with the line and what was wrong for input that cannot be used.
int runSoil(const SoilOptions& options);

// The soil models of the readings in a file ("-": standard input), as runSoil
// fits them; none, with the reason on standard error, when no model can be fitted.
std::optional<soil::SoilAnalysis> analyseSoilFile(const QString& fileName, const QList<double>& excludedSpacings);

} // namespace bm::cli
