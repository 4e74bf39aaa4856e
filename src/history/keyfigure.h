#pragma once

#include "history/historytypes.h"

#include <optional>

namespace bm::history {

// The figure a visit is judged by: an electrode point's tested resistance or a soil
// point's model when computed, else the first reading.
struct KeyFigure {
    QString name;
    std::optional<double> value; // empty for an overload
    QString unit;                // Ω, Ωm or V
};

KeyFigure keyFigure(PointKind kind, const QList<Result>& results, const std::optional<StoredReading>& first);

// Pass when a resistance is at or below the limit; an overload fails. No verdict
// without a limit or for a figure that is not a resistance.
std::optional<bool> verdict(const KeyFigure& key, const std::optional<double>& limitOhm);

// Computed from a visit's readings now: the soil models of its resistivity readings.
QList<Result> resultsFor(const QList<StoredReading>& readings);

} // namespace bm::history
