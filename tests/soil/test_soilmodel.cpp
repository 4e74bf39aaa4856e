// The two-layer Wenner model against the layered-earth integral, the fit on
// synthetic soundings, and defined answers for readings that cannot be fitted.
#include "soil/soilfit.h"
#include "soil/wenner.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

// Declared before the first QFETCH of it: optimised builds reject it later.
Q_DECLARE_METATYPE(std::vector<bm::soil::SoilPoint>)

using namespace bm::soil;

namespace {

// rho_a = rho1 [1 + 4a ∫ K e^(-2λh) / (1 - K e^(-2λh)) (J0(λa) - J0(2λa)) dλ]; the
// kernel decays like e^(-2λh), so a fine composite 8-point Gauss-Legendre rule up
// to e^-40 is exact enough.
double integralApparent(double a, double rho1, double rho2, double h)
{
    static constexpr double x[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
    static constexpr double w[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    const double k = (rho2 - rho1) / (rho2 + rho1);
    const auto f = [&](double l) {
        const double e = k * std::exp(-2.0 * l * h);
        return e / (1.0 - e) * (std::cyl_bessel_j(0.0, l * a) - std::cyl_bessel_j(0.0, 2.0 * l * a));
    };
    const double end = 20.0 / h;
    const double width = std::min(0.2 / a, 0.05 / h);
    const int panels = int(std::ceil(end / width));
    double sum = 0.0;
    for (int p = 0; p < panels; ++p) {
        const double mid = (p + 0.5) * width, half = 0.5 * width;
        for (int i = 0; i < 4; ++i)
            sum += half * w[i] * (f(mid - half * x[i]) + f(mid + half * x[i]));
    }
    return rho1 * (1.0 + 4.0 * a * sum);
}

std::vector<SoilPoint> sounding(double rho1, double rho2, double h, int repeats = 1, double noise = 0.0,
                                unsigned seed = 1)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> n(0.0, noise);
    std::vector<SoilPoint> points;
    for (int i = 0; i < 8; ++i) {
        const double a = 0.5 * std::pow(2.0, i); // 0.5 to 64 m
        for (int r = 0; r < repeats; ++r)
            points.push_back({a, wennerApparent(a, rho1, rho2, h) * (1.0 + n(rng)), true});
    }
    return points;
}

bool finite(const SoilAnalysis& r)
{
    const auto all = [](std::initializer_list<double> v) {
        return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
    };
    const auto& u = r.uniform;
    const auto& t = r.twoLayer;
    return (!u || all({u->rho_ohm_m, u->rms_percent}))
           && (!t || all({t->rho1_ohm_m, t->rho2_ohm_m, t->h_m, t->k, t->rms_percent}));
}

double rhoFor(double rho1, double k) { return rho1 * (1.0 + k) / (1.0 - k); }

} // namespace

class TestSoilModel : public QObject {
    Q_OBJECT
private slots:
    void seriesAgreesWithLayeredEarthIntegral_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("k");
        QTest::newRow("thin resistive cap") << 8.0 << 1.0 << -0.8;
        QTest::newRow("deep conductive top") << 1.0 << 5.0 << 0.5;
        QTest::newRow("strong contrast") << 3.0 << 0.7 << 0.95;
        QTest::newRow("wide spacing") << 64.0 << 2.0 << 0.9;
        QTest::newRow("near uniform") << 2.0 << 2.0 << 0.01;
    }
    void seriesAgreesWithLayeredEarthIntegral()
    {
        QFETCH(double, a);
        QFETCH(double, h);
        QFETCH(double, k);
        const double expected = integralApparent(a, 100.0, rhoFor(100.0, k), h);
        QVERIFY2(std::fabs(wennerApparent(a, 100.0, rhoFor(100.0, k), h) / expected - 1.0) < 1e-6,
                 qPrintable(QString::number(expected)));
    }

    // Across the K/h grid, and with spacings or resistivities of any scale.
    void fitRecoversLayersFromExactReadings_data()
    {
        QTest::addColumn<double>("k");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("aScale");
        QTest::addColumn<double>("rhoScale");
        for (double k : {-0.9, -0.5, -0.1, 0.3, 0.7, 0.9})
            for (double h : {0.5, 2.0, 6.0, 20.0})
                QTest::addRow("K=%g h=%g", k, h) << k << h << 1.0 << 1.0;
        QTest::newRow("huge resistivities") << 0.6 << 2.0 << 1.0 << 1e12;
        QTest::newRow("tiny resistivities") << 0.6 << 2.0 << 1.0 << 1e-9;
        QTest::newRow("tiny spacings") << 0.6 << 2.0 << 1e-9 << 1.0;
    }
    void fitRecoversLayersFromExactReadings()
    {
        QFETCH(double, k);
        QFETCH(double, h);
        QFETCH(double, aScale);
        QFETCH(double, rhoScale);
        std::vector<SoilPoint> points = sounding(150.0, rhoFor(150.0, k), h);
        for (SoilPoint& p : points)
            p = {p.spacing_m * aScale, p.rho_ohm_m * rhoScale, true};
        const SoilAnalysis r = analyse(points);
        QVERIFY(r.twoLayer);
        QVERIFY(r.message.isEmpty());
        QVERIFY(std::fabs(r.twoLayer->rho1_ohm_m / (150.0 * rhoScale) - 1.0) < 0.005);
        QVERIFY(std::fabs(r.twoLayer->rho2_ohm_m / (rhoFor(150.0, k) * rhoScale) - 1.0) < 0.005);
        QVERIFY(std::fabs(r.twoLayer->h_m / (h * aScale) - 1.0) < 0.005);
        QVERIFY(std::fabs(r.twoLayer->k - k) < 0.005);
        QVERIFY(r.twoLayer->rms_percent < 1e-3);
    }

