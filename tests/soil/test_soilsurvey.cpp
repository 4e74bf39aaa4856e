// The Schlumberger and three-layer models against the layered-earth integral, the
// choice of layers on seeded soundings, and traverses that agree and that do not.
#include "soil/ftest.h"
#include "soil/layeredearth.h"
#include "soil/soilfit.h"
#include "soil/wenner.h"

#include <QTest>

#include <cmath>
#include <random>

// Declared before the first QFETCH of it: optimised builds reject it later.
Q_DECLARE_METATYPE(bm::soil::Layers)

using namespace bm::soil;

namespace {

// rho_a = rho1 [1 + c ∫ theta(λ) (J0(λ r1) - J0(λ r2)) dλ], theta = (T1/rho1 - 1) / 2
// with Koefoed's transform T_i = (T_i+1 + rho_i tanh λh_i) / (1 + T_i+1 tanh(λh_i) / rho_i),
// by a composite 8-point Gauss-Legendre rule until the kernel is below e^-80.
double integralApparent(const Electrodes& e, const Layers& l)
{
    static constexpr double x[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
    static constexpr double w[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    const auto f = [&](double lambda) {
        double t = l.rho[size_t(l.count - 1)];
        for (int i = l.count - 2; i >= 0; --i) {
            const double th = std::tanh(lambda * l.h[size_t(i)]);
            t = (t + l.rho[size_t(i)] * th) / (1.0 + t * th / l.rho[size_t(i)]);
        }
        return 0.5 * (t / l.rho[0] - 1.0)
               * (std::cyl_bessel_j(0.0, lambda * e.r1) - std::cyl_bessel_j(0.0, lambda * e.r2));
    };
    const double width = std::min(0.2 / e.r2, 0.05 / l.h[0]);
    double sum = 0.0;
    for (int p = 0; p < int(std::ceil(40.0 / l.h[0] / width)); ++p) {
        const double mid = (p + 0.5) * width, half = 0.5 * width;
        for (int i = 0; i < 4; ++i)
            sum += half * w[i] * (f(mid - half * x[i]) + f(mid + half * x[i]));
    }
    return l.rho[0] * (1.0 + e.c * sum);
}

SoilPoint schlumberger(double s, double m, double rho, QString traverse = "A")
{
    return {s, rho, true, Array::Schlumberger, m, traverse};
}

// AB/2 from 1 to 100 m in 17 log steps, MN/2 0.3 m, with relative noise.
std::vector<SoilPoint> sounding(const Layers& l, double noise, unsigned seed, QString traverse = "A")
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> n(0.0, noise);
    std::vector<SoilPoint> points;
    for (int i = 0; i < 17; ++i) {
        SoilPoint p = schlumberger(std::pow(100.0, i / 16.0), 0.3, 0.0, traverse);
        p.rho_ohm_m = apparentOver(p, l) * (1.0 + n(rng));
        points.push_back(p);
    }
    return points;
}

const Layers kThree{3, {100.0, 10.0, 1000.0}, {6.0, 4.0}};
const Layers kTwo{2, {100.0, 1000.0, 0.0}, {6.0, 0.0}};

} // namespace

class TestSoilSurvey : public QObject {
    Q_OBJECT
private slots:
    void modelsAgreeWithTheLayeredEarthIntegral_data()
    {
        QTest::addColumn<bool>("wenner");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<Layers>("layers");
        QTest::newRow("Wenner, 3 layers, H type 1/100") << true << 20.0 << Layers{3, {100, 1, 100}, {2, 3}};
        QTest::newRow("Wenner, 3 layers, K type 100") << true << 3.0 << Layers{3, {10, 1000, 10}, {0.5, 2}};
        QTest::newRow("Wenner, 3 layers, rising") << true << 60.0 << Layers{3, {50, 500, 5000}, {3, 10}};
        QTest::newRow("Schlumberger, 2 layers, 1/100") << false << 50.0 << Layers{2, {1000, 10, 0}, {2, 0}};
        QTest::newRow("Schlumberger, 2 layers, 100") << false << 8.0 << Layers{2, {10, 1000, 0}, {1, 0}};
        QTest::newRow("Schlumberger, 3 layers, H type") << false << 30.0 << Layers{3, {100, 10, 1000}, {6, 4}};
        QTest::newRow("Schlumberger, 3 layers, falling") << false << 100.0 << Layers{3, {1000, 100, 10}, {2, 10}};
    }
    void modelsAgreeWithTheLayeredEarthIntegral()
    {
        QFETCH(bool, wenner);
        QFETCH(double, spacing);
        QFETCH(Layers, layers);
        const SoilPoint p = wenner ? SoilPoint{spacing, 1.0} : schlumberger(spacing, 0.3, 1.0);
        const double expected = integralApparent(electrodesOf(p.array, spacing, p.mn2_m), layers);
        const double model = apparentOver(p, layers);
        QVERIFY2(std::fabs(model / expected - 1.0) < 1e-6,
                 qPrintable(QString("%1 against %2").arg(model, 0, 'g', 12).arg(expected, 0, 'g', 12)));
    }

