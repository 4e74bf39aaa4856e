// brackenmoor-cli design as a user runs it: IEEE 80's worked grid as JSON, rods
// in a soil fitted from a readings file, and options that cannot be used.
#include "files.h"
#include "soil/wenner.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

struct Run {
    int exit = -1;
    QByteArray out;
    QString err;
};

class TestDesignCli : public QObject {
    Q_OBJECT
private slots:
    void workedGridAsJson()
    {
        const Run run = cli({"design",     "--rho",
                             "400",        "--grid",
                             "70,70",      "--conductors",
                             "11,11",      "--depth",
                             "0.5",        "--conductor-diameter",
                             "0.01",       "--fault-current",
                             "1908",       "--clearing-time",
                             "0.5",        "--surface",
                             "2500,0.102", "--body",
                             "70",         "--format",
                             "json"});
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QVERIFY2(run.exit == 0, run.out.constData());
        QVERIFY2(o.value("safe") == QJsonValue(false), run.out.constData());
        QVERIFY(qAbs(o.value("grid_ohm").toDouble() - 2.78) < 0.005);
        QVERIFY(qAbs(o.value("touch_tolerable_v").toDouble() - 840.5) < 0.05);
        QVERIFY(o.contains("mesh_v"));
        QVERIFY(o.contains("step_v"));
        QVERIFY(o.contains("cs"));
        QVERIFY(!o.contains("rod_ohm"));
    }

    // Readings of 100 ohm-m over 400 ohm-m below 2 m: a 6 m rod sees
    // 6 x 100 x 400 / (400 x 2 + 100 x 4) = 200 ohm-m, as the fit allows.
    void rodsInTheSoilOfAReadingsFile()
    {
        QByteArray csv = "spacing_m,resistivity_ohm_m\n";
        for (double a : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 32.0})
            csv += QByteArray::number(a) + ',' + QByteArray::number(bm::soil::wennerApparent(a, 100, 400, 2), 'g', 8)
                   + '\n';
        writeAll(dir_.filePath("soil.csv"), csv);
        const Run run = cli({"design", "--soil", dir_.filePath("soil.csv"), "--rod", "6,0.016", "--target-ohm", "10"});
        QVERIFY2(run.exit == 0, run.out.constData());
        QVERIFY2(run.out.contains("rho_basis=rod_equivalent\n"), run.out.constData());
        QVERIFY2(run.out.contains("\nrods_needed="), run.out.constData());
        const double rho = QString::fromUtf8(run.out).section('\n', 0, 0).section('=', 1).toDouble();
        QVERIFY2(qAbs(rho - 200.0) < 4.0, run.out.constData());

        const Run far = cli({"design", "--rho", "1000", "--rod", "1,0.016", "--target-ohm", "0.5"});
        QVERIFY2(far.exit == 0, far.out.constData());
        QVERIFY2(far.out.contains("message=no group of up to 100 rods"), far.out.constData());
        QVERIFY2(!far.out.contains("rods_needed"), far.out.constData());
        writeAll(dir_.filePath("bad.csv"), "spacing_m,resistivity_ohm_m\n1,x\n");
        const Run bad = cli({"design", "--soil", dir_.filePath("bad.csv"), "--rod", "3,0.02"});
        QVERIFY2(bad.exit == 1, qPrintable(bad.err));
        QVERIFY2(bad.err.contains("line 2"), qPrintable(bad.err));
        QVERIFY2(bad.out.isEmpty(), qPrintable(bad.err));
    }

    void badOrContradictoryOptionsExit1WithTheUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        const QStringList rod{"--rho", "100", "--rod", "3,0.02"};
        QTest::newRow("negative length") << QStringList{"--rho", "100", "--rod", "-3,0.02"} << "--rod must be";
        QTest::newRow("diameter over length") << QStringList{"--rho", "100", "--rod", "0.02,3"} << "diameter";
        QTest::newRow("grid without conductors") << QStringList{"--rho",   "100",          "--grid",
                                                                "10,10",   "--conductors", "0,3",
                                                                "--depth", "0.5",          "--conductor-diameter",
                                                                "0.01"}
                                                 << "--conductors must be";
        QTest::newRow("grid missing depth")
            << QStringList{"--rho", "100", "--grid", "10,10", "--conductors", "2,2", "--conductor-diameter", "0.01"}
            << "--depth";
        QTest::newRow("rods without rod size")
            << QStringList{"--rho", "100", "--rods", "4", "--spacing", "3"} << "--rod L,D";
        QTest::newRow("two soils") << QStringList{"--rho", "100",         "--rho1", "50",    "--rho2",
                                                  "90",    "--thickness", "2",      "--rod", "3,0.02"}
                                   << "one soil";
        QTest::newRow("no soil") << QStringList{"--rod", "3,0.02"} << "soil is needed";
        QTest::newRow("half a two-layer soil") << QStringList{"--rho1", "50", "--rod", "3,0.02"} << "--thickness";
        QTest::newRow("rod and grid") << (rod + QStringList{"--grid", "10,10"}) << "one electrode";
        QTest::newRow("rods and target") << (rod + QStringList{"--rods", "3", "--target-ohm", "5"}) << "together";
        QTest::newRow("spacing alone") << (rod + QStringList{"--spacing", "3"}) << "--spacing";
        QTest::newRow("unknown arrangement")
            << (rod + QStringList{"--rods", "3", "--arrangement", "star"}) << "line or ring";
        QTest::newRow("safety without current") << (rod + QStringList{"--clearing-time", "0.5"}) << "--fault-current";
        QTest::newRow("body 60 kg")
            << (rod + QStringList{"--fault-current", "10", "--clearing-time", "0.5", "--body", "60"}) << "50 or 70";
        QTest::newRow("no electrode") << QStringList{"--rho", "100"} << "electrode is needed";
    }
    void badOrContradictoryOptionsExit1WithTheUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const Run run = cli(QStringList{"design"} + args);
        QVERIFY2(run.exit == 1, qPrintable(run.err.left(200)));
        QVERIFY2(run.err.contains(reason), qPrintable(run.err.left(200)));
        QVERIFY2(run.err.contains("Usage: brackenmoor-cli design"), qPrintable(run.err.left(200)));
        QVERIFY2(run.out.isEmpty(), qPrintable(run.err.left(200)));
    }

private:
    Run cli(const QStringList& args)
    {
        QProcess process;
        process.start(QStringLiteral(BM_CLI_PATH), args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestDesignCli)
#include "test_designcli.moc"
