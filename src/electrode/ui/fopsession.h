#pragma once

#include "electrode/fallofpotential.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace bm {
class RecordTable;
}

namespace bm::electrode {

// A resistance record of the table and the distance the user gave it.
struct FopRow {
    int record = 0;
    double resistance_ohm = 0.0;
    std::optional<double> distance_m;
};

// The resistance records of the table with their distances, and the analysis,
// kept up to date as the table changes (gathered for a moment, waiting while
// paused, as the soil window's session does). A distance stays with its record
// while the record holds the same reading.
class FopSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 100;

    explicit FopSession(const RecordTable& table, QObject* parent = nullptr);

    const std::vector<FopRow>& rows() const { return rows_; }
    const FopSettings& settings() const { return settings_; }
    const FopAnalysis& analysis() const { return analysis_; }
    // The rows with a distance, as the analysis takes them.
    std::vector<FopPoint> points() const;

    // Each re-analyses at once; an index outside the rows is ignored.
    void setDistance(int index, std::optional<double> distance_m);
    // first, first + step, ... down the rows in order.
    void fillDistances(double first_m, double step_m);
    void setSettings(const FopSettings& settings);

    void setPaused(bool paused);
    void refresh();

signals:
    // rowsChanged: the list itself may differ, not just distances or figures.
    void changed(bool rowsChanged);

private:
    using RowKey = std::pair<int, double>;
    void tableChanged();
    void reanalyse(bool rowsChanged);

    const RecordTable& table_;
    QTimer settle_;
    std::vector<FopRow> rows_;
    std::map<RowKey, double> distances_;
    FopSettings settings_;
    FopAnalysis analysis_;
    bool paused_ = false;
    bool stale_ = false;
};

} // namespace bm::electrode