    // The fits' slopes: each derivative against a central difference of the model.
    void derivativesMatchDifferences()
    {
        const Layers base{3, {80.0, 400.0, 20.0}, {1.5, 5.0}};
        for (const Electrodes& e :
             {electrodesOf(Array::Wenner, 6.0, 0.0), electrodesOf(Array::Schlumberger, 12.0, 1.0)}) {
            const Apparent a = layeredApparent(e, base, true);
            for (int p = 0; p < 5; ++p) {
                Layers up = base, down = base;
                double& u = p < 3 ? up.rho[size_t(p)] : up.h[size_t(p - 3)];
                double& d = p < 3 ? down.rho[size_t(p)] : down.h[size_t(p - 3)];
                u *= std::exp(1e-5);
                d *= std::exp(-1e-5);
                const double slope = (layeredApparent(e, up).rho - layeredApparent(e, down).rho) / 2e-5;
                QVERIFY2(std::fabs(a.d[size_t(p)] - slope) < 1e-5 * a.rho, qPrintable(QString::number(p)));
            }
        }
    }

    // Wenner and Schlumberger readings of one two-layer soil fit together.
    void mixedArraysFitOneTwoLayerSoil()
    {
        std::vector<SoilPoint> points = sounding(kTwo, 0.0, 1);
        for (double a : {1.0, 3.0, 9.0, 27.0, 81.0})
            points.push_back({a, wennerApparent(a, 100.0, 1000.0, 6.0)});
        const SoilAnalysis r = analyse(points);
        QVERIFY(r.twoLayer);
        QVERIFY(r.twoLayer->rms_percent < 1e-3);
        QCOMPARE(r.layersChosen, 2);
        QVERIFY(std::fabs(r.twoLayer->rho2_ohm_m / 1000.0 - 1.0) < 1e-3);
        QVERIFY(std::fabs(r.twoLayer->h_m / 6.0 - 1.0) < 1e-3);
    }

    // A third layer alike to its neighbour leaves the two-layer image series.
    void threeLayersWithTwoAlikeAreTwoLayers()
    {
        for (double a : {0.5, 4.0, 30.0, 150.0}) {
            for (double contrast : {0.01, 0.3, 5.0, 100.0}) {
                const double two = wennerApparent(a, 100.0, 100.0 * contrast, 5.0);
                const double upper = apparentOver({a, 1.0}, {3, {100.0, 100.0, 100.0 * contrast}, {2.0, 3.0}});
                const double lower =
                    apparentOver({a, 1.0}, {3, {100.0, 100.0 * contrast, 100.0 * contrast}, {5.0, 3.0}});
                QVERIFY2(std::fabs(upper / two - 1.0) < 1e-6, qPrintable(QString::number(a)));
                QVERIFY2(std::fabs(lower / two - 1.0) < 1e-6, qPrintable(QString::number(a)));
            }
        }
    }

