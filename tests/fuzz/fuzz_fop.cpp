// Fall-of-potential files from arbitrary bytes: never a crash; an error names its
// line, or every reading lies within the test and every figure given is finite.
#include "electrode/fopinput.h"
#include "electrode/fopreport.h"

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

bool finiteOrAbsent(const std::optional<double>& v) { return !v || std::isfinite(*v); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kMaxBytes = 4096;
    constexpr double kCurrentDistance = 100.0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(std::min(size, kMaxBytes)));
    const bm::electrode::FopInput input = bm::electrode::parseFopInput(bytes, kCurrentDistance);
    if (!input.ok()) {
        check(input.points.empty() && (input.error.startsWith("line ") || input.error == "The file is empty."));
        return 0;
    }
    for (const bm::electrode::FopPoint& p : input.points)
        check(bm::electrode::withinTest(p, kCurrentDistance));

    const bm::electrode::FopAnalysis a =
        bm::electrode::analyseFallOfPotential(input.points, {kCurrentDistance, 5.0, 10.0});
    check(a.pointsUsed == int(input.points.size()));
    for (const auto& v : {a.r618_ohm, a.plateauPercent, a.slopeMu, a.slopePtRatio, a.slopeR_ohm, a.inverseR_ohm})
        check(finiteOrAbsent(v));
    check(!a.slopePtRatio || (*a.slopePtRatio > 0.0 && *a.slopePtRatio < 1.0));
    check(bm::electrode::keyValueReport(a).count('\n') == 10 && !bm::electrode::jsonReport(a).isEmpty());
    return 0;
}
