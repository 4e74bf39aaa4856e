#include "link/commport.h"
#include "simtester.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using bm::CommPort;
using bm::OpenOutcome;
using bm::SimTester;

namespace {

void setPorts(const QStringList& paths)
{
    qputenv("BRACKENMOOR_PORTS", paths.join(QDir::listSeparator()).toLocal8Bit());
}

// Sends one request frame and gathers what comes back within 300 ms.
QByteArray ask(CommPort& port, quint16 code)
{
    port.clearInput();
    port.output(QByteArray::fromHex("77") + char(code & 0xFF) + char(code >> 8));
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) {
        QTest::qWait(20);
        got += port.input();
    }
    return got;
}

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(bm::OpenOutcome)

class TstCommPort : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openFailuresAreClassifiedByCause_data();
    void openFailuresAreClassifiedByCause();

    void opensTheDeviceThatThePathListNamesThroughItsLink();
    void absentPathsAreMissingAndOtherFilesFailToOpen();
    void secondOpenerOfTheSameDeviceIsBusyWhateverNameItUses();

    void receivedIsRaisedOnlyOnceTheThresholdIsMetAndClearInputEmptiesIt();
    void loweringTheThresholdUnderWaitingBytesRaisesReceived();
    void requestsArriveWholeEvenWhenOutputIsClearedAtOnce();
    void everyByteValueCrossesTheLineBothWays();

    void vanishedDeviceClosesThePortWithoutAnErrorStorm();

    void simulatorAnswersEachKindOfRequestAsTheTesterDoes();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SimTester> sim_;
};

void TstCommPort::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    sim_ = std::make_unique<SimTester>();
    sim_->setLinkPath(dir_->filePath(QStringLiteral("tester")));
    QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
    setPorts({ sim_->linkPath() });
}

void TstCommPort::cleanup()
{
    sim_.reset();
    dir_.reset();
}

void TstCommPort::openFailuresAreClassifiedByCause_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<bool>("denied");
    QTest::addColumn<OpenOutcome>("outcome");
    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << false << false << OpenOutcome::Missing;
    QTest::newRow("path gone, any error") << QSerialPort::UnknownError << true << false << OpenOutcome::Missing;
    QTest::newRow("locked by another program") << QSerialPort::PermissionError << false << false << OpenOutcome::Busy;
    QTest::newRow("no permission") << QSerialPort::PermissionError << false << true << OpenOutcome::Failed;
    QTest::newRow("not a terminal") << QSerialPort::UnknownError << false << false << OpenOutcome::Failed;
    QTest::newRow("unsupported") << QSerialPort::UnsupportedOperationError << false << false << OpenOutcome::Failed;
    QTest::newRow("resource") << QSerialPort::ResourceError << false << false << OpenOutcome::Failed;
}

void TstCommPort::openFailuresAreClassifiedByCause()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, missing);
    QFETCH(bool, denied);
    QFETCH(OpenOutcome, outcome);
    QCOMPARE(bm::classifyOpenFailure(error, missing, denied), outcome);
}

void TstCommPort::opensTheDeviceThatThePathListNamesThroughItsLink()
{
    setPorts({ QString(), QStringLiteral("/nonexistent/port"), sim_->linkPath() });
    CommPort port;
    port.setCommPort(3);
    QCOMPARE(port.open(), OpenOutcome::Opened);
    QVERIFY(port.portOpen());
    QCOMPARE(port.devicePath(), sim_->devicePath()); // the link resolved
    QVERIFY(port.lastError().isEmpty());

    QSignalSpy requests(sim_.get(), &SimTester::requestReceived);
    port.output(QByteArray::fromHex("77f82a"));
    QVERIFY(requests.wait(5000));
    QCOMPARE(requests.at(0).at(0).value<quint16>(), quint16(11000));

    port.close();
    QVERIFY(!port.portOpen());
}

void TstCommPort::absentPathsAreMissingAndOtherFilesFailToOpen()
{
    QFile plain(dir_->filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QFile::link(QStringLiteral("/nonexistent/target"), dir_->filePath(QStringLiteral("dangling"))));
    setPorts({ QString(), QStringLiteral("/nonexistent/port"), dir_->filePath(QStringLiteral("dangling")),
               plain.fileName(), dir_->path() });
    CommPort port;
    for (qint16 n = 1; n <= 6; ++n) {
        port.setCommPort(n);
        QCOMPARE(port.open(), n == 4 || n == 5 ? OpenOutcome::Failed : OpenOutcome::Missing);
        QVERIFY(!port.portOpen());
        QVERIFY2(!port.lastError().isEmpty(), "the reason belongs in the tooltip");
    }
}

void TstCommPort::secondOpenerOfTheSameDeviceIsBusyWhateverNameItUses()
{
    setPorts({ sim_->linkPath(), sim_->devicePath() });
    CommPort first;
    CommPort second;
    first.setCommPort(1);
    second.setCommPort(2);
    QCOMPARE(first.open(), OpenOutcome::Opened);
    QCOMPARE(second.open(), OpenOutcome::Busy);
    QVERIFY(!second.portOpen());
    QVERIFY(first.portOpen());
    QVERIFY(!second.lastError().isEmpty());

    first.close();
    QCOMPARE(second.open(), OpenOutcome::Opened);
}

