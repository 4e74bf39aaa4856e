// The link's handlers driven one by one against a simulated tester on a
// pseudo-terminal. Every timer is given an interval that never elapses during
// a test, so the only ticks are the ones the test calls.
#include "link/link.h"
#include "records/recordtable.h"
#include "simtester.h"

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

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

constexpr int kNever = 3600 * 1000;
constexpr int kQuiet = 150; // long enough for a reply that is coming to arrive

} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openOutcomesReadInLabel1();
    void scanWrapsAfterCom16();
    void scanFindsTesterAndHoldsIt();
    void handshakeMustMatchAllThreeBytes();
    void keepAliveReplyOnceLinkedChangesNoLabel();
    void sendcmdWritesFrameAndThreshold();
    void sendcmdOnClosedPortChangesNothing();
    void pollingByTab();
    void watchdogDeclaresLossOnFifthSilentTick();
    void readButtonActsOnlyOnRecordsTabWithLink();
    void downloadOfThreeRecords();
    void downloadOfOneRecordStopsOnFirstTick();
    void emptyOrUnreadableCountGivesControlsBack();
    void countAboveRecordRangeRequestsOnly10000();
    void shortRepliesOnlyFeedTheWatchdog();
    void liveReadingsOfEachKind();
    void tabChangeDuringDownloadSendsNoPoll();

private:
    // COM1 is the tester unless a test sets its own list.
    void usePorts(const QString& list) { qputenv("BRACKENMOOR_PORTS", list.toLocal8Bit()); }
    bool waitReceive(int timeout = 2000);
    void linkUp();
    void sendCountAndWait(int count);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SimTester> sim_;
    std::unique_ptr<CommPort> port_;
    std::unique_ptr<RecordTable> table_;
    std::unique_ptr<Link> link_;
};

void TestLink::init()
{
    QLocale::setDefault(QLocale::c());
    dir_ = std::make_unique<QTemporaryDir>();
    sim_ = std::make_unique<SimTester>();
    sim_->setLinkPath(dir_->filePath(u"tester"_s));
    QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
    usePorts(sim_->portPath());
    port_ = std::make_unique<CommPort>();
    table_ = std::make_unique<RecordTable>();
    link_ = std::make_unique<Link>(port_.get(), table_.get());
    for (QTimer* t : {link_->findcomTimer(), link_->comunicationTimer(), link_->readdatTimer(),
                      link_->comtimoutTimer()}) {
        t->stop();
        t->setInterval(kNever);
    }
}

void TestLink::cleanup()
{
    link_.reset();
    table_.reset();
    port_.reset();
    sim_.reset();
    dir_.reset();
}

bool TestLink::waitReceive(int timeout)
{
    QSignalSpy spy(port_.get(), &CommPort::received);
    return spy.wait(timeout);
}

void TestLink::linkUp()
{
    link_->findcomTick();
    QVERIFY(waitReceive());
    QVERIFY(link_->comok());
    link_->findcomTick();
    QVERIFY(!link_->findcomTimer()->isActive());
}

void TestLink::sendCountAndWait(int count)
{
    sim_->setReportedCount(count);
    link_->selectTab(false);
    link_->command1();
    QVERIFY(waitReceive());
}

void TestLink::openOutcomesReadInLabel1()
{
    // Holding the tester's port in a second CommPort makes it busy for the link.
    CommPort holder;
    holder.setCommPort(1);
    QCOMPARE(holder.open(), bm::OpenOutcome::Opened);

    usePorts(sim_->portPath() + u":/nonexistent/brackenmoor-none::/dev/null:"_s + sim_->portPath());
    QSignalSpy label1(link_.get(), &Link::label1Changed);

    link_->comopen(1);
    QCOMPARE(link_->label1(), u"COM1被占用"_s);
    QVERIFY(!port_->portOpen());
    QVERIFY(link_->label1ToolTip().contains(sim_->devicePath()));

    link_->comopen(2);
    QCOMPARE(link_->label1(), u"COM2无效"_s);
    link_->comopen(3);
    QCOMPARE(link_->label1(), u"COM3无效"_s);

    // Neither busy nor missing: says so, never claims the port is open.
    link_->comopen(4);
    QCOMPARE(link_->label1(), u"COM4打开失败"_s);
    QVERIFY(!port_->portOpen());
    QVERIFY(link_->label1ToolTip().startsWith(u"/dev/null: "_s));

    holder.close();
    link_->comopen(5);
    QCOMPARE(link_->label1(), u"COM5已打开"_s);
    QVERIFY(port_->portOpen());
    QCOMPARE(label1.size(), 5);
    QCOMPARE(label1.last().at(0).toString(), u"COM5已打开"_s);
}

