#pragma once

#include "cli/options.h"

namespace bm::cli {

// `soil FILE`: both soil models of the readings in a file, as key=value lines or JSON.
// Exit status 1 with the line and what was wrong for input that cannot be used.
int runSoil(const SoilOptions& options);

} // namespace bm::cli
