// The link's handlers called one by one against a simulated tester on a
// pseudo-terminal. Timers get intervals that never elapse, so the only ticks
// are the ones a test calls.
#include "link/link.h"
#include "records/recordtable.h"
#include "simtester.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace bm;

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        sim_ = std::make_unique<SimTester>();
        sim_->setLinkPath(dir_.filePath(u"tester"_s));
        QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
        ports(QStringList(3, sim_->portPath()).join(u':'));
        port_ = std::make_unique<CommPort>();
        link_ = std::make_unique<Link>(port_.get(), &table_);
        for (QTimer* t : {link_->findcomTimer(), link_->comunicationTimer(), link_->readdatTimer(),
                          link_->comtimoutTimer()}) {
            t->stop();
            t->setInterval(3600 * 1000);
        }
        table_.initgrid();
    }
    void cleanup() { link_.reset(); port_.reset(); sim_.reset(); }

    void failedOpenIsNeverReportedOpenAndScanWraps()
    {
        ports(u"/dev/null"_s); // there and not busy, yet no serial port
        link_->findcomTick();
        QCOMPARE(link_->label1(), u"COM1打开失败"_s);
        QVERIFY(link_->label1ToolTip().startsWith(u"/dev/null: "_s));
        QVERIFY(!port_->portOpen());
        QCOMPARE(link_->cmdcode(), qint16(0)); // nothing sent on a closed port
        for (int n = 2; n <= 16; ++n)
            link_->findcomTick();
        QCOMPARE(link_->label1(), u"COM16无效"_s);
        QCOMPARE(link_->comnum(), qint16(1));
    }

    void watchdogCountsSilentTicksOnly()
    {
        linkUp();
        QSignalSpy label2(link_.get(), &Link::label2Changed);
        for (int n = 0; n < 3; ++n)
            link_->comtimoutTick();
        link_->sendcmd(11000); // keep-alive: resets the count, changes no label
        QVERIFY(received());
        for (int n = 0; n < 4; ++n)
            link_->comtimoutTick();
        QVERIFY(label2.isEmpty() && link_->comok());
        link_->comtimoutTick();
        QCOMPARE(link_->label2(), u"通信失败"_s);
        QVERIFY(!link_->comok() && link_->findcomTimer()->isActive());
        QCOMPARE(link_->cmdcode(), qint16(11000));

        // Lost in mid-download: no more record requests into the port search.
        linkUp();
        count(5);
        link_->readdatTick();
        for (int n = 0; n < 5; ++n)
            link_->comtimoutTick();
        QVERIFY(!link_->readdatTimer()->isActive() && !link_->comok());
        link_->findcomTick();
        QVERIFY(received());
        link_->findcomTick();
        QVERIFY(link_->comok() && link_->buttonsOn() && link_->comunicationTimer()->isActive());
    }

    void downloadRequestsEachRecordOnce()
    {
        sim_->setRecords({{1234, 0x12, 0, 123, 456, 0}, {55, 0x51, 0x1C, 0, 0, 0}, {0x3039, 0x31, 0, 123, 456, 100}});
        linkUp();
        link_->command1(); // live tab: nothing
        QCOMPARE(link_->cmdcode(), qint16(11000));
        count(-1);
        QCOMPARE(port_->rThreshold(), qint16(2));
        QCOMPARE(link_->recordcount() * 10 + link_->recordindex(), 31);
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(link_->readdatTimer()->isActive());
            link_->readdatTick();
            if (k < 3) {
                link_->comunicationTick(); // a tab change may turn polling on; it must wait
                QCOMPARE(link_->cmdcode(), qint16(k));
            }
            QVERIFY(received());
        }
        QVERIFY(!link_->readdatTimer()->isActive() && link_->buttonsOn());
        QCOMPARE(link_->recordindex(), qint16(0));
        QCOMPARE(sim_->requests().mid(1), (QList<quint16>{12000, 1, 2, 3}));
        QCOMPARE(table_.Rows(), 4);
        QCOMPARE(table_.TextMatrix(1, 2) + table_.TextMatrix(2, 1) + table_.TextMatrix(2, 5), u"12.34Ω5.5V"_s);
        QCOMPARE(table_.TextMatrix(3, 0) + table_.TextMatrix(3, 3) + table_.TextMatrix(3, 4) + table_.TextMatrix(3, 6),
                 u"31234.5Ωm10.0m4.56KΩ"_s);

        count(1); // one record: the first tick is the last
        link_->readdatTick();
        QVERIFY(!link_->readdatTimer()->isActive());
        QVERIFY(received());
        count(0);
        QVERIFY(!link_->readdatTimer()->isActive() && link_->buttonsOn());
        count(40000); // unreadable: the count from before decides
        QCOMPARE(link_->recordcount(), qint16(0));
        QVERIFY(!link_->readdatTimer()->isActive());
        count(12000); // record numbers stop at 10000
        for (int k = 1; k <= 10000; ++k)
            link_->readdatTick();
        QCOMPARE(link_->cmdcode(), qint16(10000));
        QVERIFY(!link_->readdatTimer()->isActive());
    }

    void shortRepliesAndGarbageOnlyFeedTheWatchdog()
    {
        linkUp();
        QSignalSpy readings(link_.get(), &Link::readingChanged);
        const QByteArray seven = QByteArray::fromHex("e80321147b00c8");
        for (qint16 code : {qint16(13000), qint16(3), qint16(11000)}) {
            link_->sendcmd(code);
            sim_->setSilent(true);
            link_->comtimoutTick();
            sim_->inject(seven);
            if (code == 11000) {
                QVERIFY(received()); // enough for the keep-alive's threshold, and meaningless
            } else {
                QTRY_COMPARE(port_->inBufferCount(), qint64(7));
                link_->onComm(); // called directly: the threshold holds short replies back
            }
            QCOMPARE(link_->rcvdata(), seven);
            QCOMPARE(link_->timoutcount(), qint16(0));
        }
        QVERIFY(readings.isEmpty());
        QCOMPARE(table_.Rows(), 2);
        QCOMPARE(link_->reading().r, u"0.00 Ω"_s);
    }

private:
    void ports(const QString& list) { qputenv("BRACKENMOOR_PORTS", list.toLocal8Bit()); }
    bool received(int timeout = 2000) { return QSignalSpy(port_.get(), &CommPort::received).wait(timeout); }
    void linkUp()
    {
        link_->findcomTick();
        QVERIFY(received());
        link_->findcomTick();
        QVERIFY(link_->comok());
    }
    void count(int reported)
    {
        if (reported >= 0)
            sim_->setReportedCount(reported);
        link_->selectTab(false);
        link_->command1();
        QVERIFY(!link_->comunicationTimer()->isActive() && !link_->buttonsOn());
        QVERIFY(received());
    }

    QTemporaryDir dir_;
    RecordTable table_;
    std::unique_ptr<SimTester> sim_;
    std::unique_ptr<CommPort> port_;
    std::unique_ptr<Link> link_;
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
