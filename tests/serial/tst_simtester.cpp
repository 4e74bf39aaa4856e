#include "link/commport.h"
#include "simtester.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using bm::CommPort;
using bm::OpenOutcome;
using bm::SimReading;
using bm::SimTester;

namespace {

QByteArray frame(quint16 code)
{
    QByteArray f;
    f.append(char(0x77)).append(char(code & 0xFF)).append(char(code >> 8));
    return f;
}

} // namespace

// The simulated tester as the program sees it: through a CommPort on its pty.
class TstSimTester : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void answersEachKindOfRequestAsTheTesterDoes();
    void faultyRepliesComeSilentLateSplitDoubledOrShort();

private:
    // Sends one request and gathers what comes back within waitMs.
    QByteArray ask(quint16 code, int waitMs = 300);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SimTester> sim_;
    std::unique_ptr<CommPort> port_;
};

void TstSimTester::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    sim_ = std::make_unique<SimTester>();
    sim_->setLinkPath(dir_->filePath(QStringLiteral("tester")));
    QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
    qputenv("BRACKENMOOR_PORTS", sim_->linkPath().toLocal8Bit());
    port_ = std::make_unique<CommPort>();
    QCOMPARE(port_->open(), OpenOutcome::Opened);
}

void TstSimTester::cleanup()
{
    port_.reset();
    sim_.reset();
    dir_.reset();
}

QByteArray TstSimTester::ask(quint16 code, int waitMs)
{
    port_->clearInput();
    port_->output(frame(code));
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < waitMs) {
        QTest::qWait(20);
        got += port_->input();
    }
    return got;
}

void TstSimTester::answersEachKindOfRequestAsTheTesterDoes()
{
    SimReading r;
    r.main = 1000;
    r.format = 0x21;
    r.flags = 0x14;
    r.rc = 123;
    r.rp = 456;
    r.spacing = 100;
    QCOMPARE(r.bytes(), QByteArray::fromHex("e80321147b00c8016400"));
    sim_->setReading(r);
    sim_->setRecords({ r, SimReading {} });

    port_->output(QByteArray::fromHex("0013ff")); // line noise before a frame is skipped
    QCOMPARE(ask(11000), QByteArray::fromHex("775577"));
    QCOMPARE(ask(12000), QByteArray::fromHex("0200"));
    QCOMPARE(ask(13000), r.bytes());
    QCOMPARE(ask(1), r.bytes());
    QCOMPARE(ask(2), SimReading {}.bytes());
    QCOMPARE(ask(3), QByteArray()); // not held
    QCOMPARE(ask(10001), QByteArray());

    sim_->setReportedCount(40000);
    QCOMPARE(ask(12000), QByteArray::fromHex("409c"));
    sim_->setReplyFor(11000, QByteArray::fromHex("775578"));
    QCOMPARE(ask(11000), QByteArray::fromHex("775578"));
    sim_->setRawReading(QByteArray::fromHex("0102"));
    QCOMPARE(ask(13000), QByteArray::fromHex("0102"));

    QCOMPARE(sim_->requests(), (QList<quint16> { 11000, 12000, 13000, 1, 2, 3, 10001, 12000, 11000, 13000 }));
    QCOMPARE(sim_->requestCount(12000), 2);
}

void TstSimTester::faultyRepliesComeSilentLateSplitDoubledOrShort()
{
    sim_->setSilent(true);
    QCOMPARE(ask(11000), QByteArray());
    QCOMPARE(sim_->requestCount(11000), 1);
    sim_->setSilent(false);

    sim_->setReplyDelay(300);
    QCOMPARE(ask(11000, 150), QByteArray());
    QByteArray late;
    QTRY_COMPARE_WITH_TIMEOUT((late += port_->input()), QByteArray::fromHex("775577"), 5000);
    sim_->setReplyDelay(0);

    // Pieces of 4 bytes, 150 ms apart: the first piece alone is not the reply.
    sim_->setChunking(4, 150);
    QSignalSpy received(port_.get(), &CommPort::received);
    port_->setRThreshold(10);
    port_->output(frame(13000));
    QVERIFY(received.wait(5000));
    QVERIFY(QTest::qWaitFor([&] { return port_->inBufferCount() >= 10; }, 100));
    QCOMPARE(port_->input(), sim_->reading().bytes());
    sim_->setChunking(0, 0);
    port_->setRThreshold(0);

    sim_->setDoubleReplies(true);
    QCOMPARE(ask(11000), QByteArray::fromHex("775577775577"));
    sim_->setDoubleReplies(false);

    sim_->setTruncate(6);
    QCOMPARE(ask(13000), sim_->reading().bytes().left(6));
    sim_->setTruncate(-1);

    QSignalSpy replied(sim_.get(), &SimTester::replied);
    sim_->inject(QByteArray::fromHex("deadbeef"));
    QCOMPARE(replied.count(), 1);
    QByteArray injected;
    QTRY_COMPARE_WITH_TIMEOUT((injected += port_->input()), QByteArray::fromHex("deadbeef"), 5000);
}

QTEST_GUILESS_MAIN(TstSimTester)
#include "tst_simtester.moc"
