#pragma once

#include "cli/historyoptions.h"
#include "history/historytypes.h"

#include <QByteArray>

namespace bm::cli {

// The lists of `history sites` and `history show` as text, JSON or CSV (UTF-8).
QByteArray sitesOutput(ListFormat format, const QList<history::SiteSummary>& sites);
QByteArray visitsOutput(ListFormat format, const QList<history::VisitSummary>& visits);

} // namespace bm::cli
