#pragma once

#include "electrode/fallofpotential.h"

#include <QChart>

class QAreaSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace bm::electrode {

// R against x/C: the readings joined in order, the plateau band (0.52 C to 0.72 C),
// the 61.8 % line and the slope method's points (R at 0.2, 0.4, 0.6 C and at Pt).
// The window shows it; the report draws a copy of its own.
class FopChart : public QChart {
public:
    explicit FopChart(QGraphicsItem* parent = nullptr);

    void showAnalysis(const FopAnalysis& analysis, const FopSettings& settings);

    QScatterSeries* readingsSeries() const { return readings_; }
    QScatterSeries* slopeSeries() const { return slope_; }
    QLineSeries* trueLineSeries() const { return trueLine_; }

private:
    void addToAxes(QAbstractSeries* series);

    QAreaSeries* band_;
    QLineSeries* bandLow_;
    QLineSeries* bandHigh_;
    QLineSeries* curve_;
    QLineSeries* trueLine_;
    QScatterSeries* readings_;
    QScatterSeries* slope_;
    QValueAxis* x_;
    QValueAxis* y_;
};

} // namespace bm::electrode
