// The link with its real timers against a simulated tester on a
// pseudo-terminal, in the order a user meets it: found, live, download, noise,
// cable pulled, cable back. Each step builds on the one before.
#include "display/format.h"
#include "link/link.h"
#include "records/recordtable.h"
#include "simtester.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using bm::CommPort;
using bm::Link;
using bm::RecordTable;
using bm::SimReading;
using bm::SimTester;

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void testerOnCom5IsFoundPastMissingAndBusyPorts();
    void liveReadingsOfEachKindReachTheReading();
    void downloadFillsExactlyTheStoredRows();
    void garbageAndShortRepliesOnlyFeedTheWatchdog();
    void pulledCableIsReportedAndTheScanMovesOn();
    void testerThatComesBackIsFoundAgain();

private:
    QTemporaryDir dir_;
    SimTester sim_;
    SimTester busySim_;
    std::unique_ptr<CommPort> holder_; // keeps COM2 busy
    std::unique_ptr<CommPort> port_;
    std::unique_ptr<RecordTable> table_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<QSignalSpy> label1_;
    QElapsedTimer sinceReceive_;
};

void TestEndToEnd::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(dir_.isValid());
    sim_.setLinkPath(dir_.filePath(u"tester"_s));
    QVERIFY2(sim_.start(), qPrintable(sim_.errorString()));
    QVERIFY2(busySim_.start(), qPrintable(busySim_.errorString()));

    const QString ports = u"%1/missing1:%2:%1/missing3::%3"_s.arg(dir_.path(), busySim_.devicePath(),
                                                                     sim_.linkPath());
    qputenv("BRACKENMOOR_PORTS", ports.toLocal8Bit());
    holder_ = std::make_unique<CommPort>();
    holder_->setCommPort(2);
    QCOMPARE(holder_->open(), bm::OpenOutcome::Opened);

    port_ = std::make_unique<CommPort>();
    table_ = std::make_unique<RecordTable>();
    link_ = std::make_unique<Link>(port_.get(), table_.get());
    label1_ = std::make_unique<QSignalSpy>(link_.get(), &Link::label1Changed);
    connect(port_.get(), &CommPort::received, this, [this] { sinceReceive_.start(); });
    link_->start();
}

void TestEndToEnd::cleanupTestCase()
{
    label1_.reset();
    link_.reset();
    table_.reset();
    port_.reset();
    holder_.reset();
}

void TestEndToEnd::testerOnCom5IsFoundPastMissingAndBusyPorts()
{
    QTRY_VERIFY_WITH_TIMEOUT(!link_->findcomTimer()->isActive(), 5000);
    QVERIFY(link_->comok());
    QStringList texts;
    for (const auto& args : *label1_)
        texts << args.at(0).toString();
    QCOMPARE(texts, (QStringList{u"COM1无效"_s, u"COM2被占用"_s, u"COM3无效"_s, u"COM4无效"_s,
                                 u"COM5已打开"_s}));
    QCOMPARE(link_->label2(), u"通信成功"_s);
    QCOMPARE(link_->comnum(), qint16(6));
    QVERIFY(link_->buttonsOn());
    QVERIFY(link_->comunicationTimer()->isActive());
    QCOMPARE(sim_.requests().first(), quint16(11000));
}

void TestEndToEnd::liveReadingsOfEachKindReachTheReading()
{
    const auto fmt = [](quint16 raw, quint8 format) {
        return bm::fmtvalue(quint8(raw >> 8), quint8(raw & 0xFF), format);
    };

    sim_.setReading(SimReading{123, 0x51, 0x08, 0, 0, 0});
    QTRY_COMPARE_WITH_TIMEOUT(link_->reading().testmode, 1, 3000);
    QCOMPARE(link_->reading().v, u"12.3V"_s);
    QVERIFY(link_->reading().hvolt && !link_->reading().noise && !link_->reading().lowbat);

    const SimReading r{2345, 0x12, 0x14, 150, 275, 0};
    sim_.setReading(r);
    QTRY_COMPARE_WITH_TIMEOUT(link_->reading().testmode, 2, 3000);
    QCOMPARE(link_->reading().r, u"23.45Ω"_s);
    QCOMPARE(link_->reading().rc, fmt(r.rc, 0x22));
    QCOMPARE(link_->reading().rp, u"2.75KΩ"_s);
    QVERIFY(!link_->reading().hvolt && link_->reading().noise && link_->reading().lowbat);

    sim_.setReading(SimReading{10000, 0x42, 0, 99, 101, 250});
    QTRY_COMPARE_WITH_TIMEOUT(link_->reading().testmode, 3, 3000);
    QCOMPARE(link_->reading().p, u"OL KΩm"_s);
    QCOMPARE(link_->reading().p_length, u"25.0m"_s);
    QCOMPARE(link_->reading().rp, u"1.01KΩ"_s);
    QVERIFY(!link_->reading().noise);
}

