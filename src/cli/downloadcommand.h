#pragma once

#include "cli/options.h"

namespace bm::cli {

class InterruptWatch;

// `download`: the stored records to a file or standard output. Whatever
// arrived is written even when the download ends early.
int runDownload(const DownloadOptions& options, const InterruptWatch& watch);

} // namespace bm::cli
