#pragma once

#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QChart>

#include <vector>

class QLineSeries;
class QLogValueAxis;
class QScatterSeries;

namespace bm::soil {

// The sounding on log-log axes: the readings (left-out ones hollow and grey), the
// fitted two-layer curve and the uniform line. The window shows it; the report
// draws a copy of its own.
class SoilChart : public QChart {
public:
    explicit SoilChart(QGraphicsItem* parent = nullptr);

    void showAnalysis(const std::vector<RecordPoint>& points, const SoilAnalysis& analysis);

    QScatterSeries* includedSeries() const { return included_; }
    QScatterSeries* excludedSeries() const { return excluded_; }
    QLineSeries* twoLayerSeries() const { return twoLayer_; }
    QLineSeries* uniformSeries() const { return uniform_; }

private:
    void addToAxes(QAbstractSeries* series);

    QScatterSeries* included_;
    QScatterSeries* excluded_;
    QLineSeries* twoLayer_;
    QLineSeries* uniform_;
    QLogValueAxis* x_;
    QLogValueAxis* y_;
};

} // namespace bm::soil
