#include "soil/wenner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bm::soil {

namespace {

// The series is summed until what is left is below the tolerance, relative to
// 1 + 4S. Where it converges slowly (|K| near 1 under a thin top layer) the terms
// are summed directly only until 2nh/a reaches kTailX; the rest follows from the
// large-x expansion of each term, summed in closed form. kMaxTerms bounds the work
// whatever the arguments.
constexpr int kMinTailStart = 128;
constexpr double kTailX = 4.0;
constexpr int kMaxTerms = 100000;
constexpr int kMaxExpansion = 24;

// Exponential integral E_p(z) for p >= 2, z >= 0: power series below 1, continued
// fraction above (the usual pair; both stable there).
double expintE(int p, double z)
{
    constexpr double kEps = 1e-16;
    constexpr double kEuler = 0.5772156649015329;
    if (z <= 0.0)
        return 1.0 / (p - 1);
    if (z > 1.0) {
        double b = z + p;
        double c = 1.0 / std::numeric_limits<double>::min();
        double d = 1.0 / b;
        double h = d;
        for (int i = 1; i < 1000; ++i) {
            const double a = -double(i) * (p - 1 + i);
            b += 2.0;
            d = 1.0 / (a * d + b);
            c = b + a / c;
            const double del = c * d;
            h *= del;
            if (std::fabs(del - 1.0) < kEps)
                break;
        }
        return h * std::exp(-z);
    }
    const int pm1 = p - 1;
    double sum = 1.0 / pm1;
    double fact = 1.0;
    for (int i = 1; i < 1000; ++i) {
        fact *= -z / i;
        double del;
        if (i != pm1) {
            del = -fact / (i - pm1);
        } else {
            double psi = -kEuler;
            for (int j = 1; j <= pm1; ++j)
                psi += 1.0 / j;
            del = fact * (-std::log(z) + psi);
        }
        sum += del;
        if (std::fabs(del) < std::fabs(sum) * kEps)
            break;
    }
    return sum;
}

// T = sum over m > n of K^m (m/n)^-p, for p >= 2 and n large. K > 0: the sum as
// an integral from n + 1/2 with its first Euler-Maclaurin correction. K < 0: the
// smooth part (m/n)^-p expanded about n + 1, each power of the offset summed
// against (-|K|)^j in closed form (polylogarithms of negative order).
double powerTail(double k, int n, int p)
{
    if (k > 0.0) {
        const double c = -std::log(k);
        const double m = n + 0.5;
        const double z = c * m;
        if (z > 700.0)
            return 0.0;
        const double ratio = std::pow(n / m, p);
        const double integral = m * ratio * expintE(p, z);
        const double fm = std::exp(-z) * ratio;
        return integral - fm * (c + p / m) / 24.0;
    }
    // Eulerian numbers: sum_j j^i r^j = r A_i(r) / (1 - r)^(i + 1).
    static constexpr double kEulerian[5][5] = {
        {1, 0, 0, 0, 0}, {1, 1, 0, 0, 0}, {1, 4, 1, 0, 0}, {1, 11, 11, 1, 0}, {1, 26, 66, 26, 1}};
    const double r = k;
    const double t = n + 1.0;
    const double f = std::pow(n / t, p);
    double sum = 1.0 / (1.0 - r);
    double coef = 1.0; // (-1)^i binomial(p + i - 1, i) / t^i
    double denom = 1.0 - r;
    for (int i = 1; i <= 5; ++i) {
        coef *= -(p + i - 1.0) / (i * t);
        denom *= 1.0 - r;
        double poly = 0.0;
        for (int j = 4; j >= 0; --j)
            poly = poly * r + kEulerian[i - 1][j];
        sum += coef * r * poly / denom;
    }
    const double lead = std::pow(-k, n + 1) * ((n + 1) % 2 ? -1.0 : 1.0);
    return lead * f * sum;
}

// Adds the terms after n, from g(x) = 1/sqrt(1+x^2) - 1/sqrt(4+x^2)
// = sum_j c_j x^-(2j+1), valid for x > 2.
void addTail(WennerSeries& out, double k, double delta, int n, bool derivatives)
{
    const double x = n * delta;
    if (!(x > 2.0) || k == 0.0)
        return;
    double binom = 1.0; // binomial(-1/2, j)
    double four = 1.0;  // 4^j
    double xp = 1.0 / x;
    for (int j = 1; j <= kMaxExpansion; ++j) {
        binom *= (0.5 - j) / j;
        four *= 4.0;
        xp /= x * x;
        const int p = 2 * j + 1;
        const double cj = binom * (1.0 - four) * xp;
        const double tp = powerTail(k, n, p);
        out.s += cj * tp;
        if (derivatives) {
            out.dk += cj * powerTail(k, n, p - 1) * n / k;
            out.dlnh -= p * cj * tp;
        }
        if (std::fabs(cj * tp) < 1e-15 * std::fabs(1.0 + 4.0 * out.s))
            break;
    }
}

// The stopping test: is what the terms after n add below `bound`? Both bounds use
// that g falls with x; the second that g(x) <= 1.5 / x^3. Constants are worked out
// once per sum, so the test costs no division per term.
class RestTest {
public:
    RestTest(double k, double delta)
        : k_(k), ratio_(k < 1.0 ? k / (1.0 - k) : std::numeric_limits<double>::infinity()),
          power_(0.75 * k / (delta * delta * delta))
    {
    }
    // term is |K^n g(x_n)|, kn is K^n.
    bool negligible(double term, double kn, int n, double bound) const
    {
        if (k_ < 0.0)
            return term <= bound; // alternating with falling magnitude
        return term * ratio_ <= bound || kn * power_ <= bound * double(n) * n;
    }
    double rest(double term, double kn, int n) const
    {
        return k_ < 0.0 ? term : std::min(term * ratio_, kn * power_ / (double(n) * n));
    }

private:
    double k_, ratio_, power_;
};

template <bool withDerivatives>
WennerSeries sumSeries(double delta, double k, double tolerance)
{
    WennerSeries out;
    if (!std::isfinite(k) || !std::isfinite(delta) || !(delta > 0.0))
        return out;
    k = std::clamp(k, -1.0, 1.0);
    const RestTest test(k, delta);
    bool tailWeighed = false;
    double kn = 1.0;
    for (int n = 1; n <= kMaxTerms; ++n) {
        [[maybe_unused]] const double knm1 = kn;
        kn *= k;
        const double x = n * delta;
        const double x2 = x * x;
        if (!(x2 < 1e300))
            break; // the terms are zero from here on
        const double r1 = std::sqrt(1.0 + x2);
        const double r2 = std::sqrt(4.0 + x2);
        const double inv = 1.0 / (r1 * r2); // one division for both
        const double s1 = r2 * inv;
        const double s2 = r1 * inv;
        const double g = s1 - s2;
        out.s += kn * g;
        if constexpr (withDerivatives) {
            out.dk += n * knm1 * g;
            out.dlnh += kn * x2 * (s2 * s2 * s2 - s1 * s1 * s1);
        }
        const double term = std::fabs(kn * g);
        const double bound = tolerance * std::fabs(1.0 + 4.0 * out.s);
        if (test.negligible(term, kn, n, bound))
            break;
        if (n == kMaxTerms || (!tailWeighed && n >= kMinTailStart && x >= kTailX)) {
            // The closed-form tail costs about as much as a hundred terms: take it
            // only when the geometric decay would not end the sum within as many
            // terms again.
            tailWeighed = true;
            const double q = std::fabs(k);
            const double left = q < 1.0 ? std::log(bound / test.rest(term, kn, n)) / std::log(q) : n + 1.0;
            if (n == kMaxTerms || left > n) {
                addTail(out, k, delta, n, withDerivatives);
                break;
            }
        }
    }
    return out;
}

} // namespace

double reflection(double rho1, double rho2) { return (rho2 - rho1) / (rho2 + rho1); }

WennerSeries wennerSeries(double delta, double k, double tolerance) { return sumSeries<true>(delta, k, tolerance); }

double wennerSum(double delta, double k, double tolerance) { return sumSeries<false>(delta, k, tolerance).s; }

double wennerApparent(double a, double rho1, double rho2, double h)
{
    const auto good = [](double v) { return std::isfinite(v) && v > 0.0; };
    if (!good(a) || !good(rho1) || !good(rho2) || !good(h))
        return std::numeric_limits<double>::quiet_NaN();
    return rho1 * (1.0 + 4.0 * wennerSum(2.0 * h / a, reflection(rho1, rho2)));
}

} // namespace bm::soil
