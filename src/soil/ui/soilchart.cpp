#include "soil/ui/soilchart.h"

#include "soil/ui/soilfigures.h"

#include <QCoreApplication>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>

#include <algorithm>
#include <cmath>

namespace bm::soil {

namespace {

constexpr int kCurveSamples = 80;
// The curves reach a little past the outermost readings, as on sounding paper.
constexpr double kMargin = 1.25;

struct SoilChartText {
    Q_DECLARE_TR_FUNCTIONS(bm::soil::SoilChart)
};

// Whole decades around the values, so the grid reads like log paper.
std::pair<double, double> decades(double lo, double hi)
{
    if (!(lo > 0.0) || !(hi >= lo) || !std::isfinite(hi))
        return {1.0, 10.0};
    const double from = std::pow(10.0, std::floor(std::log10(lo / kMargin)));
    const double to = std::pow(10.0, std::ceil(std::log10(hi * kMargin)));
    return {from, std::max(to, from * 10.0)};
}

QLogValueAxis* logAxis(const QString& title)
{
    auto* axis = new QLogValueAxis;
    axis->setBase(10.0);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setMinorTickCount(8);
    axis->setTitleText(title);
    return axis;
}

} // namespace

SoilChart::SoilChart(QGraphicsItem* parent)
    : QChart(parent), included_(new QScatterSeries), excluded_(new QScatterSeries), twoLayer_(new QLineSeries),
      uniform_(new QLineSeries), threeLayer_(new QLineSeries), x_(logAxis(SoilChartText::tr("电极间距 a (m)"))),
      y_(logAxis(SoilChartText::tr("视电阻率 ρa (Ω·m)")))
{
    included_->setName(SoilChartText::tr("计入的读数"));
    included_->setMarkerSize(9.0);
    included_->setColor(QColor(0x1f, 0x5f, 0xbf));
    included_->setBorderColor(QColor(0x1f, 0x5f, 0xbf));
    excluded_->setName(SoilChartText::tr("排除的读数"));
    excluded_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    excluded_->setMarkerSize(9.0);
    excluded_->setBrush(Qt::NoBrush);
    excluded_->setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    twoLayer_->setName(twoLayerTitle());
    twoLayer_->setPen(QPen(QColor(0xc0, 0x30, 0x20), 2.0));
    uniform_->setName(uniformTitle());
    uniform_->setPen(QPen(QColor(0x30, 0x90, 0x40), 1.5, Qt::DashLine));
    threeLayer_->setName(threeLayerTitle());
    threeLayer_->setPen(QPen(QColor(0x80, 0x30, 0xa0), 2.0, Qt::DashDotLine));

    addAxis(x_, Qt::AlignBottom);
    addAxis(y_, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(uniform_), static_cast<QAbstractSeries*>(twoLayer_),
                               static_cast<QAbstractSeries*>(excluded_), static_cast<QAbstractSeries*>(included_)})
        addToAxes(s);
    addToAxes(threeLayer_);
    legend()->setAlignment(Qt::AlignBottom);
}

void SoilChart::addToAxes(QAbstractSeries* series)
{
    addSeries(series);
    series->attachAxis(x_);
    series->attachAxis(y_);
}

QList<QPointF> SoilChart::curveOf(const std::optional<Layers>& layers, const std::vector<RecordPoint>& points) const
{
    QList<QPointF> curve;
    const auto [aLo, aHi] = spacingRange(points);
    if (layers)
        for (const QPointF& c : layeredCurve(*layers, curveLayout(points), aLo / kMargin, aHi * kMargin, kCurveSamples))
            curve.append(c);
    return curve;
}

void SoilChart::showAnalysis(const std::vector<RecordPoint>& points, const SoilAnalysis& analysis)
{
    QList<QPointF> in, out;
    double rhoLo = HUGE_VAL, rhoHi = 0.0;
    for (const RecordPoint& p : points) {
        if (!std::isfinite(p.point.rho_ohm_m))
            continue; // a Schlumberger point still waiting for its MN/2
        (p.point.included ? in : out).append(QPointF(p.point.spacing_m, p.point.rho_ohm_m));
        rhoLo = std::min(rhoLo, p.point.rho_ohm_m);
        rhoHi = std::max(rhoHi, p.point.rho_ohm_m);
    }
    included_->replace(in);
    excluded_->replace(out);

    const auto [aLo, aHi] = spacingRange(points);
    const QList<QPointF> curve =
        curveOf(analysis.twoLayer ? std::optional(layersOf(*analysis.twoLayer)) : std::nullopt, points);
    twoLayer_->replace(curve);
    const QList<QPointF> three =
        curveOf(analysis.threeLayer ? std::optional(layersOf(*analysis.threeLayer)) : std::nullopt, points);
    threeLayer_->replace(three);
    QList<QPointF> flat;
    if (analysis.uniform)
        flat = {QPointF(aLo / kMargin, analysis.uniform->rho_ohm_m),
                QPointF(aHi * kMargin, analysis.uniform->rho_ohm_m)};
    uniform_->replace(flat);
    for (const QPointF& c : curve + flat + three) {
        rhoLo = std::min(rhoLo, c.y());
        rhoHi = std::max(rhoHi, c.y());
    }

    const auto [xFrom, xTo] = decades(aLo, aHi);
    const auto [yFrom, yTo] = decades(rhoLo, rhoHi);
    x_->setRange(xFrom, xTo);
    y_->setRange(yFrom, yTo);
}

} // namespace bm::soil
