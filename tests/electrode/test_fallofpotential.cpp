// The fall-of-potential reductions against the published slope-method table and
// curves made from the hemispherical-electrode model; interpolation, each verdict
// and the file reader's refusals.
#include "electrode/fallofpotential.h"
#include "electrode/fopinput.h"
#include "electrode/fopreport.h"
#include "electrode/slopemethod.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace bm::electrode;
using Verdict = FopAnalysis::Verdict;

namespace {

// Readings every 5 % of C from a hemisphere of radius r0 (up to 0.04 C: near the
// largest that keeps the 0.05 C reading positive) whose centre lies d behind
// the connection point (Tagg 1970): R(x) = Rt - rho/2pi [1/(C+d) + 1/(x+d) - 1/(C-x)].
std::vector<FopPoint> modelCurve(double c, double d, double rho, double r0, double* rt)
{
    const double k = rho / (2 * std::numbers::pi);
    *rt = k / r0;
    std::vector<FopPoint> out;
    for (int i = 1; i < 20; ++i) {
        const double x = c * 0.05 * i;
        out.push_back({x, *rt - k * (1 / (c + d) + 1 / (x + d) - 1 / (c - x))});
    }
    return out;
}

std::vector<FopPoint> curve(std::initializer_list<std::pair<double, double>> xr)
{
    std::vector<FopPoint> out;
    for (const auto& [x, r] : xr)
        out.push_back({x, r});
    return out;
}

FopSettings test(double c, double plateauPercent = 5, std::optional<double> limit = {})
{
    return {c, plateauPercent, limit};
}

} // namespace

class TestFallOfPotential : public QObject {
    Q_OBJECT
private slots:
    // Tagg's table (Proc. IEE 117(11), 1970), as IEEE Std 81 reprints it.
    void slopeMethodReproducesThePublishedTable()
    {
        const std::pair<double, double> table[] = {{0.40, 0.643}, {0.50, 0.629}, {0.60, 0.614}, {0.80, 0.580},
                                                   {0.90, 0.562}, {1.20, 0.494}, {1.39, 0.434}};
        for (const auto& [mu, pt] : table)
            QVERIFY2(std::fabs(ptRatioForMu(mu).value_or(0) - pt) <= 0.002, qPrintable(QString::number(mu)));
        QCOMPARE(ptRatioAtOffset(0.0).value_or(0), (std::sqrt(5.0) - 1) / 2); // the 61.8 % rule
        for (double mu : {0.0, -0.3, 1.9, double(NAN)})
            QVERIFY(!ptRatioForMu(mu));
        // Pt behind the connection point, or the 0.2 C reading inside the electrode: no Pt.
        QVERIFY(!ptRatioAtOffset(1.7));
        QVERIFY(!ptRatioAtOffset(-0.25));
        QVERIFY(ptRatioAtOffset(-0.1).value_or(0) > 0.618);
    }

    void modelCurvesGiveTheTrueResistance()
    {
        for (double c : {40.0, 300.0})
            for (double dc = 0.0; dc <= 0.3001; dc += 0.05)
                for (const auto& [rho, r0] : {std::pair{30.0, 0.005}, std::pair{2500.0, 0.04}}) {
                    double rt = 0;
                    const FopAnalysis a = analyseFallOfPotential(modelCurve(c, dc * c, rho, r0 * c, &rt), test(c));
                    const QString where = QStringLiteral("C %1 d/C %2 rho %3").arg(c).arg(dc).arg(rho);
                    QVERIFY2(a.slopeR_ohm, qPrintable(where));
                    QVERIFY2(std::fabs(*a.slopeR_ohm / rt - 1) < 1e-3, qPrintable(where));
                    QVERIFY2(dc > 0 || std::fabs(*a.r618_ohm / rt - 1) < 1e-3, qPrintable(where));
                    QVERIFY2(std::fabs(*a.slopePtRatio - *ptRatioAtOffset(dc)) < 1e-6, qPrintable(where));
                }
    }

    void interpolatesBetweenNeighboursAndNeverBeyond()
    {
        const std::vector<FopPoint> c = curveOf(curve({{30, 9}, {10, 2}, {20, 4}, {20, 6}}));
        QCOMPARE(c.size(), size_t(3)); // the two readings at 20 m averaged
        QCOMPARE(interpolate(c, 20).value_or(0), 5.0);
        QCOMPARE(interpolate(c, 10).value_or(0), 2.0);
        QCOMPARE(interpolate(c, 30).value_or(0), 9.0);
        QCOMPARE(interpolate(c, 27.5).value_or(0), 8.0);
        QVERIFY(!interpolate(c, 9.99));
        QVERIFY(!interpolate(c, 30.01));
        QVERIFY(!interpolate({}, 1));
    }

    // 1/R = a/x + b by least squares: R = 1/b.
    void inverseExtrapolationOfTheWorkedExample()
    {
        const FopAnalysis a = analyseFallOfPotential(curve({{1, 0.5}, {2, 0.6}, {4, 0.7}, {8, 0.8}}), test(10));
        QVERIFY(std::fabs(*a.inverseR_ohm - 0.8349) < 5e-5);
    }

