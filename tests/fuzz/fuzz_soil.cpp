// Soil input files from arbitrary bytes, the survey's columns among them: never a
// crash; an error names what was wrong, or the points are fitted and every
// reported number is finite. The fit is
// bounded by its own evaluation limits, and long inputs are cut to keep runs quick.
#include "soil/soilfit.h"
#include "soil/soilinput.h"
#include "soil/soilreport.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kMaxBytes = 4096;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(std::min(size, kMaxBytes)));
    const bm::soil::SoilInput input = bm::soil::parseSoilInput(bytes);
    check(input.ok() != input.points.empty());
    if (!input.ok())
        return 0;
    for (const bm::soil::SoilPoint& p : input.points)
        check(p.spacing_m > 0.0 && p.rho_ohm_m > 0.0 && std::isfinite(p.spacing_m) && std::isfinite(p.rho_ohm_m));

    const bm::soil::SoilAnalysis a = bm::soil::analyse(input.points);
    check(a.uniform.has_value());
    check(std::isfinite(a.uniform->rho_ohm_m) && std::isfinite(a.uniform->rms_percent));
    if (a.twoLayer) {
        const auto& t = *a.twoLayer;
        check(std::isfinite(t.rho1_ohm_m) && std::isfinite(t.rho2_ohm_m) && std::isfinite(t.h_m) && std::isfinite(t.k)
              && std::isfinite(t.rms_percent));
    } else {
        check(!a.message.isEmpty());
    }
    // The survey's additions: a three-layer model or why not, a choice, and finite traverse fits.
    if (a.threeLayer) {
        const auto& t = *a.threeLayer;
        for (double v : {t.rho1_ohm_m, t.h1_m, t.rho2_ohm_m, t.h2_m, t.rho3_ohm_m, t.rms_percent})
            check(std::isfinite(v) && v >= 0.0);
    } else {
        check(!a.threeLayerMessage.isEmpty());
    }
    check(a.layersChosen >= 1 && a.layersChosen <= 3 && (a.layersChosen != 3 || a.threeLayer));
    for (const bm::soil::TraverseFit& t : a.traverses)
        check(!t.name.isEmpty() && (!t.uniform || std::isfinite(t.uniform->rho_ohm_m)));
    for (const bm::soil::SoilPoint& p : input.points)
        check(p.array == bm::soil::Array::Wenner || (p.mn2_m > 0.0 && p.mn2_m < p.spacing_m));
    check(!bm::soil::keyValueReport(a).isEmpty() && !bm::soil::jsonReport(a).isEmpty());
    return 0;
}
