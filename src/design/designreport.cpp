#include "design/designreport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <utility>
#include <vector>

namespace bm::design {

namespace {

using Field = std::pair<QString, QJsonValue>;

QString basisName(RhoBasis basis)
{
    switch (basis) {
    case RhoBasis::Uniform: return QStringLiteral("uniform");
    case RhoBasis::TopLayer: return QStringLiteral("top_layer");
    case RhoBasis::LowerLayer: return QStringLiteral("lower_layer");
    case RhoBasis::RodEquivalent: return QStringLiteral("rod_equivalent");
    }
    return {};
}

QString message(const DesignResult& r)
{
    QStringList parts;
    if (r.targetUnreachable)
        parts << QStringLiteral("no group of up to %1 rods reaches the target resistance").arg(kMaxRods);
    if (r.gridHasNoMesh)
        parts << QStringLiteral("the mesh and step voltages need at least two conductors each way");
    return parts.join(QStringLiteral("; "));
}

std::vector<Field> fields(const DesignResult& r)
{
    std::vector<Field> out{{QStringLiteral("rho_used_ohm_m"), r.rho.rho_ohm_m},
                           {QStringLiteral("rho_basis"), basisName(r.rho.basis)}};
    const auto add = [&out](const char* key, const auto& value) {
        if (value)
            out.emplace_back(QString::fromLatin1(key), *value);
    };
    add("rod_ohm", r.rod_ohm);
    add("rods_ohm", r.rods_ohm);
    add("lambda", r.lambda);
    add("rods_needed", r.rodsNeeded);
    add("grid_ohm", r.grid_ohm);
    if (const std::optional<SafetyResult>& s = r.safety) {
        out.emplace_back(QStringLiteral("gpr_v"), s->gpr_v);
        out.emplace_back(QStringLiteral("cs"), s->tolerable.cs);
        out.emplace_back(QStringLiteral("touch_tolerable_v"), s->tolerable.touch_v);
        out.emplace_back(QStringLiteral("step_tolerable_v"), s->tolerable.step_v);
        if (s->mesh) {
            out.emplace_back(QStringLiteral("mesh_v"), s->mesh->mesh_v);
            out.emplace_back(QStringLiteral("step_v"), s->mesh->step_v);
        }
        out.emplace_back(QStringLiteral("safe"), s->safe);
    }
    if (const QString m = message(r); !m.isEmpty())
        out.emplace_back(QStringLiteral("message"), m);
    return out;
}

QString text(const QJsonValue& v)
{
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 6);
    return v.toString();
}

} // namespace

QString keyValueReport(const DesignResult& result)
{
    QString out;
    for (const auto& [key, value] : fields(result))
        out += key + QLatin1Char('=') + text(value) + QLatin1Char('\n');
    return out;
}

QByteArray jsonReport(const DesignResult& result)
{
    QJsonObject o;
    for (const auto& [key, value] : fields(result))
        o.insert(key, value);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace bm::design