void TestLink::scanWrapsAfterCom16()
{
    usePorts(u"/nonexistent/brackenmoor-none"_s);
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(link_->comnum(), qint16(n));
        link_->findcomTick();
        QCOMPARE(link_->label1(), u"COM%1无效"_s.arg(n));
    }
    QCOMPARE(link_->comnum(), qint16(1));
    QCOMPARE(link_->cmdcode(), qint16(0)); // nothing could be sent
    link_->findcomTick();
    QCOMPARE(link_->label1(), u"COM1无效"_s);
}

void TestLink::scanFindsTesterAndHoldsIt()
{
    usePorts(u"/nonexistent/a::"_s + sim_->portPath());
    QSignalSpy label2(link_.get(), &Link::label2Changed);
    QSignalSpy buttons(link_.get(), &Link::buttonsEnabled);
    link_->start();
    QVERIFY(link_->findcomTimer()->isActive());

    link_->findcomTick();
    link_->findcomTick();
    QCOMPARE(link_->label1(), u"COM2无效"_s);
    link_->findcomTick();
    QCOMPARE(link_->label1(), u"COM3已打开"_s);
    QCOMPARE(link_->cmdcode(), qint16(11000));
    QCOMPARE(port_->rThreshold(), qint16(3));
    QVERIFY(waitReceive());
    QCOMPARE(sim_->receivedBytes(), bytes({0x77, 0xF8, 0x2A}));
    QVERIFY(link_->comok());
    QCOMPARE(link_->label2(), u"通信成功"_s);
    QCOMPARE(label2.size(), 1);

    link_->findcomTick();
    QVERIFY(!link_->findcomTimer()->isActive());
    QVERIFY(link_->comunicationTimer()->isActive());
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons[0][0].toBool(), true);
    QCOMPARE(link_->comnum(), qint16(4));
    QVERIFY(port_->portOpen());
    QCOMPARE(link_->label1(), u"COM3已打开"_s);
}

void TestLink::handshakeMustMatchAllThreeBytes()
{
    usePorts(QStringList(3, sim_->portPath()).join(u':'));
    sim_->setReplyFor(11000, bytes({0x77, 0x55, 0x78}));
    link_->findcomTick();
    QVERIFY(waitReceive());
    QVERIFY(!link_->comok());
    QCOMPARE(link_->label2(), u"通信失败"_s);

    // Too short never reaches the threshold, so nothing happens at all.
    sim_->setReplyFor(11000, bytes({0x77, 0x55}));
    link_->findcomTick();
    QVERIFY(!waitReceive(kQuiet));
    QVERIFY(!link_->comok());

    sim_->setReplyFor(11000, bytes({0x77, 0x55, 0x77, 0x01, 0x02}));
    link_->findcomTick();
    QVERIFY(waitReceive());
    QVERIFY(link_->comok());
    QCOMPARE(link_->comnum(), qint16(4)); // one port in the list, tried three times
}

void TestLink::keepAliveReplyOnceLinkedChangesNoLabel()
{
    linkUp();
    QSignalSpy label1(link_.get(), &Link::label1Changed);
    QSignalSpy label2(link_.get(), &Link::label2Changed);
    link_->comtimoutTick();
    link_->comtimoutTick();
    QCOMPARE(link_->timoutcount(), qint16(2));
    link_->sendcmd(11000);
    QVERIFY(waitReceive());
    QCOMPARE(link_->timoutcount(), qint16(0));
    QCOMPARE(label1.size(), 0);
    QCOMPARE(label2.size(), 0);
}

