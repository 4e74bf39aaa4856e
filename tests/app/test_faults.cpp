// The worst the line and the user can do, acted out by the simulated tester on
// a real pseudo-terminal with real timers: each case ends in a checked state.
#include "app/mainwindow.h"
#include "link/link.h"
#include "link/protocol.h"
#include "records/recordtable.h"
#include "simtester.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/resource.h>

#include <memory>

using bm::MainWindow;
using bm::SimTester;

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A row is whole: blank, or its number with exactly the cells of one kind. The row's cells, or "" when whole.
QString brokenRow(const bm::RecordTable& table, int row)
{
    QString cells = table.TextMatrix(row, 0);
    int filled = 0; // bit c - 1 for value column c
    for (int c = 1; c < 7; ++c) {
        filled |= table.TextMatrix(row, c).isEmpty() ? 0 : 1 << (c - 1);
        cells += u'|' + table.TextMatrix(row, c);
    }
    const QString number = table.TextMatrix(row, 0);
    const bool whole = number.isEmpty()
                           ? filled == 0
                           : number == QString::number(row)
                                 && (filled == 0 || filled == 0b1 || filled == 0b110010 || filled == 0b111100);
    return whole ? QString() : cells;
}

} // namespace

class FaultTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SimTester> sim;
    std::unique_ptr<MainWindow> window;

    QString testerPath() const { return dir.filePath(QStringLiteral("tester")); }
    QString label(const char* name) { return window->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void showRecordsTab() { window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"))->setCurrentIndex(1); }

    void openWindow()
    {
        window = std::make_unique<MainWindow>();
        window->setEndProgram([] {});
        window->show();
    }

    bool waitForLink(int ms = 10000)
    {
        return QTest::qWaitFor([&] { return window->link().comok(); }, ms);
    }

    // Presses 读取 and waits for the download, repairs included, to end.
    void download(int timeoutMs)
    {
        window->readRecords();
        QCOMPARE(window->link().state(), bm::LinkState::Downloading);
        QTRY_COMPARE_WITH_TIMEOUT(window->link().state(), bm::LinkState::Linked, timeoutMs);
    }

    // Rows first..last hold exactly the tester's records, or (allowed when
    // `blanks` is given) nothing at all; *blanks counts those.
    void compareRows(int first, int last, int* blanks = nullptr)
    {
        bm::RecordTable expected;
        for (int k = first; k <= last; ++k) {
            expected.appendRecord(k, *bm::protocol::decodeMeasurement(sim->recordBytes(k)));
            if (blanks && brokenRow(window->table(), k).isEmpty() && window->table().TextMatrix(k, 0).isEmpty()) {
                ++*blanks;
                continue;
            }
            for (int c = 0; c < 7; ++c)
                QCOMPARE(window->table().TextMatrix(k, c), expected.TextMatrix(k, c));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // COM1 is the tester; nothing else exists.
        qputenv("BRACKENMOOR_PORTS", testerPath().toLocal8Bit());
    }

    void init()
    {
        sim = std::make_unique<SimTester>();
        sim->setLinkPath(testerPath());
        QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    }

    void cleanup()
    {
        window.reset();
        sim.reset();
    }

    void cablePulledMidDownloadKeepsEveryReceivedRowWithoutACpuStormAndTheLinkReturns()
    {
        sim->generateRecords(200, 7);
        sim->setLineRate(960);
        openWindow();
        QVERIFY(waitForLink());
        showRecordsTab();
        window->readRecords();
        QTRY_VERIFY_WITH_TIMEOUT(window->table().Rows() > 80, 20000);

        sim->vanish();
        QElapsedTimer sincePull;
        sincePull.start();
        const double cpu0 = cpuSeconds();
        const int kept = window->table().Rows() - 1;

        QTRY_COMPARE_WITH_TIMEOUT(label("Label2"), QStringLiteral("通信失败"), 8000);
        const qint64 lostAfter = sincePull.elapsed();
        // A serial error storm from the vanished port would show as a busy core here.
        const double share = (cpuSeconds() - cpu0) / (double(lostAfter) / 1000.0);
        QVERIFY2(share < 0.5, qPrintable(QString::number(share)));
        // Silence is tolerated for four watchdog ticks before the link counts as lost.
        QVERIFY2(lostAfter >= 3500, qPrintable(QString::number(lostAfter)));
        QVERIFY(!window->link().comok());
        QVERIFY(window->link().searchTimer()->isActive());

        // Nothing received before the pull was lost or damaged.
        QVERIFY(window->table().Rows() - 1 >= kept);
        compareRows(1, kept);

        // The search went on past the lost port, and finds the tester again.
        QTRY_COMPARE_WITH_TIMEOUT(label("Label1"), QStringLiteral("COM2无效"), 10000); // a deadline, not a speed limit
        QVERIFY(sim->reappear());
        QVERIFY(waitForLink(12000));
        QCOMPARE(label("Label2"), QStringLiteral("通信成功"));

        download(40000);
        QCOMPARE(window->table().Rows(), 201);
        compareRows(1, 200);
    }

    void aMegabyteOfNoiseNeitherFreezesNorBreaksTheLink()
    {
        openWindow();
        QVERIFY(waitForLink());
        QTest::qWait(1500);

        QByteArray noise(1 << 20, Qt::Uninitialized);
        QRandomGenerator rng(42);
        for (char& b : noise)
            b = char(rng.bounded(256));
        sim->inject(noise);

        // A timer of the window's thread keeps ticking on time while the noise arrives.
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        QElapsedTimer beat;
        qint64 worstGap = 0;
        connect(&heartbeat, &QTimer::timeout, this, [&] { worstGap = std::max(worstGap, beat.restart()); });
        beat.start();
        heartbeat.start(20);
        QTRY_COMPARE_WITH_TIMEOUT(sim->pendingOutput(), qint64(0), 60000);
        heartbeat.stop();
        // A frozen loop would stop the beat for as long as the megabyte takes; a
        // busy sanitizer build only stretches single beats.
        QVERIFY2(worstGap < 2000, qPrintable(QString::number(worstGap)));

        // Once the noise stops, a known reading gets through again.
        const bm::SimReading volts{1234, 0x52, 0x10}; // 12.34 V, low battery
        sim->setReading(volts);
        QTRY_COMPARE_WITH_TIMEOUT(window->link().reading().v, QStringLiteral("12.34V"), 8000);
        QCOMPARE(window->link().reading().testmode, 1);
        QVERIFY(window->link().comok());
    }

    void everyRowHoldsItsOwnRecordWhateverTheLineDoes_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("whole"); // every record must arrive
        QTest::newRow("split in pieces") << "split" << 30 << true;
        QTest::newRow("doubled") << "double" << 30 << true;
        QTest::newRow("160 ms late") << "160" << 30 << true;
        QTest::newRow("250 ms late") << "250" << 12 << true;
        QTest::newRow("400 ms late") << "400" << 8 << true;
        QTest::newRow("shorter than their length") << "short" << 2 << false;
        QTest::newRow("on time, late and lost") << "mixed" << 20 << false;
    }
    void everyRowHoldsItsOwnRecordWhateverTheLineDoes()
    {
        QFETCH(QString, fault);
        QFETCH(int, records);
        QFETCH(bool, whole);
        sim->generateRecords(records, 3);
        openWindow();
        QVERIFY(waitForLink());
        showRecordsTab();

        if (fault == "split")
            sim->setChunking(3, 15);
        else if (fault == "double")
            sim->setDoubleReplies(true);
        else if (fault == "short")
            sim->setTruncate(6);
        else if (fault == "mixed") {
            sim->setDropSeed(7);
            sim->setDropRate(0.1);
            sim->setLateReplies(0.3, 700); // past the timeout: never to be taken
        } else
            sim->setReplyDelay(fault.toInt());

        download(60000);
        const bm::RecordTable& table = window->table();
        QVERIFY(table.Rows() <= records + 1); // a missing last record leaves no row
        int blanks = 0;
        compareRows(1, records, &blanks);
        QCOMPARE(window->link().missingRecords(), blanks);
        if (whole)
            QCOMPARE(blanks, 0);
        if (fault == "short")
            QCOMPARE(blanks, records);
    }

    void secondCopyReportsThePortBusyAndNeverStealsIt()
    {
        QProcess first; // BRACKENMOOR_PORTS is set for this process and so for its child
        qputenv("QT_QPA_PLATFORM", "offscreen");
        first.start(QStringLiteral(BRACKENMOOR_EXE), {});
        QVERIFY(first.waitForStarted(5000));
        // The first copy is linked once it polls for live readings.
        QTRY_VERIFY_WITH_TIMEOUT(sim->requestCount(bm::protocol::kReading) > 0, 15000);

        openWindow();
        QTRY_COMPARE_WITH_TIMEOUT(label("Label1"), QStringLiteral("COM1被占用"), 3000);
        const int polled = sim->requestCount(bm::protocol::kReading);
        QTest::qWait(2500);
        QVERIFY(!window->link().comok());
        QVERIFY(sim->requestCount(bm::protocol::kReading) > polled);
        QCOMPARE(sim->requestCount(bm::protocol::kHandshake), 1); // the first copy's only
        first.kill();
        first.waitForFinished(5000);
    }
};

QTEST_MAIN(FaultTest)
#include "test_faults.moc"
