// The link with its real timers against a simulated tester, in the order a
// user meets it: found past missing and busy ports, cable pulled, cable back.
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
