#pragma once

#include "electrode/fallofpotential.h"

#include <QByteArray>
#include <QString>

namespace bm::electrode {

// The verdict as one word: ok, no_plateau, probe_too_close or too_few_points.
QString verdictWord(FopAnalysis::Verdict verdict);

// The verdict as a sentence in English, for the command line.
QString verdictSentence(const FopAnalysis& analysis, const FopSettings& settings);

// key=value lines: points_used, r_618_ohm, plateau_percent, plateau_ok, slope_mu,
// slope_pt_ratio, slope_r_ohm, inverse_r_ohm, limit_ok, verdict; '-' for an absent figure.
QString keyValueReport(const FopAnalysis& analysis);

// The same keys as one JSON object, null for an absent figure.
QByteArray jsonReport(const FopAnalysis& analysis);

} // namespace bm::electrode