void TstCommPort::receivedIsRaisedOnlyOnceTheThresholdIsMetAndClearInputEmptiesIt()
{
    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    port.setRThreshold(10);
    QSignalSpy received(&port, &CommPort::received);

    sim_->inject(QByteArray(9, 'x'));
    QTRY_COMPARE_WITH_TIMEOUT(port.inBufferCount(), qint64(9), 5000);
    QTest::qWait(100);
    QCOMPARE(received.count(), 0);

    sim_->inject(QByteArray(3, 'y'));
    QVERIFY(received.wait(5000));
    QVERIFY(port.inBufferCount() >= 10);
    QByteArray got = port.input(); // every waiting byte, not just the threshold
    QTRY_VERIFY_WITH_TIMEOUT((got += port.input()).size() >= 12, 5000);
    QCOMPARE(got, QByteArray(9, 'x') + QByteArray(3, 'y'));

    sim_->inject(QByteArray(5, 'z'));
    QTRY_COMPARE_WITH_TIMEOUT(port.inBufferCount(), qint64(5), 5000);
    port.clearInput();
    QCOMPARE(port.inBufferCount(), qint64(0));
    QVERIFY(port.input().isEmpty());
}

void TstCommPort::loweringTheThresholdUnderWaitingBytesRaisesReceived()
{
    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    port.setRThreshold(10);
    QSignalSpy received(&port, &CommPort::received);
    sim_->inject(QByteArray::fromHex("775577"));
    QTRY_COMPARE_WITH_TIMEOUT(port.inBufferCount(), qint64(3), 5000);
    QCOMPARE(received.count(), 0);

    port.setRThreshold(3);
    QCOMPARE(received.count(), 0); // never from inside the caller's own sequence
    QVERIFY(received.wait(5000));
    QCOMPARE(port.input(), QByteArray::fromHex("775577"));
}

void TstCommPort::requestsArriveWholeEvenWhenOutputIsClearedAtOnce()
{
    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    QByteArray sent;
    for (int n = 1; n <= 50; ++n) {
        QByteArray request;
        request.append(char(0x77)).append(char(n)).append(char(0));
        port.setRThreshold(10);
        port.clearInput();
        port.output(request);
        port.clearOutput();
        sent += request;
    }
    QTRY_COMPARE_WITH_TIMEOUT(sim_->receivedBytes().size(), sent.size(), 5000);
    QCOMPARE(sim_->receivedBytes(), sent);
    QCOMPARE(sim_->requestCount(), 50);
}

void TstCommPort::everyByteValueCrossesTheLineBothWays()
{
    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    const QByteArray bytes = allByteValues();

    QByteArray got;
    sim_->inject(bytes);
    QTRY_VERIFY_WITH_TIMEOUT((got += port.input()).size() >= 256, 5000);
    QCOMPARE(got, bytes);

    port.output(bytes);
    QTRY_COMPARE_WITH_TIMEOUT(sim_->receivedBytes().size(), 256, 5000);
    QCOMPARE(sim_->receivedBytes(), bytes);
}

void TstCommPort::vanishedDeviceClosesThePortWithoutAnErrorStorm()
{
    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    auto* serial = port.findChild<QSerialPort*>();
    QVERIFY(serial);
    int errors = 0;
    connect(serial, &QSerialPort::errorOccurred, this, [&errors](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError)
            ++errors;
    });
    QSignalSpy lost(&port, &CommPort::lost);

    sim_->vanish();
    QVERIFY(lost.wait(5000));
    QVERIFY(!port.portOpen());
    QVERIFY(!port.lastError().isEmpty());
    QTest::qWait(500);
    QCOMPARE(lost.count(), 1);
    QVERIFY2(errors < 20, qPrintable(QStringLiteral("%1 errors").arg(errors)));

    // A dead port takes writes and reads quietly.
    port.output(QByteArray::fromHex("77c832"));
    port.clearInput();
    port.clearOutput();
    QVERIFY(port.input().isEmpty());
    QCOMPARE(port.inBufferCount(), qint64(0));
    QCOMPARE(port.open(), OpenOutcome::Missing);

    // Plugged back in under the same name, it opens again.
    QVERIFY(sim_->reappear());
    QCOMPARE(port.open(), OpenOutcome::Opened);
    QSignalSpy requests(sim_.get(), &SimTester::requestReceived);
    port.output(QByteArray::fromHex("77c832"));
    QVERIFY(requests.wait(5000));
}

void TstCommPort::simulatorAnswersEachKindOfRequestAsTheTesterDoes()
{
    const bm::SimReading r{1000, 0x21, 0x14, 123, 456, 100}; // main, format, flags, rc, rp, spacing
    QCOMPARE(r.bytes(), QByteArray::fromHex("e80321147b00c8016400"));
    sim_->setReading(r);
    sim_->setRecords({ r, bm::SimReading {} });

    CommPort port;
    QCOMPARE(port.open(), OpenOutcome::Opened);
    port.output(QByteArray::fromHex("0013ff")); // line noise before a frame is skipped
    QCOMPARE(ask(port, 11000), QByteArray::fromHex("775577"));
    QCOMPARE(ask(port, 12000), QByteArray::fromHex("0200"));
    QCOMPARE(ask(port, 13000), r.bytes());
    QCOMPARE(ask(port, 1), r.bytes());
    QCOMPARE(ask(port, 2), bm::SimReading {}.bytes());
    QCOMPARE(ask(port, 3), QByteArray()); // not held
    sim_->setTruncate(6);
    QCOMPARE(ask(port, 13000), r.bytes().left(6));
    QCOMPARE(sim_->requests(), (QList<quint16> { 11000, 12000, 13000, 1, 2, 3, 13000 }));
}

QTEST_GUILESS_MAIN(TstCommPort)
#include "tst_commport.moc"
