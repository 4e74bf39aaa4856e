#include "electrode/fopreport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <utility>
#include <vector>

namespace bm::electrode {

namespace {

std::vector<std::pair<QString, QJsonValue>> fields(const FopAnalysis& a)
{
    const auto number = [](const std::optional<double>& v) {
        return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
    };
    const auto flag = [](const std::optional<bool>& v) { return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null); };
    return {
        {QStringLiteral("points_used"), a.pointsUsed},
        {QStringLiteral("r_618_ohm"), number(a.r618_ohm)},
        {QStringLiteral("plateau_percent"), number(a.plateauPercent)},
        {QStringLiteral("plateau_ok"), flag(a.plateauOk)},
        {QStringLiteral("slope_mu"), number(a.slopeMu)},
        {QStringLiteral("slope_pt_ratio"), number(a.slopePtRatio)},
        {QStringLiteral("slope_r_ohm"), number(a.slopeR_ohm)},
        {QStringLiteral("inverse_r_ohm"), number(a.inverseR_ohm)},
        {QStringLiteral("limit_ok"), flag(a.limitOk)},
        {QStringLiteral("verdict"), verdictWord(a.verdict)},
    };
}

QString text(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("-");
    case QJsonValue::Bool: return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: return QString::number(v.toDouble(), 'g', 6);
    default: return v.toString();
    }
}

} // namespace

QString verdictWord(FopAnalysis::Verdict verdict)
{
    using Verdict = FopAnalysis::Verdict;
    switch (verdict) {
    case Verdict::Ok: return QStringLiteral("ok");
    case Verdict::NoPlateau: return QStringLiteral("no_plateau");
    case Verdict::ProbeTooClose: return QStringLiteral("probe_too_close");
    case Verdict::TooFewPoints: return QStringLiteral("too_few_points");
    }
    return {};
}

QString verdictSentence(const FopAnalysis& a, const FopSettings& settings)
{
    using Verdict = FopAnalysis::Verdict;
    switch (a.verdict) {
    case Verdict::TooFewPoints:
        return QStringLiteral(
                   "%1 reading(s) between the electrode and the current probe: the curve needs three or more.")
            .arg(a.pointsUsed);
    case Verdict::ProbeTooClose:
        return QStringLiteral(
            "The curve does not rise as the slope method needs: the current probe is too close to the "
            "electrode; move it further out and measure again.");
    case Verdict::NoPlateau:
        return a.plateauPercent
                   ? QStringLiteral(
                         "No plateau: the readings at 52 % and 72 % of C differ by %1 % from the one at 62 % "
                         "(at most %2 % allowed); move the current probe further out.")
                         .arg(QString::number(*a.plateauPercent, 'f', 2),
                              QString::number(settings.plateauLimitPercent, 'g', 6))
                   : QStringLiteral("The readings do not cover 52 % to 72 % of C, so the plateau cannot be checked.");
    case Verdict::Ok: break;
    }
    QString s = QStringLiteral("The curve has a plateau; the electrode's resistance is %1 ohm (%2).")
                    .arg(QString::number(a.reported_ohm().value_or(0.0), 'g', 4),
                         a.slopeR_ohm ? QStringLiteral("slope method") : QStringLiteral("61.8 % rule"));
    if (a.limitOk)
        s +=
            *a.limitOk ? QStringLiteral(" Within the limit of %1 ohm.") : QStringLiteral(" Above the limit of %1 ohm.");
    return a.limitOk ? s.arg(QString::number(settings.limit_ohm.value_or(0.0), 'g', 6)) : s;
}

QString keyValueReport(const FopAnalysis& analysis)
{
    QString out;
    for (const auto& [key, value] : fields(analysis))
        out += key + QLatin1Char('=') + text(value) + QLatin1Char('\n');
    return out;
}

QByteArray jsonReport(const FopAnalysis& analysis)
{
    QJsonObject o;
    for (const auto& [key, value] : fields(analysis))
        o.insert(key, value);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace bm::electrode
