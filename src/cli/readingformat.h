#pragma once

#include "cli/options.h"
#include "model/measurement.h"

#include <QDateTime>
#include <QString>

namespace bm::cli {

// The header line of `read --format csv`.
QString readingCsvHeader();

// One live reading as a line (no line end) in the given format: text with the
// value texts as the window shows them, CSV and JSON with SI numbers and flags.
QString readingLine(ReadFormat format, const QDateTime& time, const Measurement& m);

} // namespace bm::cli
