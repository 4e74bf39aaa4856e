#include "soil/layeredearth.h"

#include "soil/hankelfilter.h"
#include "soil/wenner.h"

#include <cmath>
#include <limits>

namespace bm::soil {

namespace {

// Beyond 2 lambda h = 80 the kernel is below e^-80 of its size: not worth a term.
constexpr double kNegligibleExponent = 80.0;

bool positiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

bool valid(const Layers& l)
{
    if (l.count < 1 || l.count > kMaxLayers)
        return false;
    for (int i = 0; i < l.count; ++i) {
        if (!positiveFinite(l.rho[size_t(i)]) || (i + 1 < l.count && !positiveFinite(l.h[size_t(i)])))
            return false;
    }
    return true;
}

// The filter's sum for one radius: (1/r) sum theta(base/r) w, and the same for
// each derivative.
void filterSum(const Layers& layers, double r, double sign, bool derivatives, Apparent& acc)
{
    const double top = layers.count > 1 ? layers.h[0] : 0.0;
    for (const HankelPoint& p : hankelJ0Filter()) {
        const double lambda = p.base / r;
        if (2.0 * lambda * top > kNegligibleExponent)
            break;
        const KernelValue k = layerKernel(layers, lambda, derivatives);
        const double w = sign * p.weight / r;
        acc.rho += w * k.theta;
        if (derivatives) {
            for (int i = 0; i < kMaxParameters; ++i)
                acc.d[size_t(i)] += w * k.d[size_t(i)];
        }
    }
}

} // namespace

Electrodes electrodesOf(Array array, double spacing, double mn2)
{
    if (array == Array::Schlumberger)
        return {(spacing * spacing - mn2 * mn2) / mn2, spacing - mn2, spacing + mn2};
    return {4.0 * spacing, spacing, 2.0 * spacing};
}

KernelValue layerKernel(const Layers& l, double lambda, bool derivatives)
{
    KernelValue out;
    if (l.count < 2)
        return out;
    const int n = l.count;
    // T and its derivatives, from the bottom layer up.
    double t = l.rho[size_t(n - 1)];
    std::array<double, kMaxParameters> dt{};
    dt[size_t(n - 1)] = t;
    for (int i = n - 2; i >= 0; --i) {
        const double rho = l.rho[size_t(i)];
        const double sum = t + rho;
        const double k = (t - rho) / sum;
        const double e = std::exp(-2.0 * lambda * l.h[size_t(i)]);
        const double w = k * e;
        const double oneMinus = 1.0 - w;
        std::array<double, kMaxParameters> dw{};
        if (derivatives) {
            const double dkdt = 2.0 * rho / (sum * sum);
            for (int p = 0; p < kMaxParameters; ++p)
                dw[size_t(p)] = e * dkdt * dt[size_t(p)];
            dw[size_t(i)] -= e * 2.0 * rho * t / (sum * sum);
            dw[size_t(n + i)] -= 2.0 * lambda * l.h[size_t(i)] * w;
        }
        if (i == 0) {
            out.theta = w / oneMinus;
            for (int p = 0; p < kMaxParameters && derivatives; ++p)
                out.d[size_t(p)] = dw[size_t(p)] / (oneMinus * oneMinus);
            break;
        }
        t = rho * (1.0 + w) / oneMinus;
        if (derivatives) {
            const double dtdw = 2.0 * rho / (oneMinus * oneMinus);
            for (int p = 0; p < kMaxParameters; ++p)
                dt[size_t(p)] = dtdw * dw[size_t(p)];
            dt[size_t(i)] += t;
        }
    }
    return out;
}

Apparent layeredApparent(const Electrodes& e, const Layers& layers, bool derivatives)
{
    Apparent out;
    if (!valid(layers) || !positiveFinite(e.c) || !positiveFinite(e.r1) || !positiveFinite(e.r2)) {
        out.rho = std::numeric_limits<double>::quiet_NaN();
        return out;
    }
    Apparent sum;
    filterSum(layers, e.r1, 1.0, derivatives, sum);
    filterSum(layers, e.r2, -1.0, derivatives, sum);
    const double rho1 = layers.rho[0];
    out.rho = rho1 * (1.0 + e.c * sum.rho);
    if (derivatives) {
        for (int p = 0; p < kMaxParameters; ++p)
            out.d[size_t(p)] = rho1 * e.c * sum.d[size_t(p)];
        out.d[0] += out.rho;
    }
    return out;
}

double apparentOver(const SoilPoint& point, const Layers& layers)
{
    if (layers.count == 2 && point.array == Array::Wenner)
        return wennerApparent(point.spacing_m, layers.rho[0], layers.rho[1], layers.h[0]);
    if (layers.count == 1)
        return positiveFinite(layers.rho[0]) ? layers.rho[0] : std::numeric_limits<double>::quiet_NaN();
    return layeredApparent(electrodesOf(point.array, point.spacing_m, point.mn2_m), layers).rho;
}

} // namespace bm::soil
