// Soil readings from CSV and from the saved table, the spacing filter, and the
// key=value and JSON reports.
#include "soil/soilinput.h"
#include "soil/soilreport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTest>

#include <numbers>

using namespace bm::soil;

namespace {

QList<QPair<double, double>> pairs(const std::vector<SoilPoint>& points)
{
    QList<QPair<double, double>> out;
    for (const SoilPoint& p : points)
        out.append({p.spacing_m, p.rho_ohm_m});
    return out;
}

// The saved table as GBK bytes: ρ is A6 D1, Ω is A6 B8.
const QByteArray kTableHeader = "NO.  V      R      \xA6\xD1       \xA6\xD1Lenght      Rc            Rp\r\n";

} // namespace

class TestSoilInput : public QObject {
    Q_OBJECT
private slots:
    void csvTakesNamedColumnsAndSkipsOtherKindsAndOverloads()
    {
        const SoilInput in =
            parseSoilInput("no,kind,voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm\n"
                           "1,voltage,12.5,,,,,\r\n"
                           "2,resistivity,,,12340,1.5,2100,980\n"
                           "\n"
                           "3,resistivity,,,OL,2,OL,\n"
                           "4,resistivity,,,456.5,0,,\n"
                           "5,resistivity,,,\"789\",3e0,,\n");
        QVERIFY(in.ok());
        QCOMPARE(pairs(in.points), (QList<QPair<double, double>>{{1.5, 12340}, {3, 789}}));
        QCOMPARE(in.skippedRows, 3);
    }

    void savedTableReadsUnitsAndEitherDecimalSeparator()
    {
        const QByteArray table =
            kTableHeader + QByteArray(34, ' ') + "\r\n" + "1  12.5V" + QByteArray(32, ' ') + "\r\n"
            + "2        1.23K\xA6\xB8         2.10K\xA6\xB8       OL K\xA6\xB8\r\n"
            + "3              12,34K\xA6\xB8m       1.50m      2.10K\xA6\xB8       0.98K\xA6\xB8\r\n"
            + "4              456\xA6\xB8m       3.0m      OL K\xA6\xB8       0.98K\xA6\xB8\r\n"
            + "5              OL K\xA6\xB8m       6.0m      2.10K\xA6\xB8       0.98K\xA6\xB8\r\n"
            + "6              K\xA6\xB8m       9.0m\r\n";
        const SoilInput in = parseSoilInput(table);
        QVERIFY2(in.ok(), qPrintable(in.error));
        QCOMPARE(pairs(in.points), (QList<QPair<double, double>>{{1.5, 12340}, {3, 456}}));
        // The same table as UTF-8 reads alike.
        QCOMPARE(
            pairs(
                parseSoilInput(QString::fromUtf8("NO.  V  R  ρ  ρLenght  Rc  Rp\n7  5.5KΩm  2.5m\n").toUtf8()).points),
            (QList<QPair<double, double>>{{2.5, 5500}}));
    }

    void badInputNamesTheLine()
    {
        const QList<QPair<QByteArray, QString>> cases{
            {"", "empty"},
            {" \r\n\r\n", "empty"},
            {"\n\nhello world\n", "line 3:"},
            {"spacing_m,rho\n1,2\n", "line 1: the header has no column resistivity_ohm_m"},
            {"spacing_m,resistivity_ohm_m\n1,100\n2,200\nabc,300\n", "line 4: spacing_m is not a number: 'abc'"},
            {"spacing_m,resistivity_ohm_m\n1,nan\n", "line 2: resistivity_ohm_m is not a number"},
            {"resistivity_ohm_m,spacing_m\n\n100,\n", "line 3: spacing_m is empty"},
            {"spacing_m,resistivity_ohm_m\n1,OL\n,\n", "no usable"},
            {kTableHeader, "no usable"},
            {kTableHeader + "1  2.0K\xA6\xB8m  1.0m\r\nx  3.0m\r\n", "line 3: expected a record number: 'x'"},
            {kTableHeader + "\r\n1  abcK\xA6\xB8m  1.0m\r\n", "line 3: not a value with a unit: 'abcK"}};
        for (const auto& [bytes, error] : cases) {
            const SoilInput in = parseSoilInput(bytes);
            QVERIFY2(in.error.contains(error), qPrintable(in.error + " for " + QString::fromLatin1(bytes)));
            QVERIFY2(in.points.empty(), qPrintable(in.error + " for " + QString::fromLatin1(bytes)));
        }
    }

    // Schlumberger by AB/2 or by spacing_m, by resistance or resistivity; the array
    // named or implied; traverses kept; a download's resistance records still skipped.
    void csvReadsSchlumbergerResistanceAndTraverses()
    {
        const SoilInput in = parseSoilInput("array,spacing_m,ab2_m,mn2_m,resistance_ohm,resistivity_ohm_m,traverse\n"
                                            ",,10,1,2,,B\n"
                                            "schlumberger,20,,2,,150,\n"
                                            "WENNER,5,,,1,,N-S\n"
                                            ",2,,,,80,A\n"
                                            ",,,,7.5,,\n");
        QVERIFY2(in.ok(), qPrintable(in.error));
        QCOMPARE(pairs(in.points),
                 (QList<QPair<double, double>>{
                     {10, std::numbers::pi * 99 / 2 * 2}, {20, 150}, {5, 10 * std::numbers::pi}, {2, 80}}));
        QCOMPARE(in.points[0].array, Array::Schlumberger);
        QCOMPARE(in.points[0].mn2_m, 1);
        QCOMPARE(in.points[0].traverse, "B");
        QCOMPARE(in.points[1].array, Array::Schlumberger);
        QCOMPARE(in.points[1].traverse, "A");
        QCOMPARE(in.points[2].array, Array::Wenner);
        QCOMPARE(in.points[2].traverse, "N-S");
        QCOMPARE(in.skippedRows, 1);
    }

