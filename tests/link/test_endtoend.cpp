// The link with its real timers against a simulated tester, in the order a
// user meets it: found, live, download, noise, cable pulled, cable back.
#include "link/link.h"
#include "records/recordtable.h"
#include "simtester.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace bm;

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void testerOnCom5IsFoundPastMissingAndBusyPorts()
    {
        QLocale::setDefault(QLocale::c());
        sim_.setLinkPath(dir_.filePath(u"tester"_s));
        QVERIFY(sim_.start() && busySim_.start());
        qputenv("BRACKENMOOR_PORTS", u"%1/none:%2:%1/none::%3"_s.arg(dir_.path(), busySim_.devicePath(), sim_.linkPath()).toLocal8Bit());
        holder_.setCommPort(2);
        QCOMPARE(holder_.open(), OpenOutcome::Opened);
        connect(&port_, &CommPort::received, this, [this] { sinceReceive_.start(); });
        QSignalSpy label1(&link_, &Link::label1Changed);
        link_.start();
        QTRY_VERIFY_WITH_TIMEOUT(link_.comok() && !link_.findcomTimer()->isActive(), 5000);
        QStringList texts;
        for (const auto& args : label1)
            texts << args.at(0).toString();
        QCOMPARE(texts.join(u' '), u"COM1无效 COM2被占用 COM3无效 COM4无效 COM5已打开"_s);
        QCOMPARE(link_.label2(), u"通信成功"_s);
        QCOMPARE(link_.comnum(), qint16(6));
        QVERIFY(link_.buttonsOn());
    }

    void liveReadingsOfEachKind()
    {
        const struct { SimReading sim; int mode; QString Reading::*caption; QString text; } cases[] = {
            {{123, 0x51, 0x08, 0, 0, 0}, 1, &Reading::v, u"12.3V"_s},
            {{2345, 0x12, 0x14, 150, 275, 0}, 2, &Reading::rp, u"2.75KΩ"_s},
            {{10000, 0x42, 0x10, 99, 101, 250}, 3, &Reading::p_length, u"25.0m"_s}};
        for (const auto& c : cases) {
            sim_.setReading(c.sim);
            QTRY_COMPARE_WITH_TIMEOUT(link_.reading().testmode, c.mode, 3000);
            QCOMPARE(link_.reading().*c.caption, c.text);
            QCOMPARE(link_.reading().hvolt, bool(c.sim.flags & 0x08));
            QCOMPARE(link_.reading().noise, bool(c.sim.flags & 0x04));
            QCOMPARE(link_.reading().lowbat, bool(c.sim.flags & 0x10));
        }
        QCOMPARE(link_.reading().p, u"OL KΩm"_s);
    }

    void downloadFillsExactlyTheStoredRows()
    {
        sim_.generateRecords(4, 3);
        link_.selectTab(false);
        QTRY_VERIFY_WITH_TIMEOUT(sim_.requests().last() == 11000, 3000);
        link_.command1();
        QTRY_COMPARE_WITH_TIMEOUT(table_.TextMatrix(4, 0), u"4"_s, 3000);
        QTRY_VERIFY(!link_.readdatTimer()->isActive() && link_.buttonsOn());
        QCOMPARE(table_.Rows(), 5);
        RecordTable expected;
        for (int k = 1; k <= 4; ++k) {
            expected.appendRecord(k, *protocol::decodeMeasurement(sim_.recordBytes(k)));
            for (int c = 0; c < 7; ++c)
                QCOMPARE(table_.TextMatrix(k, c), expected.TextMatrix(k, c));
        }
    }

    void garbageAndShortRepliesChangeNothing()
    {
        QSignalSpy readings(&link_, &Link::readingChanged);
        sim_.inject(QByteArray::fromHex("1027120001020304050677")); // keep-alive pending: ignored
        QVERIFY(QSignalSpy(&port_, &CommPort::received).wait(2000));
        QCOMPARE(table_.Rows(), 5);
        sim_.setTruncate(6);
        link_.selectTab(true);
        QTest::qWait(2500);
        QVERIFY(readings.isEmpty() && link_.comok());
        sim_.setTruncate(-1);
        QVERIFY(readings.wait(3000));
    }

    void pulledCableIsReportedAndTheTesterFoundAgain()
    {
        QSignalSpy label1(&link_, &Link::label1Changed);
        QSignalSpy label2(&link_, &Link::label2Changed);
        sim_.vanish();
        QVERIFY(label2.wait(8000));
        const qint64 silent = sinceReceive_.elapsed();
        QVERIFY2(silent >= 3900 && silent <= 6000, qPrintable(QString::number(silent)));
        QCOMPARE(link_.label2(), u"通信失败"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!label1.isEmpty(), 1000);
        QCOMPARE(label1.first().at(0).toString(), u"COM6无效"_s);

        QVERIFY(sim_.reappear());
        QTRY_VERIFY_WITH_TIMEOUT(link_.comok() && !link_.findcomTimer()->isActive(), 10000);
        QCOMPARE(link_.label1() + link_.label2(), u"COM5已打开通信成功"_s);
    }

private:
    QTemporaryDir dir_;
    SimTester sim_;
    SimTester busySim_;
    CommPort holder_; // keeps COM2 busy
    CommPort port_;
    RecordTable table_;
    Link link_{&port_, &table_};
    QElapsedTimer sinceReceive_;
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