void TestLink::sendcmdWritesFrameAndThreshold()
{
    link_->comopen(1);
    sim_->clearRequests();
    const struct { qint16 code; int threshold; QByteArray frame; } cases[] = {
        {12000, 2, bytes({0x77, 0xE0, 0x2E})},
        {13000, 10, bytes({0x77, 0xC8, 0x32})},
        {5, 10, bytes({0x77, 0x05, 0x00})},
        {10000, 10, bytes({0x77, 0x10, 0x27})},
        {10001, 3, bytes({0x77, 0x11, 0x27})},
    };
    QByteArray expected;
    for (const auto& c : cases) {
        link_->sendcmd(c.code);
        QCOMPARE(link_->cmdcode(), c.code);
        QCOMPARE(port_->rThreshold(), qint16(c.threshold));
        expected += c.frame;
    }
    QTRY_COMPARE(sim_->receivedBytes(), expected);
}

void TestLink::sendcmdOnClosedPortChangesNothing()
{
    link_->sendcmd(12000);
    QCOMPARE(link_->cmdcode(), qint16(0));
    link_->comopen(1);
    link_->sendcmd(13000);
    QTRY_COMPARE(sim_->requestCount(), 1);
    port_->close();
    link_->sendcmd(12000);
    QCOMPARE(link_->cmdcode(), qint16(13000));
    QCOMPARE(port_->rThreshold(), qint16(10));
    QTest::qWait(kQuiet);
    QCOMPARE(sim_->requests(), QList<quint16>{13000});
}

void TestLink::pollingByTab()
{
    link_->comopen(1);
    link_->comunicationTick(); // link down: nothing
    QTest::qWait(kQuiet);
    QCOMPARE(sim_->requestCount(), 0);

    link_->findcomTick();
    QVERIFY(waitReceive());
    link_->findcomTick();
    sim_->clearRequests();
    link_->comunicationTick();
    QVERIFY(waitReceive());
    link_->selectTab(false);
    link_->comunicationTick();
    QVERIFY(waitReceive());
    link_->selectTab(true);
    link_->comunicationTick();
    QVERIFY(waitReceive());
    QCOMPARE(sim_->requests(), (QList<quint16>{13000, 11000, 13000}));
}

void TestLink::watchdogDeclaresLossOnFifthSilentTick()
{
    linkUp();
    QSignalSpy label2(link_.get(), &Link::label2Changed);
    for (int i = 1; i <= 3; ++i)
        link_->comtimoutTick();
    // Any receive event starts the count again.
    link_->sendcmd(11000);
    QVERIFY(waitReceive());
    QCOMPARE(link_->timoutcount(), qint16(0));

    for (int i = 1; i <= 4; ++i)
        link_->comtimoutTick();
    QCOMPARE(label2.size(), 0);
    QVERIFY(link_->comok());
    link_->comtimoutTick();
    QCOMPARE(label2.size(), 1);
    QCOMPARE(link_->label2(), u"通信失败"_s);
    QVERIFY(!link_->comok());
    QVERIFY(link_->findcomTimer()->isActive());
    QCOMPARE(link_->timoutcount(), qint16(0));
    QCOMPARE(link_->cmdcode(), qint16(11000)); // nothing else is reset

    // With nobody answering the message repeats every five ticks.
    for (int i = 1; i <= 5; ++i)
        link_->comtimoutTick();
    QCOMPARE(label2.size(), 2);
}

void TestLink::readButtonActsOnlyOnRecordsTabWithLink()
{
    QSignalSpy buttons(link_.get(), &Link::buttonsEnabled);
    link_->comopen(1);
    link_->selectTab(false);
    buttons.clear();
    link_->command1(); // link down
    QCOMPARE(link_->cmdcode(), qint16(0));

    link_->findcomTick();
    QVERIFY(waitReceive());
    link_->findcomTick();
    link_->selectTab(true);
    buttons.clear();
    link_->command1(); // live tab
    QCOMPARE(link_->cmdcode(), qint16(11000));
    QCOMPARE(buttons.size(), 0);

    link_->selectTab(false);
    link_->command1();
    QCOMPARE(link_->cmdcode(), qint16(12000));
    QCOMPARE(port_->rThreshold(), qint16(2));
    QVERIFY(!link_->comunicationTimer()->isActive());
    QVERIFY(!link_->buttonsOn());
}

