#pragma once

#include "cli/options.h"

namespace bm::cli {

class InterruptWatch;

// `ports`: one line per port with a device. Exit status 2 with --probe when
// no port answers.
int runPorts(const PortsOptions& options, const InterruptWatch& watch);

} // namespace bm::cli
