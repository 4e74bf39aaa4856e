#include "history/keyfigure.h"

#include "soil/soilfit.h"
#include "soil/soilpoint.h"

namespace bm::history {

namespace {

QString unitOfKind(const QString& kind)
{
    if (kind == QLatin1String("resistance"))
        return QStringLiteral("Ω");
    if (kind == QLatin1String("resistivity"))
        return QStringLiteral("Ωm");
    return kind == QLatin1String("voltage") ? QStringLiteral("V") : QString();
}

const Result* resultOf(const QList<Result>& results, const QString& kind)
{
    for (const Result& r : results) {
        if (r.kind == kind)
            return &r;
    }
    return nullptr;
}

} // namespace

KeyFigure keyFigure(PointKind kind, const QList<Result>& results, const std::optional<StoredReading>& first)
{
    // The electrode test names its result figure after the 61.8 % rule.
    const bool electrode = kind == PointKind::Electrode;
    const QString name = electrode ? QStringLiteral("r_618_ohm") : QStringLiteral("uniform_ohm_m");
    const Result* r = resultOf(results, electrode ? QStringLiteral("electrode") : QStringLiteral("soil_model"));
    if (r && r->figure(name))
        return {name, r->figure(name), electrode ? QStringLiteral("Ω") : QStringLiteral("Ωm")};
    if (!first)
        return {};
    return {QStringLiteral("first_reading"), first->value, unitOfKind(first->kind)};
}

std::optional<bool> verdict(const KeyFigure& key, const std::optional<double>& limitOhm)
{
    if (!limitOhm || key.unit != QStringLiteral("Ω"))
        return std::nullopt;
    return key.value && *key.value <= *limitOhm;
}

QList<Result> resultsFor(const QList<StoredReading>& readings)
{
    std::vector<soil::SoilPoint> points;
    for (const StoredReading& r : readings) {
        if (r.kind != QLatin1String("resistivity"))
            continue;
        const auto p = soil::pointFromReading(r.spacingM.value_or(0.0), r.value.value_or(0.0), !r.value);
        if (p)
            points.push_back(*p);
    }
    if (points.empty())
        return {};
    const soil::SoilAnalysis a = soil::analyse(points);
    if (!a.uniform)
        return {};
    Result model{QString(),
                 QStringLiteral("soil_model"),
                 {{QStringLiteral("points_used"), double(a.pointsUsed)},
                  {QStringLiteral("uniform_ohm_m"), a.uniform->rho_ohm_m},
                  {QStringLiteral("uniform_rms_percent"), a.uniform->rms_percent}}};
    if (a.twoLayer) {
        const soil::TwoLayerModel& t = *a.twoLayer;
        model.figures += {{QStringLiteral("rho1_ohm_m"), t.rho1_ohm_m},
                          {QStringLiteral("rho2_ohm_m"), t.rho2_ohm_m},
                          {QStringLiteral("h_m"), t.h_m},
                          {QStringLiteral("k"), t.k},
                          {QStringLiteral("rms_percent"), t.rms_percent}};
    }
    return {model};
}

} // namespace bm::history