void TestLink::downloadOfThreeRecords()
{
    sim_->setRecords({SimReading{1234, 0x12, 0, 123, 456, 0}, SimReading{55, 0x51, 0x1C, 0, 0, 0},
                      SimReading{0x3039, 0x31, 0, 123, 456, 100}});
    linkUp();
    link_->selectTab(false);
    link_->command1();
    QVERIFY(waitReceive());
    QCOMPARE(link_->recordcount(), qint16(3));
    QCOMPARE(link_->recordindex(), qint16(1));
    QVERIFY(link_->readdatTimer()->isActive());
    sim_->clearRequests();

    for (int k = 1; k <= 3; ++k) {
        QVERIFY(link_->readdatTimer()->isActive());
        link_->readdatTick();
        QCOMPARE(link_->cmdcode(), qint16(k));
        QVERIFY(waitReceive());
    }
    QVERIFY(!link_->readdatTimer()->isActive());
    QCOMPARE(link_->recordindex(), qint16(0));
    QVERIFY(link_->comunicationTimer()->isActive());
    QVERIFY(link_->buttonsOn());
    QCOMPARE(sim_->requests(), (QList<quint16>{1, 2, 3}));

    QCOMPARE(table_->Rows(), 4);
    QCOMPARE(table_->TextMatrix(1, 0), u"1"_s);
    QCOMPARE(table_->TextMatrix(1, 2), u"12.34Ω"_s);
    QCOMPARE(table_->TextMatrix(1, 5), u"1.23KΩ"_s);
    QCOMPARE(table_->TextMatrix(2, 1), u"5.5V"_s);
    QCOMPARE(table_->TextMatrix(2, 5), QString());
    QCOMPARE(table_->TextMatrix(3, 3), u"1234.5Ωm"_s);
    QCOMPARE(table_->TextMatrix(3, 4), u"10.0m"_s);
    QCOMPARE(table_->TextMatrix(3, 6), u"4.56KΩ"_s);
    QCOMPARE(link_->reading().testmode, 2); // records never touch the reading
}

void TestLink::downloadOfOneRecordStopsOnFirstTick()
{
    sim_->generateRecords(1);
    linkUp();
    sendCountAndWait(1);
    QVERIFY(link_->readdatTimer()->isActive());
    link_->readdatTick();
    QVERIFY(!link_->readdatTimer()->isActive());
    QCOMPARE(link_->cmdcode(), qint16(1));
    QVERIFY(waitReceive());
    QCOMPARE(table_->Rows(), 2);
    QCOMPARE(table_->TextMatrix(1, 0), u"1"_s);
}

void TestLink::emptyOrUnreadableCountGivesControlsBack()
{
    linkUp();
    sendCountAndWait(0);
    QCOMPARE(link_->recordcount(), qint16(0));
    QVERIFY(!link_->readdatTimer()->isActive());
    QVERIFY(link_->comunicationTimer()->isActive());
    QVERIFY(link_->buttonsOn());

    // A count the link cannot represent keeps the one from before.
    sendCountAndWait(2);
    QCOMPARE(link_->recordcount(), qint16(2));
    link_->readdatTick();
    link_->readdatTick();
    QVERIFY(!link_->readdatTimer()->isActive());
    sendCountAndWait(40000);
    QCOMPARE(link_->recordcount(), qint16(2));
    QCOMPARE(link_->recordindex(), qint16(1));
    QVERIFY(link_->readdatTimer()->isActive());
}

void TestLink::countAboveRecordRangeRequestsOnly10000()
{
    linkUp();
    sendCountAndWait(12000);
    QCOMPARE(link_->recordcount(), qint16(10000));
    // Requests go out without waiting for replies, so the whole run can be ticked here.
    for (int k = 1; k < 10000; ++k)
        link_->readdatTick();
    QCOMPARE(link_->cmdcode(), qint16(9999));
    QVERIFY(link_->readdatTimer()->isActive());
    link_->readdatTick();
    QCOMPARE(link_->cmdcode(), qint16(10000));
    QVERIFY(!link_->readdatTimer()->isActive());
}

