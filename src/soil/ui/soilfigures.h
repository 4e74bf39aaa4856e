#pragma once

#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QPointF>
#include <QString>

#include <utility>
#include <vector>

namespace bm::soil {

// One figure of a model as the window and the report show it: a name and a value with its unit.
struct FigureRow {
    QString name;
    QString value;
};

// A value with four significant digits and no exponent: 0.1234, 12.34, 12345.
QString figure(double value);
// A number as files write it: '.' for the decimal point, no grouping, full precision.
QString plainNumber(double value);

std::vector<FigureRow> twoLayerRows(const TwoLayerModel& model);
std::vector<FigureRow> uniformRows(const UniformModel& model);
QString twoLayerTitle();
QString uniformTitle();

// The smallest and largest spacing of the points, included or not; {0, 0} without points.
std::pair<double, double> spacingRange(const std::vector<RecordPoint>& points);

// `samples` spacings evenly spread in log from `from` to `to`; one when they are equal,
// none when they are not a positive range.
std::vector<double> logSpaced(double from, double to, int samples);

// The two-layer sounding curve at the logSpaced spacings; points the model cannot give are left out.
std::vector<QPointF> twoLayerCurve(const TwoLayerModel& model, double from, double to, int samples);

} // namespace bm::soil
