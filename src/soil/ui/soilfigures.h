#pragma once

#include "output/figurerow.h"
#include "soil/layeredearth.h"
#include "soil/soilfit.h"
#include "soil/ui/recordpoints.h"

#include <QPointF>
#include <QString>

#include <utility>
#include <vector>

namespace bm::soil {

// A number as files write it: '.' for the decimal point, no grouping, full precision.
QString plainNumber(double value);

std::vector<FigureRow> twoLayerRows(const TwoLayerModel& model);
std::vector<FigureRow> threeLayerRows(const ThreeLayerModel& model);
QString threeLayerTitle();
// Which model is chosen and by what rule, in words.
QString layerChoiceText(const SoilAnalysis& analysis);
// A traverse's name and its models in one line; the disagreement warning.
QString traverseLine(const TraverseFit& fit);
QString traversesDisagreeText();
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

// The layout the curves are drawn for: the array most included points use, and for
// Schlumberger their median MN/2 (spacings at or below it are left out of the curve).
SoilPoint curveLayout(const std::vector<RecordPoint>& points);
// A model's sounding curve for that layout at the logSpaced spacings.
std::vector<QPointF> layeredCurve(const Layers& layers, const SoilPoint& layout, double from, double to, int samples);
Layers layersOf(const TwoLayerModel& model);
Layers layersOf(const ThreeLayerModel& model);

} // namespace bm::soil