    void noisyReadingsFitToTheNoiseLevel()
    {
        // 24 readings with 5 % noise, three parameters: expect an RMS near 5 % √(21/24).
        for (unsigned seed : {1u, 2u, 3u}) {
            const SoilAnalysis r = analyse(sounding(300.0, 60.0, 3.0, 3, 0.05, seed));
            QVERIFY(r.twoLayer);
            QVERIFY2(r.twoLayer->rms_percent > 3.0, qPrintable(QString::number(r.twoLayer->rms_percent)));
            QVERIFY2(r.twoLayer->rms_percent < 6.5, qPrintable(QString::number(r.twoLayer->rms_percent)));
            QVERIFY(std::fabs(r.twoLayer->rho1_ohm_m / 300.0 - 1.0) < 0.15);
            QVERIFY(std::fabs(r.twoLayer->rho2_ohm_m / 60.0 - 1.0) < 0.15);
            QVERIFY(std::fabs(r.twoLayer->h_m / 3.0 - 1.0) < 0.3);
            QVERIFY(r.uniform->rms_percent > r.twoLayer->rms_percent);
        }
    }

    void uniformModelIsTheRelativeLeastSquaresResistivity()
    {
        const SoilAnalysis r = analyse({{1, 100, true}, {2, 200, true}, {4, 400, true}, {8, 1e6, false}});
        QCOMPARE(r.pointsUsed, 3);
        QVERIFY(std::fabs(r.uniform->rho_ohm_m - 0.0175 / 1.3125e-4) < 1e-9);
        QVERIFY(r.twoLayer);
        QVERIFY(r.twoLayer->rms_percent < r.uniform->rms_percent);
    }

    void unfittableReadingsGiveAMessageNotANumber_data()
    {
        const double nan = std::nan(""), inf = HUGE_VAL;
        QTest::addColumn<std::vector<SoilPoint>>("points");
        QTest::addColumn<bool>("uniform");
        QTest::addColumn<bool>("twoLayer");
        QTest::newRow("none") << std::vector<SoilPoint>{} << false << false;
        QTest::newRow("all excluded") << std::vector<SoilPoint>{{1, 10, false}, {2, 20, false}} << false << false;
        QTest::newRow("bad values only") << std::vector<SoilPoint>{{0, 10, true},   {-1, 10, true}, {nan, 10, true},
                                                                   {inf, 10, true}, {1, 0, true},   {1, -5, true},
                                                                   {1, nan, true},  {1, inf, true}}
                                         << false << false;
        QTest::newRow("one point") << std::vector<SoilPoint>{{2, 50, true}} << true << false;
        QTest::newRow("one spacing") << std::vector<SoilPoint>{{2, 50, true}, {2, 60, true}, {2, 70, true}} << true
                                     << false;
        QTest::newRow("two spacings") << std::vector<SoilPoint>{{2, 50, true}, {4, 60, true}, {4 + 1e-12, 70, true}}
                                      << true << false;
        QTest::newRow("bad values beside good")
            << std::vector<SoilPoint>{{1, 50, true}, {2, 60, true}, {4, 70, true}, {nan, 1, true}, {8, inf, true}}
            << true << true;
        QTest::newRow("absurd spread") << std::vector<SoilPoint>{{1e-9, 1e12, true}, {1, 1e-9, true}, {1e12, 5, true}}
                                       << true << false;
    }
    void unfittableReadingsGiveAMessageNotANumber()
    {
        QFETCH(std::vector<SoilPoint>, points);
        QFETCH(bool, uniform);
        QFETCH(bool, twoLayer);
        const SoilAnalysis r = analyse(points);
        QCOMPARE(r.uniform.has_value(), uniform);
        QCOMPARE(r.twoLayer.has_value(), twoLayer);
        QCOMPARE(r.message.isEmpty(), twoLayer);
        QVERIFY(finite(r));
    }
};

QTEST_GUILESS_MAIN(TestSoilModel)
#include "test_soilmodel.moc"
