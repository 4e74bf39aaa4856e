#pragma once

#include "soil/layeredearth.h"
#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QChart>

#include <optional>
#include <vector>

class QLineSeries;
class QLogValueAxis;
class QScatterSeries;

namespace bm::soil {

// The sounding on log-log axes: the readings (left-out ones hollow and grey), the
// fitted two-layer curve, the uniform line and the three-layer curve, the curves
// for the array most readings use. The window shows it; the report
// draws a copy of its own.
class SoilChart : public QChart {
public:
    explicit SoilChart(QGraphicsItem* parent = nullptr);

    void showAnalysis(const std::vector<RecordPoint>& points, const SoilAnalysis& analysis);

    QScatterSeries* includedSeries() const { return included_; }
    QScatterSeries* excludedSeries() const { return excluded_; }
    QLineSeries* twoLayerSeries() const { return twoLayer_; }
    QLineSeries* uniformSeries() const { return uniform_; }
    QLineSeries* threeLayerSeries() const { return threeLayer_; }

private:
    void addToAxes(QAbstractSeries* series);
    QList<QPointF> curveOf(const std::optional<Layers>& layers, const std::vector<RecordPoint>& points) const;

    QScatterSeries* included_;
    QScatterSeries* excluded_;
    QLineSeries* twoLayer_;
    QLineSeries* uniform_;
    QLineSeries* threeLayer_;
    QLogValueAxis* x_;
    QLogValueAxis* y_;
};

} // namespace bm::soil
