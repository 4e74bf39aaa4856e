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

QString ohmMetres(double value) { return figure(value) + QStringLiteral(" Ω·m"); }

QString percent(double value) { return QString::number(value, 'f', 2) + QStringLiteral(" %"); }

} // namespace

QString plainNumber(double value) { return QString::number(value, 'g', 10); }

QString twoLayerTitle() { return SoilFigures::tr("双层模型"); }

QString uniformTitle() { return SoilFigures::tr("均匀土壤模型"); }

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

QString threeLayerTitle() { return SoilFigures::tr("三层模型"); }

std::vector<FigureRow> threeLayerRows(const ThreeLayerModel& model)
{
    return {
        {SoilFigures::tr("第一层电阻率 ρ1"), ohmMetres(model.rho1_ohm_m)},
        {SoilFigures::tr("第一层厚度 h1"), figure(model.h1_m) + QStringLiteral(" m")},
        {SoilFigures::tr("第二层电阻率 ρ2"), ohmMetres(model.rho2_ohm_m)},
        {SoilFigures::tr("第二层厚度 h2"), figure(model.h2_m) + QStringLiteral(" m")},
        {SoilFigures::tr("第三层电阻率 ρ3"), ohmMetres(model.rho3_ohm_m)},
        {SoilFigures::tr("均方根误差"), percent(model.rms_percent)},
    };
}

QString layerChoiceText(const SoilAnalysis& analysis)
{
    if (analysis.layersChosen < 1)
        return {};
    const QString chosen = analysis.layersChosen == 3   ? SoilFigures::tr("选用三层模型。")
                           : analysis.layersChosen == 2 ? SoilFigures::tr("选用双层模型。")
                                                        : SoilFigures::tr("选用均匀土壤模型。");
    return chosen + SoilFigures::tr("只有当残差的F检验在1%水平上表明更多层的模型显著更好时，才选用更多层的模型。");
}

QString traverseLine(const TraverseFit& fit)
{
    QString line = SoilFigures::tr("测线 %1（%2 个读数）：").arg(fit.name).arg(fit.pointsUsed);
    if (fit.twoLayer)
        line += SoilFigures::tr("ρ1 %1，ρ2 %2，h %3，均方根误差 %4")
                    .arg(ohmMetres(fit.twoLayer->rho1_ohm_m), ohmMetres(fit.twoLayer->rho2_ohm_m),
                         figure(fit.twoLayer->h_m) + QStringLiteral(" m"), percent(fit.twoLayer->rms_percent));
    else if (fit.uniform)
        line += SoilFigures::tr("均匀 ρ %1，均方根误差 %2")
                    .arg(ohmMetres(fit.uniform->rho_ohm_m), percent(fit.uniform->rms_percent));
    else
        line += SoilFigures::tr("无模型");
    return line;
}

QString traversesDisagreeText()
{
    return SoilFigures::tr("各测线的差异超出了残差所能解释的范围：场地土壤可能存在横向变化。");
}

std::pair<double, double> spacingRange(const std::vector<RecordPoint>& points)
{
    if (points.empty())
        return {0.0, 0.0};
    const auto [lo, hi] =
        std::minmax_element(points.begin(), points.end(), [](const RecordPoint& a, const RecordPoint& b) {
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

namespace bm::soil {

SoilPoint curveLayout(const std::vector<RecordPoint>& points)
{
    std::vector<double> mn2;
    int wenner = 0;
    for (const RecordPoint& p : points) {
        if (!p.point.included)
            continue;
        if (p.point.array == Array::Wenner)
            ++wenner;
        else if (p.point.mn2_m > 0.0)
            mn2.push_back(p.point.mn2_m);
    }
    SoilPoint layout;
    if (int(mn2.size()) > wenner) {
        std::nth_element(mn2.begin(), mn2.begin() + std::ptrdiff_t(mn2.size() / 2), mn2.end());
        layout.array = Array::Schlumberger;
        layout.mn2_m = mn2[mn2.size() / 2];
    }
    return layout;
}

std::vector<QPointF> layeredCurve(const Layers& layers, const SoilPoint& layout, double from, double to, int samples)
{
    std::vector<QPointF> curve;
    SoilPoint p = layout;
    for (double a : logSpaced(from, to, samples)) {
        p.spacing_m = a;
        const double rho = apparentOver(p, layers);
        if (std::isfinite(rho))
            curve.emplace_back(a, rho);
    }
    return curve;
}

Layers layersOf(const TwoLayerModel& m) { return {2, {m.rho1_ohm_m, m.rho2_ohm_m, 0.0}, {m.h_m, 0.0}}; }

Layers layersOf(const ThreeLayerModel& m) { return {3, {m.rho1_ohm_m, m.rho2_ohm_m, m.rho3_ohm_m}, {m.h1_m, m.h2_m}}; }

} // namespace bm::soil
