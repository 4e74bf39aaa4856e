#include "electrode/ui/fopchart.h"

#include <QAreaSeries>
#include <QCoreApplication>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace bm::electrode {

namespace {

struct FopChartText {
    Q_DECLARE_TR_FUNCTIONS(bm::electrode::FopChart)
};

QValueAxis* axis(const QString& title)
{
    auto* a = new QValueAxis;
    a->setTitleText(title);
    a->setLabelFormat(QStringLiteral("%g"));
    return a;
}

} // namespace

FopChart::FopChart(QGraphicsItem* parent)
    : QChart(parent), band_(nullptr),
      // An area series does not own its edges: the chart does.
      bandLow_(new QLineSeries(this)), bandHigh_(new QLineSeries(this)), curve_(new QLineSeries),
      trueLine_(new QLineSeries), readings_(new QScatterSeries), slope_(new QScatterSeries),
      x_(axis(FopChartText::tr("电位极距离 x/C"))), y_(axis(FopChartText::tr("电阻 R (Ω)")))
{
    band_ = new QAreaSeries(bandHigh_, bandLow_);
    band_->setName(FopChartText::tr("平台区 (52%–72% C)"));
    band_->setColor(QColor(0x30, 0x90, 0x40, 0x40));
    band_->setBorderColor(Qt::transparent);
    curve_->setName(FopChartText::tr("电位降曲线"));
    curve_->setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 1.5));
    trueLine_->setName(FopChartText::tr("61.8% C"));
    trueLine_->setPen(QPen(QColor(0xc0, 0x30, 0x20), 1.5, Qt::DashLine));
    readings_->setName(FopChartText::tr("读数"));
    readings_->setMarkerSize(9.0);
    readings_->setColor(QColor(0x1f, 0x5f, 0xbf));
    slope_->setName(FopChartText::tr("斜率法各点"));
    slope_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    slope_->setMarkerSize(10.0);
    slope_->setBrush(Qt::NoBrush);
    slope_->setPen(QPen(QColor(0xd0, 0x80, 0x00), 2.0));

    x_->setRange(0.0, 1.0);
    x_->setTickCount(11);
    addAxis(x_, Qt::AlignBottom);
    addAxis(y_, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(band_), static_cast<QAbstractSeries*>(curve_),
                               static_cast<QAbstractSeries*>(trueLine_), static_cast<QAbstractSeries*>(readings_),
                               static_cast<QAbstractSeries*>(slope_)})
        addToAxes(s);
    legend()->setAlignment(Qt::AlignBottom);
}

void FopChart::addToAxes(QAbstractSeries* series)
{
    addSeries(series);
    series->attachAxis(x_);
    series->attachAxis(y_);
}

void FopChart::showAnalysis(const FopAnalysis& a, const FopSettings& s)
{
    const double c = s.currentDistance_m;
    QList<QPointF> points;
    double top = 0.0;
    for (const FopPoint& p : a.curve) {
        points.append(QPointF(p.distance_m / c, p.resistance_ohm));
        top = std::max(top, p.resistance_ohm);
    }
    readings_->replace(points);
    curve_->replace(points);
    QList<QPointF> slope;
    const double ratios[] = {0.2, 0.4, 0.6, a.slopePtRatio.value_or(-1.0)};
    for (double ratio : ratios)
        if (const auto r = ratio > 0.0 ? interpolate(a.curve, ratio * c) : std::nullopt)
            slope.append(QPointF(ratio, *r));
    slope_->replace(a.slopeMu ? slope : QList<QPointF>());

    top = top > 0.0 ? top * 1.1 : 1.0;
    y_->setRange(0.0, top);
    y_->applyNiceNumbers();
    const double ceiling = y_->max();
    trueLine_->replace({QPointF(0.618, 0.0), QPointF(0.618, ceiling)});
    bandLow_->replace({QPointF(0.52, 0.0), QPointF(0.72, 0.0)});
    bandHigh_->replace({QPointF(0.52, ceiling), QPointF(0.72, ceiling)});
}

} // namespace bm::electrode
