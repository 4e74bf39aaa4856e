#include "soil/ui/verdicttext.h"

#include <QCoreApplication>

namespace bm::soil {

QString verdictText(const SoilAnalysis& analysis)
{
    using Verdict = SoilAnalysis::Verdict;
    switch (analysis.verdict) {
    case Verdict::BothModels: return {};
    case Verdict::NoPoints: return QCoreApplication::translate("bm::SoilWindow", "没有可分析的读数。");
    case Verdict::NoUsablePoints:
        return QCoreApplication::translate("bm::SoilWindow", "没有间距和电阻率都为正的选用读数。");
    case Verdict::TooFewSpacings:
        return QCoreApplication::translate(
                   "bm::SoilWindow",
                   "双层模型需要至少三个不同间距的读数；选用的读数只有 %1 个间距，因此只给出均匀模型。")
            .arg(analysis.distinctSpacings);
    case Verdict::SpreadTooWide:
        return QCoreApplication::translate("bm::SoilWindow", "读数的范围过宽，无法拟合双层模型；只给出均匀模型。");
    case Verdict::FitFailed:
        return QCoreApplication::translate("bm::SoilWindow", "双层模型无法拟合这些读数；只给出均匀模型。");
    case Verdict::LayersNotResolved:
        return QCoreApplication::translate(
            "bm::SoilWindow",
            "这些读数分辨不出两层：最佳双层拟合位于这些间距所能反映范围的边缘。均匀模型同样能描述该土壤。");
    }
    return {};
}

QString threeLayerText(const SoilAnalysis& analysis)
{
    if (analysis.threeLayer || analysis.threeLayerMessage.isEmpty())
        return {};
    if (analysis.distinctSpacings < 5)
        return QCoreApplication::translate(
                   "bm::SoilWindow",
                   "三层模型需要至少五个不同间距的读数；选用的读数只有 %1 个间距，因此不拟合三层模型。")
            .arg(analysis.distinctSpacings);
    return QCoreApplication::translate("bm::SoilWindow", "三层模型无法拟合这些读数。");
}

} // namespace bm::soil
