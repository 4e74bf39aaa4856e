#pragma once

#include "cli/options.h"

namespace bm::cli {

// `fop FILE`: the fall-of-potential figures of the readings in a file, as key=value
// lines or JSON, the verdict's sentence on standard error. Exit status 0 whatever
// the verdict; 1 with the line and what was wrong for a file that cannot be read.
int runFop(const FopOptions& options);

} // namespace bm::cli
