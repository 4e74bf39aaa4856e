// The link with its real timers against a simulated tester, in the order a
// user meets it: found past missing and busy ports, cable pulled, cable back.
#include "link/link.h"
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
        connect(&port_, &Transport::received, this, [this] { sinceReceive_.start(); });
        QSignalSpy tried(&link_, &Link::portTried);
        link_.start();
        QTRY_VERIFY_WITH_TIMEOUT(link_.comok() && !link_.findcomTimer()->isActive(), 5000);
        QList<OpenOutcome> outcomes;
        for (const auto& args : tried)
            outcomes << args.at(0).value<PortAttempt>().outcome;
        QCOMPARE(outcomes, (QList<OpenOutcome>{OpenOutcome::Missing, OpenOutcome::Busy, OpenOutcome::Missing,
                                               OpenOutcome::Missing, OpenOutcome::Opened}));
        QCOMPARE(link_.comnum(), qint16(6));
        QVERIFY(link_.buttonsOn());
    }

    void pulledCableIsReportedAndTheTesterFoundAgain()
    {
        QSignalSpy tried(&link_, &Link::portTried);
        QSignalSpy linked(&link_, &Link::linkChanged);
        sim_.vanish();
        QVERIFY(linked.wait(10000));
        // Four silent watchdog ticks are allowed; the fifth gives up.
        QVERIFY2(sinceReceive_.elapsed() >= 3900, qPrintable(QString::number(sinceReceive_.elapsed())));
        QCOMPARE(linked.first().at(0).toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!tried.isEmpty(), 2000);
        QCOMPARE(tried.first().at(0).value<PortAttempt>().number, qint16(6));

        QVERIFY(sim_.reappear());
        QTRY_VERIFY_WITH_TIMEOUT(link_.comok() && !link_.findcomTimer()->isActive(), 10000);
        QCOMPARE(link_.lastAttempt().number, qint16(5));
        QCOMPARE(linked.last().at(0).toBool(), true);
    }

private:
    QTemporaryDir dir_;
    SimTester sim_;
    SimTester busySim_;
    CommPort holder_; // keeps COM2 busy
    CommPort port_;
    Link link_{&port_};
    QElapsedTimer sinceReceive_;
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
