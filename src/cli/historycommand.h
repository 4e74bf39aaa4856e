#pragma once

#include "cli/historyoptions.h"

namespace bm::cli {

// `history ACTION`: the site history from a terminal or a script.
int runHistory(const HistoryOptions& options);

// Stores readings as one visit and prints its id (on standard error when standard
// output carries a download); the exit status.
enum class IdTo { Stdout, Stderr };
int storeVisit(const VisitOptions& options, const QList<history::StoredReading>& readings, const QString& source,
               IdTo idTo = IdTo::Stdout);

} // namespace bm::cli
