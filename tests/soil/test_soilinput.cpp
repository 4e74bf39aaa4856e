// Soil readings from CSV and from the saved table, the spacing filter, and the
// key=value and JSON reports.
#include "soil/soilinput.h"
#include "soil/soilreport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTest>

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
        const SoilInput in = parseSoilInput("no,kind,voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm\n"
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
        const QByteArray table = kTableHeader + QByteArray(34, ' ') + "\r\n"
                                 + "1  12.5V" + QByteArray(32, ' ') + "\r\n"
                                 + "2        1.23K\xA6\xB8         2.10K\xA6\xB8       OL K\xA6\xB8\r\n"
                                 + "3              12,34K\xA6\xB8m       1.50m      2.10K\xA6\xB8       0.98K\xA6\xB8\r\n"
                                 + "4              456\xA6\xB8m       3.0m      OL K\xA6\xB8       0.98K\xA6\xB8\r\n"
                                 + "5              OL K\xA6\xB8m       6.0m      2.10K\xA6\xB8       0.98K\xA6\xB8\r\n"
                                 + "6              K\xA6\xB8m       9.0m\r\n";
        const SoilInput in = parseSoilInput(table);
        QVERIFY2(in.ok(), qPrintable(in.error));
        QCOMPARE(pairs(in.points), (QList<QPair<double, double>>{{1.5, 12340}, {3, 456}}));
        // The same table as UTF-8 reads alike.
        QCOMPARE(pairs(parseSoilInput(QString::fromUtf8("NO.  V  R  ρ  ρLenght  Rc  Rp\n7  5.5KΩm  2.5m\n").toUtf8()).points),
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
        QCOMPARE(keyValueReport(a), "points_used=2\nuniform_ohm_m=1234.5\nuniform_rms_percent=2.25\nmessage=only uniform\n");
        a.twoLayer = TwoLayerModel{100.5, 400, 2.5, 0.598, 1.5, true};
        a.message.clear();
        QVERIFY(keyValueReport(a).endsWith("rho1_ohm_m=100.5\nrho2_ohm_m=400\nh_m=2.5\nk=0.598\nrms_percent=1.5\n"));
        const QJsonObject o = QJsonDocument::fromJson(jsonReport(a)).object();
        QCOMPARE(o.value("h_m").toDouble(), 2.5);
        QCOMPARE(o.value("uniform_ohm_m").toDouble(), 1234.5);
        QVERIFY(!o.contains("message"));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestSoilInput)
#include "test_soilinput.moc"