    void badSurveyColumnsNameTheLine()
    {
        const QByteArray header = "array,ab2_m,mn2_m,resistivity_ohm_m,traverse\n";
        const QList<QPair<QByteArray, QString>> cases{
            {"ab2_m,mn2_m\n", "line 1: the header has no column resistivity_ohm_m"},
            {"mn2_m,resistance_ohm\n", "line 1: the header has no column spacing_m"},
            {header + "schlumberger,10,1,100,A\npole-dipole,10,1,100,A\n",
             "line 3: array must be wenner or schlumberger: 'pole-dipole'"},
            {header + "schlumberger,10,,100,A\n", "line 2: mn2_m is empty"},
            {header + "schlumberger,10,10,100,A\n", "line 2: mn2_m must be positive and less than ab2_m"},
            {header + "schlumberger,10,x,100,A\n", "line 2: mn2_m is not a number: 'x'"},
            {header + "schlumberger,10,1,,A\n", "line 2: resistivity_ohm_m is empty"},
            {header + "\nschlumberger,10,1,100,A=B\n", "line 3: a traverse is named by"},
            {"ab2_m,mn2_m,resistance_ohm\n10,1,\n", "line 2: resistance_ohm is empty"}};
        for (const auto& [bytes, error] : cases) {
            const SoilInput in = parseSoilInput(bytes);
            QVERIFY2(in.error.contains(error), qPrintable(in.error + " for " + QString::fromLatin1(bytes)));
            QVERIFY2(in.points.empty(), qPrintable(in.error + " for " + QString::fromLatin1(bytes)));
        }
    }

    void excludeSpacingMatchesWithinARelativeTolerance()
    {
        std::vector<SoilPoint> points{{2.0, 1, true}, {2.0 * (1 + 1e-12), 2, true}, {2.01, 3, true}, {2.0, 4, false}};
        QCOMPARE(excludeSpacing(points, 2.0), 2);
        QVERIFY(!points[0].included);
        QVERIFY(!points[1].included);
        QVERIFY(points[2].included);
        QVERIFY(!pointFromReading(2.0, 100.0, true));
        QVERIFY(!pointFromReading(0.0, 100.0, false));
    }

    void reportsUseDotsAndLeaveOutAnUnfittedModel()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        SoilAnalysis a;
        a.pointsUsed = 2;
        a.uniform = UniformModel{1234.5, 2.25};
        a.message = "only uniform";
        QCOMPARE(keyValueReport(a),
                 "points_used=2\nuniform_ohm_m=1234.5\nuniform_rms_percent=2.25\nmessage=only uniform\n");
        a.twoLayer = TwoLayerModel{100.5, 400, 2.5, 0.598, 1.5, true};
        a.message.clear();
        QVERIFY(keyValueReport(a).endsWith("rho1_ohm_m=100.5\nrho2_ohm_m=400\nh_m=2.5\nk=0.598\nrms_percent=1.5\n"));
        const QJsonObject o = QJsonDocument::fromJson(jsonReport(a)).object();
        QCOMPARE(o.value("h_m").toDouble(), 2.5);
        QCOMPARE(o.value("uniform_ohm_m").toDouble(), 1234.5);
        QVERIFY(!o.contains("message"));
        a.threeLayer = ThreeLayerModel{100, 6, 10, 4, 1000, 0.5, true};
        a.layersChosen = 3;
        a.traverses = {{"A", 9, UniformModel{90, 1}, std::nullopt, "too few"},
                       {"B", 8, UniformModel{95, 2}, a.twoLayer, {}}};
        a.threeLayerMessage = "none";
        QVERIFY(keyValueReport(a).contains(
            "rms_percent=1.5\nrho1_ohm_m3=100\nh1_m3=6\nrho2_ohm_m3=10\nh2_m3=4\nrho3_ohm_m3=1000\n"
            "rms_percent3=0.5\nlayers_chosen=3\ntraverses_disagree=0\ntraverses.A.points_used=9\n"));
        QVERIFY(keyValueReport(a).endsWith(
            "traverses.A.message=too few\ntraverses.B.points_used=8\n"
            "traverses.B.uniform_ohm_m=95\ntraverses.B.uniform_rms_percent=2\ntraverses.B.rho1_ohm_m=100.5\n"
            "traverses.B.rho2_ohm_m=400\ntraverses.B.h_m=2.5\ntraverses.B.k=0.598\n"
            "traverses.B.rms_percent=1.5\nthree_layer_message=none\n"));
        const QJsonObject t = QJsonDocument::fromJson(jsonReport(a)).object();
        QCOMPARE(t.value("traverses").toObject().value("B").toObject().value("h_m").toDouble(), 2.5);
        QCOMPARE(t.value("rho3_ohm_m3").toDouble(), 1000.0);
        QCOMPARE(t.value("layers_chosen").toInt(), 3);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestSoilInput)
#include "test_soilinput.moc"
