#pragma once

#include "cli/options.h"

namespace bm::cli {

class InterruptWatch;

// `read`: live readings, one request a second, printed as they come.
int runRead(const ReadOptions& options, const InterruptWatch& watch);

} // namespace bm::cli
