#pragma once

#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace bm {
class RecordTable;
}

namespace bm::soil {

// The points of the records table and their fit, kept up to date as the table
// changes. A download changes the table once per record, so changes are gathered
// for a moment and fitted together; while paused (window hidden) they wait.
class SoilSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 100;

    explicit SoilSession(const RecordTable& table, QObject* parent = nullptr);

    const std::vector<RecordPoint>& points() const { return points_; }
    const SoilAnalysis& analysis() const { return analysis_; }
    // Refits at once. An index outside the points is ignored.
    void setIncluded(int index, bool included);
    // The point's array, MN/2 and traverse (Wenner, traverse A until set); refits at
    // once, and holds while its record holds the same reading. A traverse name
    // that is not valid (validTraverse) is refused, as is an index outside the points.
    bool setLayout(int index, Array array, double mn2_m, const QString& traverse);

    void setPaused(bool paused);
    // Reads the table and refits now.
    void refresh();
    // How many times the table was read; a burst of changes should cost one.
    int refreshCount() const { return refreshes_; }

signals:
    // pointsChanged: the list itself may differ, not just which points are included.
    void changed(bool pointsChanged);

private:
    // A left-out point stays left out while its record holds the same reading.
    using PointKey = std::tuple<int, double, double>;
    struct Layout {
        Array array = Array::Wenner;
        double mn2_m = 0.0;
        QString traverse;
    };
    static PointKey keyOf(const RecordPoint& p);
    void tableChanged();
    void refit();

    const RecordTable& table_;
    QTimer settle_;
    std::vector<RecordPoint> points_;
    std::set<PointKey> excluded_;
    std::map<PointKey, Layout> layouts_;
    SoilAnalysis analysis_;
    bool paused_ = false;
    bool stale_ = false;
    int refreshes_ = 0;
};

} // namespace bm::soil
