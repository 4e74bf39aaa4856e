#include "soil/soilreport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <utility>
#include <vector>

namespace bm::soil {

namespace {

using Field = std::pair<QString, double>;

std::vector<Field> numbers(const SoilAnalysis& a)
{
    std::vector<Field> out{{QStringLiteral("points_used"), a.pointsUsed}};
    if (a.uniform) {
        out.emplace_back(QStringLiteral("uniform_ohm_m"), a.uniform->rho_ohm_m);
        out.emplace_back(QStringLiteral("uniform_rms_percent"), a.uniform->rms_percent);
    }
    if (a.twoLayer) {
        out.emplace_back(QStringLiteral("rho1_ohm_m"), a.twoLayer->rho1_ohm_m);
        out.emplace_back(QStringLiteral("rho2_ohm_m"), a.twoLayer->rho2_ohm_m);
        out.emplace_back(QStringLiteral("h_m"), a.twoLayer->h_m);
        out.emplace_back(QStringLiteral("k"), a.twoLayer->k);
        out.emplace_back(QStringLiteral("rms_percent"), a.twoLayer->rms_percent);
    }
    return out;
}

} // namespace

QString keyValueReport(const SoilAnalysis& analysis)
{
    QString text;
    for (const auto& [key, value] : numbers(analysis))
        text += key + QLatin1Char('=') + QString::number(value, 'g', 6) + QLatin1Char('\n');
    if (!analysis.message.isEmpty())
        text += QStringLiteral("message=") + analysis.message + QLatin1Char('\n');
    return text;
}

QByteArray jsonReport(const SoilAnalysis& analysis)
{
    QJsonObject o;
    for (const auto& [key, value] : numbers(analysis))
        o.insert(key, value);
    if (!analysis.message.isEmpty())
        o.insert(QStringLiteral("message"), analysis.message);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace bm::soil
