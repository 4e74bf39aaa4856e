// The design formulas against published figures: Dwight's rod, the rod-group
// factor table, IEEE Std 80-2013 Annex B's first worked example (70 m square grid)
// with and without rods, and the soil limits the formulas must survive.
#include "design/design.h"

#include <QtTest>

#include <cmath>

using namespace bm::design;

namespace {

// IEEE Std 80-2013, B.3: 70 m by 70 m, 11 conductors each way, 0.5 m deep, 10 mm conductor, 400 ohm-m.
Grid ieeeGrid(int rods = 0) { return {70.0, 70.0, 11, 11, 0.5, 0.01, rods, 7.5}; }

SafetyInput ieeeSafety() { return {1908.0, 0.5, 2500.0, 0.102, 70}; }

bool near(double value, double expected, double tolerance) { return std::fabs(value - expected) <= tolerance; }

} // namespace

class TestDesign : public QObject {
    Q_OBJECT
private slots:
    void dwightRod_data()
    {
        QTest::addColumn<double>("rho");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("diameter");
        QTest::addColumn<double>("ohm");
        QTest::newRow("55 ohm-m, 3 m, 25 mm") << 55.0 << 3.0 << 0.025 << 17.12;
        QTest::newRow("244 ohm-m, 15 m, 60.3 mm") << 244.0 << 15.0 << 0.0603 << 17.08;
    }
    void dwightRod()
    {
        QFETCH(double, rho);
        QFETCH(double, length);
        QFETCH(double, diameter);
        QFETCH(double, ohm);
        const double r = rodResistance(rho, length, diameter);
        QVERIFY2(near(r, ohm, 0.005), qPrintable(QString::number(r)));
    }

    void lineGroupFactorWithinTwoPercentOfTheTable()
    {
        const double table[] = {1.00, 1.66, 2.15, 2.54, 2.87, 3.15, 3.39, 3.61, 3.80}; // N = 2..10
        for (int n = 2; n <= 10; ++n) {
            const double lambda = groupLambda(n, Arrangement::Line);
            QVERIFY2(std::fabs(lambda / table[n - 2] - 1.0) <= 0.02,
                     qPrintable(QStringLiteral("N %1: %2").arg(n).arg(lambda)));
        }
        // A ring of four is a square: two neighbours at S, one across at S sqrt(2).
        QVERIFY(near(groupLambda(4, Arrangement::Ring), 2.0 + 1.0 / std::sqrt(2.0), 1e-12));
        QCOMPARE(groupLambda(1, Arrangement::Ring), 0.0);
    }

    void rodsNeededIsTheFirstGroupAtOrBelowTheTarget()
    {
        // 17.12 ohm rods 3 m apart in 55 ohm-m: alpha = 0.1704, two give
        // 17.12 (1 + 0.1704) / 2 = 10.02, three 17.12 (1 + 1.667 x 0.1704) / 3 = 7.33.
        const double r1 = rodResistance(55.0, 3.0, 0.025);
        QCOMPARE(rodsNeeded(55.0, r1, 3.0, 10.0, Arrangement::Line), 3);
        QCOMPARE(rodsNeeded(55.0, r1, 3.0, 10.03, Arrangement::Line), 2);
        QCOMPARE(rodsNeeded(55.0, r1, 3.0, r1, Arrangement::Line), 1);

        // A hundred rods give about 0.42 ohm; 0.1 is out of reach and says so.
        DesignInput in;
        in.soil = uniformSoil(55.0);
        in.electrode = Electrode::RodsNeeded;
        in.rod = {3.0, 0.025};
        in.target_ohm = 0.1;
        const DesignResult r = evaluate(in);
        QVERIFY(r.targetUnreachable);
        QVERIFY(!r.rods_ohm);
        QVERIFY(!r.rodsNeeded);
        QVERIFY(r.rod_ohm);
    }

    void sverakGrid_data()
    {
        QTest::addColumn<int>("rods");
        QTest::addColumn<double>("ohm");
        QTest::newRow("no rods") << 0 << 2.78;
        QTest::newRow("20 rods of 7.5 m") << 20 << 2.75;
    }
    void sverakGrid()
    {
        QFETCH(int, rods);
        QFETCH(double, ohm);
        const double r = gridResistance(400.0, ieeeGrid(rods));
        QVERIFY2(near(r, ohm, 0.005), qPrintable(QString::number(r)));
    }

