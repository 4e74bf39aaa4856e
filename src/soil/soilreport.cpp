#include "soil/soilreport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <utility>
#include <vector>

namespace bm::soil {

namespace {

using Field = std::pair<QString, double>;

// The uniform and two-layer keys, for the whole survey and for each traverse.
std::vector<Field> twoLayerNumbers(int pointsUsed, const std::optional<UniformModel>& uniform,
                                   const std::optional<TwoLayerModel>& twoLayer)
{
    std::vector<Field> out{{QStringLiteral("points_used"), pointsUsed}};
    if (uniform) {
        out.emplace_back(QStringLiteral("uniform_ohm_m"), uniform->rho_ohm_m);
        out.emplace_back(QStringLiteral("uniform_rms_percent"), uniform->rms_percent);
    }
    if (twoLayer) {
        out.emplace_back(QStringLiteral("rho1_ohm_m"), twoLayer->rho1_ohm_m);
        out.emplace_back(QStringLiteral("rho2_ohm_m"), twoLayer->rho2_ohm_m);
        out.emplace_back(QStringLiteral("h_m"), twoLayer->h_m);
        out.emplace_back(QStringLiteral("k"), twoLayer->k);
        out.emplace_back(QStringLiteral("rms_percent"), twoLayer->rms_percent);
    }
    return out;
}

std::vector<Field> numbers(const SoilAnalysis& a)
{
    std::vector<Field> out = twoLayerNumbers(a.pointsUsed, a.uniform, a.twoLayer);
    if (a.threeLayer) {
        const ThreeLayerModel& t = *a.threeLayer;
        out.insert(out.end(), {{QStringLiteral("rho1_ohm_m3"), t.rho1_ohm_m},
                               {QStringLiteral("h1_m3"), t.h1_m},
                               {QStringLiteral("rho2_ohm_m3"), t.rho2_ohm_m},
                               {QStringLiteral("h2_m3"), t.h2_m},
                               {QStringLiteral("rho3_ohm_m3"), t.rho3_ohm_m},
                               {QStringLiteral("rms_percent3"), t.rms_percent}});
    }
    if (a.layersChosen > 0)
        out.emplace_back(QStringLiteral("layers_chosen"), a.layersChosen);
    if (!a.traverses.empty())
        out.emplace_back(QStringLiteral("traverses_disagree"), a.traversesDisagree ? 1 : 0);
    return out;
}

// The messages, as keys: the two-layer one as it always was, then the three-layer one.
std::vector<std::pair<QString, QString>> texts(const QString& message, const QString& threeLayerMessage)
{
    std::vector<std::pair<QString, QString>> out;
    if (!message.isEmpty())
        out.emplace_back(QStringLiteral("message"), message);
    if (!threeLayerMessage.isEmpty())
        out.emplace_back(QStringLiteral("three_layer_message"), threeLayerMessage);
    return out;
}

QString keyValueLines(const QString& prefix, const std::vector<Field>& fields,
                      const std::vector<std::pair<QString, QString>>& notes)
{
    QString text;
    for (const auto& [key, value] : fields)
        text += prefix + key + QLatin1Char('=') + QString::number(value, 'g', 6) + QLatin1Char('\n');
    for (const auto& [key, value] : notes)
        text += prefix + key + QLatin1Char('=') + value + QLatin1Char('\n');
    return text;
}

QJsonObject jsonObject(const std::vector<Field>& fields, const std::vector<std::pair<QString, QString>>& notes)
{
    QJsonObject o;
    for (const auto& [key, value] : fields)
        o.insert(key, value);
    for (const auto& [key, value] : notes)
        o.insert(key, value);
    return o;
}

} // namespace

QString keyValueReport(const SoilAnalysis& analysis)
{
    // Traverses are named by letters, digits, '-' and '_', so their keys stay plain.
    QString text = keyValueLines({}, numbers(analysis), texts(analysis.message, {}));
    for (const TraverseFit& t : analysis.traverses)
        text += keyValueLines(QStringLiteral("traverses.") + t.name + QLatin1Char('.'),
                              twoLayerNumbers(t.pointsUsed, t.uniform, t.twoLayer), texts(t.message, {}));
    return text + keyValueLines({}, {}, texts({}, analysis.threeLayerMessage));
}

QByteArray jsonReport(const SoilAnalysis& analysis)
{
    QJsonObject o = jsonObject(numbers(analysis), texts(analysis.message, analysis.threeLayerMessage));
    QJsonObject traverses;
    for (const TraverseFit& t : analysis.traverses)
        traverses.insert(t.name,
                         jsonObject(twoLayerNumbers(t.pointsUsed, t.uniform, t.twoLayer), texts(t.message, {})));
    if (!traverses.isEmpty())
        o.insert(QStringLiteral("traverses"), traverses);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace bm::soil