    void eachVerdict()
    {
        double rt = 0;
        const std::vector<FopPoint> good = modelCurve(100, 0, 100, 1, &rt);
        FopAnalysis a = analyseFallOfPotential(good, test(100, 5, rt * 1.01));
        QCOMPARE(a.verdict, Verdict::Ok);
        QCOMPARE(a.plateauOk, true);
        QCOMPARE(a.limitOk, true);
        QCOMPARE(a.pointsUsed, 19);
        const FopSettings strict = test(100, 5, rt * 0.99);
        a = analyseFallOfPotential(good, strict);
        QCOMPARE(a.limitOk, false);
        QCOMPARE(a.verdict, Verdict::Ok);
        QVERIFY2(verdictSentence(a, strict).endsWith(
                     QStringLiteral("ohm (slope method). Above the limit of %1 ohm.").arg(rt * 0.99, 0, 'g', 6)),
                 qPrintable(verdictSentence(a, strict)));
        QVERIFY(!analyseFallOfPotential(good, test(100)).limitOk);

        // Straight up: mu 1 is in reach, but no plateau.
        a = analyseFallOfPotential(curve({{10, 10}, {30, 30}, {50, 50}, {70, 70}, {90, 90}}), test(100, 5, 1000));
        QCOMPARE(a.verdict, Verdict::NoPlateau);
        QCOMPARE(a.plateauOk, false);
        QVERIFY(std::fabs(*a.slopeMu - 1) < 1e-12);
        QVERIFY(std::fabs(*a.plateauPercent - 1000.0 / 62) < 1e-9);
        QCOMPARE(a.limitOk, true);
        QVERIFY(verdictSentence(a, test(100)).contains("differ by 16.13 % from the one at 62 % (at most 5 % allowed)"));
        // A wider plateau limit lets the same curve pass.
        QVERIFY(analyseFallOfPotential(curve({{10, 10}, {30, 30}, {50, 50}, {70, 70}, {90, 90}}), test(100, 17)).verdict
                == Verdict::Ok);

        // Falling, or rising so steeply (mu 2) no electrode gives it: the slope figures go together.
        for (const auto& points : {curve({{20, 5}, {40, 4}, {60, 3}}), curve({{20, 1}, {40, 2}, {60, 4}})}) {
            a = analyseFallOfPotential(points, test(100));
            QCOMPARE(a.verdict, Verdict::ProbeTooClose);
            QVERIFY(!a.slopeMu);
            QVERIFY(!a.slopePtRatio);
            QVERIFY(!a.slopeR_ohm);
        }
        // Fewer than three readings within the test (one at C and one at 0 are left out).
        a = analyseFallOfPotential(curve({{0, 3}, {50, 4}, {60, 4}, {100, 5}}), test(100));
        QCOMPARE(a.verdict, Verdict::TooFewPoints);
        QCOMPARE(a.pointsUsed, 2);
        QCOMPARE(verdictWord(a.verdict), "too_few_points");
        // Two readings at one distance both count, and are averaged on the curve.
        a = analyseFallOfPotential(curve({{10, 1}, {20, 2}, {20, 4}, {30, 4}}), test(40));
        QCOMPARE(a.pointsUsed, 4);
        QCOMPARE(a.curve.size(), 3);
        QCOMPARE(a.curve[1].resistance_ohm, 3);
        std::vector<FopPoint> some = good;
        QCOMPARE(excludeDistance(some, 50.0000000001), 1);
        QCOMPARE(some.size(), size_t(18));
    }

    void readerRefusesBadRowsWithTheirLine()
    {
        const FopInput in =
            parseFopInput("\xEF\xBB\xBFno,kind,Resistance_Ohm,\"distance_m\"\r\n1,resistance,\"2.5\",5\r\n"
                          "2,voltage,,\r\n\r\n3,resistance,OL,15\r\n4,resistance,3.1,1e1\r\n",
                          20);
        QVERIFY2(in.ok(), qPrintable(in.error));
        QVERIFY2(in.skippedRows == 2, qPrintable(in.error));
        QVERIFY2(in.points.size() == 2, qPrintable(in.error));
        QCOMPARE(in.points[1].distance_m, 10);
        QCOMPARE(in.points[1].resistance_ohm, 3.1);
        QVERIFY(parseFopInput("distance_m,resistance_ohm\n", 20).ok());

        const std::pair<QByteArray, QString> bad[] = {
            {"", "The file is empty."},
            {"\n\ndistance,resistance_ohm\n", "line 3: the header has no column distance_m"},
            {"distance_m,resistance_ohm\n1,2\n2,x\n", "line 3: resistance_ohm is not a number: 'x'"},
            {"distance_m,resistance_ohm\n1,2\n,3\n", "line 3: distance_m is empty"},
            {"distance_m,resistance_ohm\n1,2\n20,3\n", "line 3: distance_m 20 is not between 0"},
            {"distance_m,resistance_ohm\n-1,2\n", "line 2: distance_m -1 is not between 0"},
            {"distance_m,resistance_ohm\n1,2\n\n4,0\n", "line 4: resistance_ohm 0 is not above 0"},
            {"distance_m,resistance_ohm\n1,inf\n", "line 2: resistance_ohm is not a number"},
        };
        for (const auto& [bytes, error] : bad) {
            const FopInput refused = parseFopInput(bytes, 20);
            QVERIFY2(refused.error.startsWith(error), qPrintable(refused.error));
            QVERIFY2(refused.points.empty(), qPrintable(refused.error));
        }
    }
};

QTEST_GUILESS_MAIN(TestFallOfPotential)
#include "test_fallofpotential.moc"
