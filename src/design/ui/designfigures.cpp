#include "design/ui/designfigures.h"

#include <QCoreApplication>

namespace bm::design {

namespace {

// The translation context of the design's texts.
struct DesignFigures {
    Q_DECLARE_TR_FUNCTIONS(bm::design::DesignFigures)
};

QString unit(double value, const char* unitText)
{
    return *unitText ? figure(value) + QLatin1Char(' ') + QString::fromUtf8(unitText) : figure(value);
}

QString soilText(const Soil& s)
{
    if (!s.layered())
        return DesignFigures::tr("均匀 %1").arg(unit(s.rho1_ohm_m, "Ω·m"));
    return DesignFigures::tr("双层 ρ1 %1，ρ2 %2，h %3")
        .arg(unit(s.rho1_ohm_m, "Ω·m"), unit(s.rho2_ohm_m, "Ω·m"), unit(s.h_m, "m"));
}

QString basisText(RhoBasis basis)
{
    switch (basis) {
    case RhoBasis::Uniform: return DesignFigures::tr("均匀土壤");
    case RhoBasis::TopLayer: return DesignFigures::tr("上层");
    case RhoBasis::LowerLayer: return DesignFigures::tr("下层");
    case RhoBasis::RodEquivalent: return DesignFigures::tr("穿过分层的等效值");
    }
    return {};
}

QString electrodeText(Electrode e)
{
    switch (e) {
    case Electrode::Rod: return DesignFigures::tr("单根接地极");
    case Electrode::Rods: return DesignFigures::tr("多根接地极");
    case Electrode::RodsNeeded: return DesignFigures::tr("达到目标所需根数");
    case Electrode::Grid: return DesignFigures::tr("接地网");
    }
    return {};
}

void rodInputs(const DesignInput& in, std::vector<FigureRow>& rows)
{
    rows.push_back({DesignFigures::tr("接地极长度"), unit(in.rod.length_m, "m")});
    rows.push_back({DesignFigures::tr("接地极直径"), unit(in.rod.diameter_m * 1000.0, "mm")});
    if (in.electrode == Electrode::Rod)
        return;
    if (in.electrode == Electrode::Rods)
        rows.push_back({DesignFigures::tr("根数"), QString::number(in.rods)});
    else
        rows.push_back({DesignFigures::tr("目标电阻"), unit(in.target_ohm, "Ω")});
    rows.push_back({DesignFigures::tr("间距"), unit(in.spacing_m > 0.0 ? in.spacing_m : in.rod.length_m, "m")});
    rows.push_back({DesignFigures::tr("布置"),
                    in.arrangement == Arrangement::Ring ? DesignFigures::tr("环形") : DesignFigures::tr("直线")});
}

void gridInputs(const Grid& g, std::vector<FigureRow>& rows)
{
    rows.push_back({DesignFigures::tr("尺寸"), QStringLiteral("%1 × %2").arg(figure(g.lx_m), unit(g.ly_m, "m"))});
    rows.push_back({DesignFigures::tr("导体根数"), QStringLiteral("%1 × %2").arg(g.nx).arg(g.ny)});
    rows.push_back({DesignFigures::tr("埋深"), unit(g.depth_m, "m")});
    rows.push_back({DesignFigures::tr("导体直径"), unit(g.conductorDiameter_m * 1000.0, "mm")});
    if (g.rods > 0)
        rows.push_back(
            {DesignFigures::tr("周边接地极"), QStringLiteral("%1 × %2").arg(g.rods).arg(unit(g.rodLength_m, "m"))});
}

void safetyInputs(const SafetyInput& s, std::vector<FigureRow>& rows)
{
    rows.push_back({DesignFigures::tr("入地电流 IG"), unit(s.faultCurrent_a, "A")});
    rows.push_back({DesignFigures::tr("故障持续时间"), unit(s.clearingTime_s, "s")});
    rows.push_back({DesignFigures::tr("表层"),
                    s.surfaceRho_ohm_m > 0.0 && s.surfaceThickness_m > 0.0
                        ? QStringLiteral("%1, %2").arg(unit(s.surfaceRho_ohm_m, "Ω·m"), unit(s.surfaceThickness_m, "m"))
                        : DesignFigures::tr("无")});
    rows.push_back({DesignFigures::tr("体重"), QStringLiteral("%1 kg").arg(s.bodyKg)});
}

std::vector<FigureRow> inputRows(const DesignInput& in)
{
    std::vector<FigureRow> rows{{DesignFigures::tr("土壤"), soilText(in.soil)},
                                {DesignFigures::tr("接地极"), electrodeText(in.electrode)}};
    if (in.electrode == Electrode::Grid)
        gridInputs(in.grid, rows);
    else
        rodInputs(in, rows);
    if (in.safety)
        safetyInputs(*in.safety, rows);
    return rows;
}

std::vector<FigureRow> resultRows(const DesignResult& r)
{
    std::vector<FigureRow> rows{{DesignFigures::tr("采用的电阻率"),
                                 QStringLiteral("%1（%2）").arg(unit(r.rho.rho_ohm_m, "Ω·m"), basisText(r.rho.basis))}};
    const auto add = [&rows](const QString& name, const std::optional<double>& v, const char* u) {
        if (v)
            rows.push_back({name, unit(*v, u)});
    };
    add(DesignFigures::tr("单根电阻 R1"), r.rod_ohm, "Ω");
    if (r.rodsNeeded)
        rows.push_back({DesignFigures::tr("所需根数"), QString::number(*r.rodsNeeded)});
    add(DesignFigures::tr("系数 λ"), r.lambda, "");
    add(DesignFigures::tr("组合电阻 Rn"), r.rods_ohm, "Ω");
    add(DesignFigures::tr("接地网电阻 Rg"), r.grid_ohm, "Ω");
    if (const std::optional<SafetyResult>& s = r.safety) {
        rows.push_back({DesignFigures::tr("地电位升 GPR"), unit(s->gpr_v, "V")});
        rows.push_back({DesignFigures::tr("表层系数 Cs"), figure(s->tolerable.cs)});
        rows.push_back({DesignFigures::tr("允许接触电压"), unit(s->tolerable.touch_v, "V")});
        rows.push_back({DesignFigures::tr("允许跨步电压"), unit(s->tolerable.step_v, "V")});
        if (s->mesh) {
            rows.push_back({DesignFigures::tr("网孔电压 Em"), unit(s->mesh->mesh_v, "V")});
            rows.push_back({DesignFigures::tr("跨步电压 Es"), unit(s->mesh->step_v, "V")});
        }
    }
    return rows;
}

QString verdictText(const DesignInput& in, const DesignResult& r)
{
    QStringList parts;
    if (r.targetUnreachable)
        parts << DesignFigures::tr("%1 根以内的接地极都达不到目标电阻。").arg(kMaxRods);
    if (r.gridHasNoMesh)
        parts << DesignFigures::tr("网孔电压和跨步电压需要每个方向至少两根导体。");
    if (const std::optional<SafetyResult>& s = r.safety) {
        if (s->safe && s->gpr_v < s->tolerable.touch_v)
            parts << DesignFigures::tr("安全：地电位升低于允许接触电压。");
        else if (s->safe)
            parts << DesignFigures::tr("安全：网孔电压和跨步电压都低于允许值。");
        else if (s->mesh)
            parts << DesignFigures::tr("不安全：地电位升超过允许接触电压，网孔电压或跨步电压也超过允许值。");
        else
            parts << DesignFigures::tr("不安全：地电位升超过允许接触电压。");
    } else if (!in.safety) {
        parts << DesignFigures::tr("未做接触电压和跨步电压校核。");
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

QString designTitle() { return DesignFigures::tr("接地设计"); }

DesignSection designSection(const DesignInput& input, const DesignResult& result)
{
    return {inputRows(input), resultRows(result), verdictText(input, result)};
}

} // namespace bm::design