void TestLink::shortRepliesOnlyFeedTheWatchdog()
{
    const QByteArray live = bytes({0xE8, 0x03, 0x21, 0x14, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00});
    linkUp();
    QSignalSpy readings(link_.get(), &Link::readingChanged);

    // The receive event is called directly: the threshold keeps short replies
    // from raising it on their own.
    const auto shortReplyFor = [&](qint16 code) {
        link_->sendcmd(code);
        sim_->setSilent(true);
        link_->comtimoutTick();
        sim_->inject(live.left(7));
        QTRY_COMPARE(port_->inBufferCount(), qint64(7));
        link_->onComm();
        QCOMPARE(link_->timoutcount(), qint16(0));
        QCOMPARE(link_->rcvdata(), live.left(7));
        sim_->setSilent(false);
    };
    shortReplyFor(13000);
    QCOMPARE(readings.size(), 0);
    QCOMPARE(link_->reading().r, u"0.00 Ω"_s);

    shortReplyFor(3);
    QCOMPARE(table_->Rows(), 2);
    QCOMPARE(table_->TextMatrix(1, 0), QString());

    // Garbage while linked on the records tab (keep-alive) is no handshake or anything else.
    link_->selectTab(false);
    link_->sendcmd(11000);
    sim_->setSilent(true);
    link_->comtimoutTick();
    sim_->inject(QByteArray("\xff\x00garbage!!", 11));
    QVERIFY(waitReceive());
    QCOMPARE(link_->timoutcount(), qint16(0));
    QCOMPARE(table_->Rows(), 2);
    QCOMPARE(readings.size(), 0);
}

void TestLink::liveReadingsOfEachKind()
{
    linkUp();
    QSignalSpy readings(link_.get(), &Link::readingChanged);

    sim_->setRawReading(bytes({0xE8, 0x03, 0x21, 0x14, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00}));
    link_->comunicationTick();
    QVERIFY(waitReceive());
    QCOMPARE(readings.size(), 1);
    bm::Reading r = link_->reading();
    QCOMPARE(r.r, u"100.0KΩ"_s);
    QCOMPARE(r.rc, u"1.23KΩ"_s);
    QCOMPARE(r.rp, u"4.56KΩ"_s);
    QCOMPARE(r.p_length, u"0.00 m"_s);
    QCOMPARE(r.testmode, 2);
    QVERIFY(r.noise && r.lowbat && !r.hvolt);
    QCOMPARE(readings[0][0].value<bm::Reading>().r, u"100.0KΩ"_s);

    sim_->setRawReading(bytes({0x10, 0x27, 0x52, 0x08, 0, 0, 0, 0, 0, 0}));
    link_->comunicationTick();
    QVERIFY(waitReceive());
    r = link_->reading();
    QCOMPARE(r.v, u"OL V"_s);
    QCOMPARE(r.testmode, 1);
    QCOMPARE(r.r, u"100.0KΩ"_s); // other captions keep theirs
    QVERIFY(!r.noise && !r.lowbat && r.hvolt);

    sim_->setRawReading(bytes({0x39, 0x30, 0x31, 0x00, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00}));
    link_->comunicationTick();
    QVERIFY(waitReceive());
    r = link_->reading();
    QCOMPARE(r.p, u"1234.5Ωm"_s);
    QCOMPARE(r.p_length, u"10.0m"_s);
    QCOMPARE(r.testmode, 3);
    QVERIFY(!r.hvolt);

    // An unknown unit changes no caption and no mode, but the marks still follow.
    sim_->setRawReading(bytes({0x01, 0x00, 0x61, 0x10, 0, 0, 0, 0, 0, 0}));
    link_->comunicationTick();
    QVERIFY(waitReceive());
    r = link_->reading();
    QCOMPARE(r.testmode, 3);
    QCOMPARE(r.p, u"1234.5Ωm"_s);
    QVERIFY(r.lowbat && !r.noise);
}

void TestLink::tabChangeDuringDownloadSendsNoPoll()
{
    sim_->generateRecords(3);
    linkUp();
    sendCountAndWait(3);
    link_->readdatTick();
    QVERIFY(waitReceive());
    link_->selectTab(true);
    QVERIFY(link_->comunicationTimer()->isActive());
    QVERIFY(link_->buttonsOn());
    link_->comunicationTick();
    QCOMPARE(link_->cmdcode(), qint16(1));
    for (int k = 2; k <= 3; ++k) {
        link_->readdatTick();
        QVERIFY(waitReceive());
    }
    QVERIFY(!link_->readdatTimer()->isActive());
    link_->comunicationTick(); // download over: polling again
    QCOMPARE(link_->cmdcode(), qint16(13000));
    QCOMPARE(table_->Rows(), 4);
}

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