    // IEEE 80's printed factors (two to four figures) for the grid without and with rods.
    void meshFactors_data()
    {
        QTest::addColumn<int>("rods");
        QTest::addColumn<double>("kii");
        QTest::addColumn<double>("km");
        QTest::addColumn<double>("lm");
        QTest::addColumn<double>("ls");
        QTest::newRow("no rods") << 0 << 0.57 << 0.89 << 1540.0 << 1155.0;
        QTest::newRow("20 rods of 7.5 m") << 20 << 1.0 << 0.77 << 1786.4 << 1282.5;
    }
    void meshFactors()
    {
        QFETCH(int, rods);
        QFETCH(double, kii);
        QFETCH(double, km);
        QFETCH(double, lm);
        QFETCH(double, ls);
        const MeshFactors f = bm::design::meshFactors(ieeeGrid(rods), 7.0);
        QVERIFY(near(f.n, 11.0, 1e-9));
        QVERIFY(near(f.kh, 1.225, 0.0005));
        QVERIFY(near(f.ki, 2.272, 0.0005));
        QVERIFY2(near(f.ks, 0.406, 0.0005), qPrintable(QString::number(f.ks)));
        QVERIFY2(near(f.kii, kii, 0.005), qPrintable(QStringLiteral("%1 %2").arg(f.kii).arg(f.km)));
        QVERIFY2(near(f.km, km, 0.005), qPrintable(QStringLiteral("%1 %2").arg(f.kii).arg(f.km)));
        QVERIFY2(near(f.lm_m, lm, 0.05), qPrintable(QString::number(f.lm_m)));
        QVERIFY2(near(f.ls_m, ls, 1e-9), qPrintable(QString::number(f.lm_m)));
    }

    void tolerableVoltagesOfTheWorkedExample()
    {
        const Tolerable t = tolerableVoltages(400.0, ieeeSafety());
        QVERIFY2(near(t.cs, 0.7429, 0.00005), qPrintable(QString::number(t.cs)));
        QVERIFY2(near(t.touch_v, 840.5, 0.05), qPrintable(QStringLiteral("%1 %2").arg(t.touch_v).arg(t.step_v)));
        QVERIFY2(near(t.step_v, 2696.0, 0.5), qPrintable(QStringLiteral("%1 %2").arg(t.touch_v).arg(t.step_v)));
        // As IEEE 80 prints them, from Cs rounded to 0.74.
        const Tolerable printed = tolerableForCs(0.74, 2500.0, 0.5, 70);
        QVERIFY(near(printed.touch_v, 838.2, 0.05));
        QVERIFY(near(printed.step_v, 2686.6, 0.05));
        // 50 kg: k = 0.116; no surface layer: Cs = 1 on the native soil.
        const Tolerable bare = tolerableVoltages(400.0, {1908.0, 0.5, 0.0, 0.0, 50});
        QCOMPARE(bare.cs, 1.0);
        QVERIFY(near(bare.touch_v, 1600.0 * 0.116 / std::sqrt(0.5), 1e-9));
    }