void TestEndToEnd::downloadFillsExactlyTheStoredRows()
{
    const QList<SimReading> records = SimTester::plausibleRecords(4, 3);
    sim_.setRecords(records);
    link_->selectTab(false);
    QTRY_VERIFY_WITH_TIMEOUT(!sim_.requests().isEmpty() && sim_.requests().last() == 11000, 3000); // keep-alive
    sim_.clearRequests();

    link_->command1();
    QVERIFY(!link_->buttonsOn());
    QTRY_COMPARE_WITH_TIMEOUT(table_->TextMatrix(4, 0), u"4"_s, 3000);
    QTRY_VERIFY(!link_->readdatTimer()->isActive());
    QVERIFY(link_->buttonsOn());
    QCOMPARE(table_->Rows(), 5);
    QCOMPARE(sim_.requests().mid(0, 5), (QList<quint16>{12000, 1, 2, 3, 4}));

    for (int k = 1; k <= 4; ++k) {
        const auto m = bm::protocol::decodeMeasurement(sim_.recordBytes(k));
        QVERIFY(m);
        RecordTable expected;
        expected.appendRecord(k, *m);
        for (int c = 0; c < 7; ++c)
            QCOMPARE(table_->TextMatrix(k, c), expected.TextMatrix(k, c));
    }
}

void TestEndToEnd::garbageAndShortRepliesOnlyFeedTheWatchdog()
{
    // Records tab: only keep-alives are out, so stray bytes mean nothing.
    QSignalSpy received(port_.get(), &CommPort::received);
    QSignalSpy readings(link_.get(), &Link::readingChanged);
    const int rows = table_->Rows();
    const QString row2 = table_->TextMatrix(2, 0) + table_->TextMatrix(2, 1) + table_->TextMatrix(2, 2);
    sim_.inject(QByteArray("\x10\x27\x12\x00\x01\x02\x03\x04\x05\x06\x77\x55", 12));
    QVERIFY(received.wait(2000));
    QCOMPARE(table_->Rows(), rows);
    QCOMPARE(table_->TextMatrix(2, 0) + table_->TextMatrix(2, 1) + table_->TextMatrix(2, 2), row2);

    // Live tab with replies cut short: the reading stays as it was.
    const bm::Reading before = link_->reading();
    sim_.setTruncate(6);
    link_->selectTab(true);
    QTest::qWait(2500);
    QCOMPARE(readings.size(), 0);
    QCOMPARE(link_->reading().p, before.p);
    QCOMPARE(link_->reading().testmode, before.testmode);
    QVERIFY(link_->comok());
    sim_.setTruncate(-1);
    QVERIFY(readings.wait(3000));
}

void TestEndToEnd::pulledCableIsReportedAndTheScanMovesOn()
{
    QVERIFY(link_->comok());
    QSignalSpy label2(link_.get(), &Link::label2Changed);
    label1_->clear();
    sim_.vanish();
    QVERIFY(label2.wait(8000));
    const qint64 silent = sinceReceive_.elapsed();
    QCOMPARE(label2.last().at(0).toString(), u"通信失败"_s);
    QVERIFY2(silent >= 3900 && silent <= 6000, qPrintable(QString::number(silent)));
    QVERIFY(!link_->comok());
    QTRY_VERIFY_WITH_TIMEOUT(!label1_->isEmpty(), 1000);
    QCOMPARE(label1_->first().at(0).toString(), u"COM6无效"_s);
}

void TestEndToEnd::testerThatComesBackIsFoundAgain()
{
    QVERIFY(sim_.reappear());
    QTRY_VERIFY_WITH_TIMEOUT(link_->comok(), 10000);
    QCOMPARE(link_->label2(), u"通信成功"_s);
    QCOMPARE(link_->label1(), u"COM5已打开"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!link_->findcomTimer()->isActive(), 1000);
    QCOMPARE(link_->comnum(), qint16(6));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