    // The geometric factors of IEEE Std 81 (Wenner 2πa) and the Schlumberger example
    // s = 10 m, m = 1 m, R = 2 Ω: 311.0 Ω·m; F at the 1 % points of the published table.
    void geometryAndSignificanceMatchPublishedFigures()
    {
        QVERIFY(std::fabs(geometricFactor(Array::Schlumberger, 10.0, 1.0) * 2.0 - 311.0) < 0.05);
        QVERIFY(std::fabs(geometricFactor(Array::Wenner, 5.0, 0.0) - 31.4159) < 1e-4);
        QVERIFY(std::isnan(geometricFactor(Array::Schlumberger, 1.0, 1.0)));
        for (const auto& [f, d1, d2] : {std::tuple{6.93, 2, 12}, {4.94, 3, 20}, {5.41, 4, 12}, {5.39, 2, 30}})
            QVERIFY2(std::fabs(fSurvival(f, d1, d2) - 0.01) < 2e-4, qPrintable(QString::number(fSurvival(f, d1, d2))));
    }

    void exactThreeLayerReadingsRecoverEveryLayer()
    {
        const SoilAnalysis r = analyse(sounding(kThree, 0.0, 1));
        QVERIFY(r.threeLayer);
        QVERIFY(r.threeLayerMessage.isEmpty());
        const ThreeLayerModel& m = *r.threeLayer;
        const double got[] = {m.rho1_ohm_m, m.h1_m, m.rho2_ohm_m, m.h2_m, m.rho3_ohm_m};
        const double want[] = {100.0, 6.0, 10.0, 4.0, 1000.0};
        for (int i = 0; i < 5; ++i)
            QVERIFY2(std::fabs(got[i] / want[i] - 1.0) < 0.02, qPrintable(QString::number(got[i])));
        QCOMPARE(r.layersChosen, 3);
        QCOMPARE(analyse(sounding(kTwo, 0.0, 1)).layersChosen, 2);
    }

    void noisyReadingsChooseTheirLayers()
    {
        int right3 = 0, right2 = 0;
        for (unsigned seed = 1; seed <= 10; ++seed) {
            right3 += analyse(sounding(kThree, 0.03, seed)).layersChosen == 3;
            right2 += analyse(sounding(kTwo, 0.03, seed + 100)).layersChosen == 2;
        }
        QVERIFY2(right3 >= 9, qPrintable(QString("%1 and %2 of 10").arg(right3).arg(right2)));
        QVERIFY2(right2 >= 9, qPrintable(QString("%1 and %2 of 10").arg(right3).arg(right2)));
    }

    void fewerThanFiveSpacingsGiveNoThirdLayer()
    {
        std::vector<SoilPoint> points = sounding(kThree, 0.0, 1);
        points.resize(4);
        points.push_back(points.back());
        const SoilAnalysis r = analyse(points);
        QVERIFY(!r.threeLayer);
        QVERIFY(r.threeLayerMessage.contains("five"));
        QVERIFY(r.twoLayer);
    }

    void traversesThatDifferAreFlagged()
    {
        std::vector<SoilPoint> a = sounding(kTwo, 0.03, 7, "A"), same = sounding(kTwo, 0.03, 8, "B");
        std::vector<SoilPoint> other = sounding({2, {300.0, 30.0, 0.0}, {3.0, 0.0}}, 0.03, 9, "B");
        std::vector<SoilPoint> agree = a, differ = a;
        agree.insert(agree.end(), same.begin(), same.end());
        differ.insert(differ.end(), other.begin(), other.end());
        const SoilAnalysis r = analyse(agree);
        QCOMPARE(r.traverses.size(), 2);
        QCOMPARE(r.traverses[1].name, "B");
        QCOMPARE(r.traverses[1].pointsUsed, 17);
        QVERIFY(r.traverses[0].twoLayer);
        QVERIFY(std::fabs(r.traverses[0].twoLayer->rho2_ohm_m / 1000.0 - 1.0) < 0.3);
        QVERIFY(!r.traversesDisagree);
        QVERIFY(analyse(differ).traversesDisagree);
        QVERIFY(analyse(a).traverses.empty());
    }
};

QTEST_GUILESS_MAIN(TestSoilSurvey)
#include "test_soilsurvey.moc"
