#include "output/figurerow.h"

#include <algorithm>
#include <cmath>

namespace bm {

QString figure(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("—");
    if (value == 0.0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    return QString::number(value, 'f', std::clamp(3 - magnitude, 0, 6));
}

} // namespace bm
