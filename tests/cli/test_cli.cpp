// brackenmoor-cli as a user runs it, against the simulated tester on a
// pseudo-terminal: files equal to the window's saves, lost replies recovered,
// a pulled cable, Ctrl-C, ports that cannot be opened and bad arguments.
#include "files.h"
#include "link/commport.h"
#include "link/protocol.h"
#include "records/ansitext.h"
#include "records/csvwriter.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/xlswriter.h"
#include "simtester.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>

using namespace bm;

struct Run {
    int exit = -1;
    QByteArray out;
    QString err;
}; // what a run of the tool left

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        sim_ = std::make_unique<SimTester>();
        sim_->setLinkPath(dir_.filePath(QStringLiteral("tester")));
        QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
        QList<SimReading> records = SimTester::plausibleRecords(40, 3);
        records[4].main = Quantity::kOverloadCount;
        sim_->setRecords(records);
    }

    void downloadsEqualWhatTheWindowSavesForTheSameRecords()
    {
        const RecordTable& table = expected(40);
        const Run csv = cli({"download"});
        QCOMPARE(csv.exit, 0);
        QCOMPARE(csv.out, recordsCsv(table));
        QVERIFY2(csv.err.contains("Tester found on COM2"), qPrintable(csv.err));

        QCOMPARE(cli({"download", "-o", file("r.txt"), "--port", "COM2"}).exit, 0);
        QCOMPARE(readAll(file("r.txt")), textFileBytes(tableLines(gridOf(table), 40)));
        QCOMPARE(cli({"download", "-o", file("r.dat"), "--format", "xls", "--port", sim_->devicePath()}).exit, 0);
        QCOMPARE(readAll(file("r.dat")), xls::workbook(gridOf(table)));

        // A range: the rows before it stay empty, as they would in the window.
        QCOMPARE(cli({"download", "-o", file("part.txt"), "--first", "5", "--last", "7"}).exit, 0);
        QCOMPARE(readAll(file("part.txt")), textFileBytes(tableLines(gridOf(expected(7, 5)), 7)));
    }

    void lostAndLateRepliesAreAskedForAgainAndNoneIsMisfiled()
    {
        sim_->setDropRate(0.15);
        sim_->setDropSeed(7);
        QSignalSpy dropped(sim_.get(), &SimTester::replyDropped);
        const Run run = cli({"download", "--timeout", "100", "--port", "COM2"});
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.out, recordsCsv(expected(40)));
        QVERIFY(dropped.size() >= 3);

        // Replies later than the timeout: asked again, never taken for the next record.
        sim_->setDropRate(0.1);
        sim_->setLateReplies(0.3, 250);
        const Run mixed = cli({"download", "--timeout", "100", "--last", "15", "--port", "COM2"});
        QCOMPARE(mixed.out, recordsCsv(expected(15)));
        QCOMPARE(mixed.exit, 0);
    }

    void pulledCableLeavesTheRowsThatArrivedTheMissingRangeAndExit3()
    {
        writeAll(file("r.csv"), "older file\n");
        connect(sim_.get(), &SimTester::requestReceived, this, [this](quint16 code) {
            if (code == 31) // after the reply to 31 is on its way
                QTimer::singleShot(0, sim_.get(), &SimTester::vanish);
        });
        const Run run =
            cli({"download", "-o", file("r.csv"), "--site", "Y", "--point", "E", "--database", file("h.sqlite")});
        QVERIFY2(run.exit == 3, qPrintable(run.err));
        QVERIFY2(run.err.contains("the link to the tester was lost"), qPrintable(run.err));
        QVERIFY2(run.err.contains("Not stored in the site history"),
                 qPrintable(run.err)); // part of a download is no visit
        QVERIFY(!QFile::exists(file("h.sqlite")));
        const QRegularExpressionMatch m = QRegularExpression("missing records: (\\d+)-40\\n").match(run.err);
        QVERIFY2(m.hasMatch(), qPrintable(run.err));
        QVERIFY2(m.captured(1).toInt() >= 31, qPrintable(run.err));
        QCOMPARE(readAll(file("r.csv")), recordsCsv(expected(m.captured(1).toInt() - 1)));
    }

    void ctrlCWritesWhatArrivedAndExits130()
    {
        sim_->setWirePacing(true); // about 14 ms a record, so the download is still running
        connect(sim_.get(), &SimTester::requestReceived, this, [this](quint16 code) {
            if (code == 10)
                ::kill(pid_t(process_->processId()), SIGINT);
        });
        const Run run = cli({"download", "-o", file("r.txt")});
        QCOMPARE(run.exit, 130);
        const QRegularExpressionMatch m = QRegularExpression("interrupted; missing records: (\\d+)-40").match(run.err);
        QVERIFY2(m.hasMatch(), qPrintable(run.err));
        QVERIFY2(m.captured(1).toInt() >= 10, qPrintable(run.err));
        expected(m.captured(1).toInt() - 1).setRows(41); // every row, those not downloaded blank
        QCOMPARE(readAll(file("r.txt")), textFileBytes(tableLines(gridOf(table_), 40)));
    }

    void liveReadingsAsTextCsvAndJson()
    {
        sim_->setFlags(kNoiseFlag | kLowBatteryFlag);
        const Run text = cli({"read", "--count", "2"});
        const QStringList lines = QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(text.exit, 0);
        QCOMPARE(lines.size(), 2);
        const QRegularExpression shape("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d) "
                                       "resistance R=12\\.34Ω Rc=1\\.23KΩ Rp=4\\.56KΩ NOISE LOWBAT$");
        QVERIFY2(shape.match(lines[1]).hasMatch(), qPrintable(lines[1]));
        const Run csv = cli({"read", "--format", "csv"});
        QVERIFY2(csv.out.endsWith(",resistance,,12.34,,,1230,4560,1,0,1\n"), csv.out.constData());
        const Run json = cli({"read", "--format", "json"});
        QVERIFY2(json.out.contains("\"resistance_ohm\":12.34"), json.out.constData());
        QVERIFY2(json.out.contains("\"noise\":true"), json.out.constData());
    }

    void soilModelsFromADownloadedCsvAndBadLinesExit1WithTheirNumber()
    {
        QList<SimReading> readings;
        for (quint16 spacing : {5, 10, 20, 40, 80, 160})
            readings.append({quint16(1000 + 2 * spacing), 0x31, 0, 100, 100, spacing}); // Ωm, 1 decimal; m, 1 decimal
        sim_->setRecords(readings);
        QCOMPARE(cli({"download", "-o", file("soil.csv")}).exit, 0);
        const Run fit = cli({"soil", file("soil.csv"), "--exclude-spacing", "16"});
        QVERIFY2(fit.exit == 0, fit.out.constData());
        QVERIFY2(fit.out.startsWith("points_used=5\nuniform_ohm_m="), fit.out.constData());
        QVERIFY2(fit.out.contains("\nrho1_ohm_m="), fit.out.constData());
        writeAll(file("bad.csv"), "spacing_m,resistivity_ohm_m\n1,100\n2,x\n");
        const Run refused = cli({"soil", file("bad.csv")});
        QVERIFY2(refused.exit == 1, qPrintable(refused.err));
        QVERIFY2(refused.err.contains("line 3"), qPrintable(refused.err));
        // Schlumberger resistances on two traverses: each traverse's keys in JSON.
        QByteArray survey = "array,ab2_m,mn2_m,resistance_ohm,traverse\n";
        for (const char* line :
             {"1,0.3,60,A", "2,0.3,14,A", "4,0.3,3.1,A", "8,0.3,0.7,A", "1,0.3,61,B", "2,0.3,14.5,B", "4,0.3,3,B"})
            survey += "schlumberger," + QByteArray(line) + "\n";
        writeAll(file("survey.csv"), survey);
        const QJsonObject o =
            QJsonDocument::fromJson(cli({"soil", file("survey.csv"), "--format", "json"}).out).object();
        const QByteArray shown = QJsonDocument(o).toJson();
        QVERIFY2(o.value("traverses").toObject().value("B").toObject().contains("uniform_ohm_m"), shown.constData());
        QVERIFY2(o.contains("layers_chosen"), shown.constData());
        QVERIFY2(o.value("three_layer_message").toString().contains("five"), shown.constData());
    }

    // Every key on its line whatever the verdict; a bad file exits 1 with its line and writes nothing.
    void fopGivesEveryKeyAndRefusesBadFilesByLine()
    {
        writeAll(
            file("fop.csv"),
            "resistance_ohm,distance_m\n2.1,10\n3.0,20\n3.4,30\n3.6,40\n3.7,50\n3.75,60\n3.8,70\n4.1,80\n5.0,90\n");
        const Run text =
            cli({"fop", file("fop.csv"), "--current-distance", "100", "--limit", "3.7", "--exclude-distance", "90"});
        QVERIFY2(text.exit == 0, qPrintable(text.err));
        QVERIFY2(text.err.contains("slope method"), qPrintable(text.err));
        QCOMPARE(text.out,
                 "points_used=8\nr_618_ohm=3.759\nplateau_percent=2.65957\nplateau_ok=true\nslope_mu=0.25\n"
                 "slope_pt_ratio=0.663661\nslope_r_ohm=3.78183\ninverse_r_ohm=4.60468\nlimit_ok=false\nverdict=ok\n");
        writeAll(file("short.csv"), "distance_m,resistance_ohm\n10,1\n30,2\n50,3\n");
        const Run json = cli({"fop", file("short.csv"), "--current-distance", "100", "--format", "json"});
        const QJsonObject o = QJsonDocument::fromJson(json.out).object();
        QVERIFY2(json.exit == 0, json.out.constData());
        QVERIFY2(o.size() == 10, json.out.constData());
        QVERIFY2(o.value("verdict") == "no_plateau", json.out.constData());
        QVERIFY2(o.value("points_used") == 3, json.out.constData());
        QVERIFY(o.value("r_618_ohm").isNull());
        QVERIFY(o.value("slope_mu").isNull());
        QVERIFY(o.value("limit_ok").isNull());
        QVERIFY(o.value("inverse_r_ohm").toDouble() > 3);

        writeAll(file("far.csv"), "distance_m,resistance_ohm\n10,2\n120,3\n");
        for (const QStringList& args :
             QList<QStringList>{{"fop", file("far.csv"), "--current-distance", "100"},
                                {"fop", file("far.csv")},
                                {"fop", file("far.csv"), "--current-distance", "-5"},
                                {"fop", file("fop.csv"), "--current-distance", "100", "--limit", "0"},
                                {"fop", file("fop.csv"), "--current-distance", "100", "--format", "csv"},
                                {"fop", file("none.csv"), "--current-distance", "100"}}) {
            const Run run = cli(args);
            QVERIFY2(run.exit == 1, qPrintable(args.join(' ') + ": " + run.err));
            QVERIFY2(run.out.isEmpty(), qPrintable(args.join(' ') + ": " + run.err));
            QVERIFY2(!run.err.isEmpty(), qPrintable(args.join(' ') + ": " + run.err));
        }
        QVERIFY(cli({"fop", file("far.csv"), "--current-distance", "100"}).err.contains("line 3"));
        QVERIFY(cli({"fop", file("fop.csv"), "--current-distance", "100", "--plateau-percent", "2"})
                    .out.contains("\nplateau_ok=false\n"));
        const Run piped = cli({"fop", "-", "--current-distance", "100"}, "distance_m,resistance_ohm\n10,2\n50,3\n");
        QVERIFY2(piped.exit == 0, piped.out.constData());
        QVERIFY2(piped.out.startsWith("points_used=2\n"), piped.out.constData());
        QVERIFY2(piped.out.endsWith("verdict=too_few_points\n"), piped.out.constData());
    }

    // The file stays as without --site; the visit holds the very figures of its CSV.
    void downloadWithASiteAndPointIsAlsoKeptAsAVisit()
    {
        const QStringList db{"--database", file("h.sqlite")};
        const Run run = cli(QStringList{"download", "-o", file("r.csv"), "--site", "Yard ✓", "--point", "E1"} + db);
        QVERIFY2(run.exit == 0, qPrintable(run.err));
        QVERIFY2(run.err.contains("Stored in the site history as visit"), qPrintable(run.err));
        QCOMPARE(readAll(file("r.csv")), recordsCsv(expected(40)));
        const QJsonArray readings =
            QJsonDocument::fromJson(
                cli(QStringList{"history", "export", "--site", "Yard ✓"} + db).out)["visits"][0]["readings"]
                .toArray();
        const QList<QByteArray> lines = readAll(file("r.csv")).split('\n');
        QCOMPARE(readings.size(), 40);
        for (int i = 0; i < 40; ++i) {
            const QList<QByteArray> cells = lines[i + 1].split(',');
            const QJsonObject r = readings[i].toObject();
            const QByteArray main = cells[2] + cells[3] + cells[4]; // the kind's one value column
            QCOMPARE(r["record"].toInt(), cells[0].toInt());
            QCOMPARE(r["kind"].toString(), cells[1]);
            QVERIFY2(main == "OL" ? r["value"].isNull() : r["value"].toDouble() == main.toDouble(),
                     lines[i + 1].constData());
            QVERIFY(cells[6].isEmpty() ? r["rc_ohm"].isNull() : r["rc_ohm"].toDouble() == cells[6].toDouble());
        }
    }

    void busyAndMissingPortsExit2WithTheirReasons()
    {
        CommPort holder;
        QCOMPARE(holder.openDevice(sim_->devicePath()), OpenOutcome::Opened);
        const struct {
            QStringList args;
            QStringList reasons;
        } cases[] = {{{"download", "--port", sim_->linkPath()}, {"busy"}},
                     {{"read", "--port", "/nonexistent/ttyUSB9"}, {"no such device"}},
                     {{"download"}, {"no tester found", "busy"}}};
        for (const auto& c : cases) {
            const Run run = cli(c.args);
            QVERIFY2(run.exit == 2, qPrintable(run.err));
            QVERIFY2(std::ranges::all_of(c.reasons, [&](auto& r) { return run.err.contains(r); }), qPrintable(run.err));
        }
        QCOMPARE(cli({"ports"}).out, "COM2\t" + sim_->devicePath().toUtf8() + "\tbusy: another program is using it\n");
    }

    // Refused before the port is touched; help and version go to standard output.
    void badArgumentsExit1WithTheUsage()
    {
        for (const QStringList& args : QList<QStringList>{{},
                                                          {"fetch"},
                                                          {"read", "--colour"},
                                                          {"download", "--pace", "slow"},
                                                          {"download", "--first", "9", "--last", "2"},
                                                          {"read", "--count", "2", "--follow"},
                                                          {"read", "--count", "0"},
                                                          {"ports", "extra"},
                                                          {"ports", "--port", "COM0"}}) {
            const Run run = cli(args);
            QVERIFY2(run.exit == 1, qPrintable(args.join(' ') + ": " + run.err));
            QVERIFY2(run.err.contains("Usage: brackenmoor-cli"), qPrintable(args.join(' ') + ": " + run.err));
        }
        QCOMPARE(sim_->requestCount(), 0);
        QCOMPARE(cli({"--version"}).out, "brackenmoor-cli " BRACKENMOOR_VERSION "\n");
        const Run help = cli({"download", "--help"});
        QCOMPARE(help.exit, 0);
        QVERIFY(help.out.startsWith("Usage: brackenmoor-cli download [options]"));
        QVERIFY(help.out.contains("--pace"));
    }

private:
    QString file(const QString& name) const { return dir_.filePath(name); }

    // The records table the window would fill from the simulator's records first..last.
    RecordTable& expected(int last, int first = 1)
    {
        table_.initgrid();
        for (int k = first; k <= last; ++k)
            table_.appendRecord(k, *protocol::decodeMeasurement(sim_->recordBytes(k)));
        return table_;
    }

    // Runs the tool with the tester as COM2, keeping the event loop (and so the simulator) going.
    Run cli(const QStringList& args, const QByteArray& input = {})
    {
        QProcess process;
        process_ = &process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("BRACKENMOOR_PORTS", "/nonexistent/tty0:" + sim_->linkPath());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(BM_CLI_PATH), args);
        if (!input.isEmpty() && process.waitForStarted()) {
            process.write(input);
            process.closeWriteChannel();
        }
        const bool ended = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 120000);
        process_ = nullptr;
        if (!ended)
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir dir_;
    std::unique_ptr<SimTester> sim_;
    RecordTable table_;
    QProcess* process_ = nullptr;
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
