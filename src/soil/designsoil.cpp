#include "design/fittedsoil.h"

namespace bm::design {

std::optional<Soil> fittedSoil(const soil::SoilAnalysis& analysis)
{
    if (analysis.twoLayer && analysis.twoLayer->resolved) {
        const soil::TwoLayerModel& m = *analysis.twoLayer;
        return twoLayerSoil(m.rho1_ohm_m, m.rho2_ohm_m, m.h_m);
    }
    if (analysis.uniform)
        return uniformSoil(analysis.uniform->rho_ohm_m);
    return std::nullopt;
}

} // namespace bm::design
