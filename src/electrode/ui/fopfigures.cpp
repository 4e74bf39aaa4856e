#include "electrode/ui/fopfigures.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace bm::electrode {

namespace {

// The translation context of the figures and the verdict.
struct FopFigures {
    Q_DECLARE_TR_FUNCTIONS(bm::electrode::FopFigures)
};

QString ohms(std::optional<double> value) { return value ? fopNumber(value) + QStringLiteral(" Ω") : fopNumber(value); }

QString yesNo(std::optional<bool> value)
{
    return !value ? fopNumber(std::nullopt) : *value ? FopFigures::tr("是") : FopFigures::tr("否");
}

} // namespace

QString fopNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return QStringLiteral("—");
    if (*value == 0.0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::fabs(*value))));
    return QString::number(*value, 'f', std::clamp(3 - magnitude, 0, 6));
}

std::vector<FopFigure> fopFigures(const FopAnalysis& a, const FopSettings& s)
{
    const QString limit =
        s.limit_ohm ? FopFigures::tr("不超过限值 %1").arg(ohms(s.limit_ohm)) : FopFigures::tr("未设限值");
    return {
        {FopFigures::tr("使用的读数"), QString::number(a.pointsUsed)},
        {FopFigures::tr("61.8% 处电阻"), ohms(a.r618_ohm)},
        {FopFigures::tr("平台偏差"),
         a.plateauPercent ? QString::number(*a.plateauPercent, 'f', 2) + QStringLiteral(" %") : fopNumber({})},
        {FopFigures::tr("平台合格 (≤ %1 %)").arg(s.plateauLimitPercent), yesNo(a.plateauOk)},
        {FopFigures::tr("斜率 μ"), a.slopeMu ? QString::number(*a.slopeMu, 'f', 3) : fopNumber({})},
        {FopFigures::tr("Pt/C"), a.slopePtRatio ? QString::number(*a.slopePtRatio, 'f', 3) : fopNumber({})},
        {FopFigures::tr("斜率法电阻"), ohms(a.slopeR_ohm)},
        {FopFigures::tr("1/R 外推电阻"), ohms(a.inverseR_ohm)},
        {limit, yesNo(a.limitOk)},
    };
}

QString fopVerdictText(const FopAnalysis& a, const FopSettings& s)
{
    using Verdict = FopAnalysis::Verdict;
    switch (a.verdict) {
    case Verdict::TooFewPoints:
        return FopFigures::tr("电极与电流极之间只有 %1 个读数，至少需要三个。请为读数填写电位极距离。")
            .arg(a.pointsUsed);
    case Verdict::ProbeTooClose:
        return FopFigures::tr("曲线的上升不符合斜率法：电流极离接地极太近，请将电流极移远后重新测量。");
    case Verdict::NoPlateau:
        return a.plateauPercent
                   ? FopFigures::tr(
                         "曲线没有平台：52% 与 72% C 处的读数与 62% C 处相差 %1 %（允许 %2 %），请将电流极移远。")
                         .arg(QString::number(*a.plateauPercent, 'f', 2))
                         .arg(s.plateauLimitPercent)
                   : FopFigures::tr("读数没有覆盖 52% 至 72% C，无法检查平台。");
    case Verdict::Ok: break;
    }
    const QString value = ohms(a.reported_ohm());
    QString text = a.slopeR_ohm ? FopFigures::tr("曲线有平台；接地电阻为 %1（斜率法）。").arg(value)
                                : FopFigures::tr("曲线有平台；接地电阻为 %1（61.8% 法）。").arg(value);
    if (a.limitOk)
        text += *a.limitOk ? FopFigures::tr("不超过限值。") : FopFigures::tr("超过限值！");
    return text;
}

} // namespace bm::electrode
