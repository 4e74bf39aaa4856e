#include "soil/designsoil.h"

namespace bm::soil {

std::optional<design::Soil> designSoil(const SoilAnalysis& analysis)
{
    if (analysis.twoLayer && analysis.twoLayer->resolved) {
        const TwoLayerModel& m = *analysis.twoLayer;
        return design::twoLayerSoil(m.rho1_ohm_m, m.rho2_ohm_m, m.h_m);
    }
    if (analysis.uniform)
        return design::uniformSoil(analysis.uniform->rho_ohm_m);
    return std::nullopt;
}

} // namespace bm::soil
