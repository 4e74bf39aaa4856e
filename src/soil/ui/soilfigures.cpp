#include "soil/ui/soilfigures.h"

#include "soil/wenner.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace bm::soil {

namespace {

// The translation context of the figures' names.
struct SoilFigures {
    Q_DECLARE_TR_FUNCTIONS(bm::soil::SoilFigures)
};

QString ohmMetres(double value)
{
    return figure(value) + QStringLiteral(" Ω·m");
}

QString percent(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral(" %");
}

} // namespace

QString figure(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("—");
    if (value == 0.0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    return QString::number(value, 'f', std::clamp(3 - magnitude, 0, 6));
}

QString plainNumber(double value)
{
    return QString::number(value, 'g', 10);
}

QString twoLayerTitle()
{
    return SoilFigures::tr("双层模型");
}

QString uniformTitle()
{
    return SoilFigures::tr("均匀土壤模型");
}

std::vector<FigureRow> twoLayerRows(const TwoLayerModel& model)
{
    return {
        {SoilFigures::tr("上层电阻率 ρ1"), ohmMetres(model.rho1_ohm_m)},
        {SoilFigures::tr("下层电阻率 ρ2"), ohmMetres(model.rho2_ohm_m)},
        {SoilFigures::tr("上层厚度 h"), figure(model.h_m) + QStringLiteral(" m")},
        {SoilFigures::tr("反射系数 K"), QString::number(model.k, 'f', 3)},
        {SoilFigures::tr("均方根误差"), percent(model.rms_percent)},
    };
}

std::vector<FigureRow> uniformRows(const UniformModel& model)
{
    return {
        {SoilFigures::tr("电阻率 ρ"), ohmMetres(model.rho_ohm_m)},
        {SoilFigures::tr("均方根误差"), percent(model.rms_percent)},
    };
}

std::pair<double, double> spacingRange(const std::vector<RecordPoint>& points)
{
    if (points.empty())
        return {0.0, 0.0};
    const auto [lo, hi] = std::minmax_element(points.begin(), points.end(), [](const RecordPoint& a, const RecordPoint& b) {
        return a.point.spacing_m < b.point.spacing_m;
    });
    return {lo->point.spacing_m, hi->point.spacing_m};
}

std::vector<double> logSpaced(double from, double to, int samples)
{
    if (!(from > 0.0) || !(to >= from) || !std::isfinite(to) || samples < 1)
        return {};
    if (to == from || samples == 1)
        return {from};
    std::vector<double> out;
    const double step = std::log(to / from) / (samples - 1);
    for (int i = 0; i < samples; ++i)
        out.push_back(from * std::exp(step * i));
    return out;
}

std::vector<QPointF> twoLayerCurve(const TwoLayerModel& model, double from, double to, int samples)
{
    std::vector<QPointF> curve;
    for (double a : logSpaced(from, to, samples)) {
        const double rho = wennerApparent(a, model.rho1_ohm_m, model.rho2_ohm_m, model.h_m);
        if (std::isfinite(rho))
            curve.emplace_back(a, rho);
    }
    return curve;
}

} // namespace bm::soil
