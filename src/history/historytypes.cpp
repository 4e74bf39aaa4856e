#include "history/historytypes.h"

#include <QUuid>

namespace bm::history {

std::optional<double> Result::figure(const QString& name) const
{
    for (const Figure& f : figures) {
        if (f.name == name)
            return f.value;
    }
    return std::nullopt;
}

QString pointKindName(PointKind kind)
{
    return kind == PointKind::Soil ? QStringLiteral("soil") : QStringLiteral("electrode");
}

std::optional<PointKind> pointKindFromName(const QString& name)
{
    if (name == QLatin1String("electrode"))
        return PointKind::Electrode;
    if (name == QLatin1String("soil"))
        return PointKind::Soil;
    return std::nullopt;
}

QString newId() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

} // namespace bm::history