    // IEEE 80 B.3: the GPR is far above the tolerable touch voltage; Em about
    // 1002 V is too, Es about 610 V is not: not safe. With 20 rods on the
    // perimeter Em falls to 747.4 V and Es to 548.9 V: safe.
    void workedExample_data()
    {
        QTest::addColumn<int>("rods");
        QTest::addColumn<double>("gpr");
        QTest::addColumn<double>("mesh");
        QTest::addColumn<double>("step");
        QTest::addColumn<bool>("safe");
        QTest::newRow("no rods") << 0 << 5304.0 << 1002.1 << 609.5 << false;
        QTest::newRow("20 rods of 7.5 m") << 20 << 5247.0 << 747.4 << 548.9 << true;
    }
    void workedExample()
    {
        QFETCH(int, rods);
        QFETCH(double, gpr);
        QFETCH(double, mesh);
        QFETCH(double, step);
        QFETCH(bool, safe);
        DesignInput in;
        in.soil = uniformSoil(400.0);
        in.electrode = Electrode::Grid;
        in.grid = ieeeGrid(rods);
        in.safety = ieeeSafety();
        const DesignResult r = evaluate(in);
        QCOMPARE(r.rho.basis, RhoBasis::Uniform);
        QVERIFY(r.safety);
        QVERIFY(r.safety->mesh);
        const SafetyResult& s = *r.safety;
        const QString got = QStringLiteral("%1 %2 %3").arg(s.gpr_v).arg(s.mesh->mesh_v).arg(s.mesh->step_v);
        QVERIFY2(std::fabs(s.gpr_v / gpr - 1.0) < 0.002, qPrintable(got));
        QVERIFY2(std::fabs(s.mesh->mesh_v / mesh - 1.0) < 0.01, qPrintable(got));
        QVERIFY2(std::fabs(s.mesh->step_v / step - 1.0) < 0.01, qPrintable(got));
        QVERIFY(s.gpr_v > s.tolerable.touch_v);
        QVERIFY(s.mesh->step_v < s.tolerable.step_v);
        QCOMPARE(s.safe, safe);

        // A small enough fault current keeps even the GPR below the touch limit.
        in.safety->faultCurrent_a = 100.0;
        QVERIFY(evaluate(in).safety->safe);
    }

    void twoLayerRodsAcrossTheBoundaryAndContrastLimits()
    {
        const Soil soil = twoLayerSoil(100.0, 400.0, 2.0);
        QCOMPARE(rodResistivity(soil, 1.5).basis, RhoBasis::TopLayer);
        QCOMPARE(rodResistivity(soil, 2.0).rho_ohm_m, 100.0);
        // 6 m through 2 m of 100 over 400: 6 x 100 x 400 / (400 x 2 + 100 x 4) = 200.
        const RhoUsed across = rodResistivity(soil, 6.0);
        QCOMPARE(across.basis, RhoBasis::RodEquivalent);
        QVERIFY(near(across.rho_ohm_m, 200.0, 1e-9));
        // K near +1: the lower layer insulates, rho_a tends to L rho1 / h; near -1 to L rho2 / (L - h).
        QVERIFY(near(rodResistivity(twoLayerSoil(100.0, 1e9, 2.0), 6.0).rho_ohm_m, 300.0, 1e-3));
        QVERIFY(near(rodResistivity(twoLayerSoil(100.0, 1e-6, 2.0), 6.0).rho_ohm_m, 1.5e-6, 1e-12));
        QVERIFY(rodResistivity(uniformSoil(80.0), 6.0).basis == RhoBasis::Uniform);

        QCOMPARE(gridResistivity(soil, 0.5).basis, RhoBasis::TopLayer);
        QCOMPARE(gridResistivity(soil, 0.5).rho_ohm_m, 100.0);
        QCOMPARE(gridResistivity(soil, 2.5).basis, RhoBasis::LowerLayer);
        QCOMPARE(gridResistivity(soil, 2.5).rho_ohm_m, 400.0);
    }

    void gridOfOneConductorEachWayHasNoMeshAndTheGprDecides()
    {
        DesignInput in;
        in.soil = uniformSoil(100.0);
        in.electrode = Electrode::Grid;
        in.grid = {10.0, 10.0, 1, 1, 0.5, 0.01, 0, 0.0};
        in.safety = SafetyInput{10.0, 0.5, 0.0, 0.0, 50};
        DesignResult r = evaluate(in);
        QVERIFY(r.grid_ohm);
        QVERIFY(std::isfinite(*r.grid_ohm));
        QVERIFY(r.gridHasNoMesh);
        QVERIFY(!r.safety->mesh);
        QVERIFY(r.safety->safe); // about 90 V against a 190 V touch limit
        in.safety->faultCurrent_a = 1000.0;
        r = evaluate(in);
        QVERIFY(!r.safety->safe);
    }
};

QTEST_GUILESS_MAIN(TestDesign)
#include "test_design.moc"
