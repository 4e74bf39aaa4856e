// The serial port layer against the simulated tester on a pseudo-terminal.
#include "link/commport.h"
#include "simtester.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using bm::CommPort;
using bm::OpenOutcome;
using bm::SimTester;

namespace {

void setPorts(const QStringList& paths)
{
    qputenv("BRACKENMOOR_PORTS", paths.join(QDir::listSeparator()).toLocal8Bit());
}

} // namespace

class TestCommPort : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SimTester> sim_;
    CommPort port_;

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        sim_ = std::make_unique<SimTester>();
        sim_->setLinkPath(dir_->filePath(QStringLiteral("tester")));
        QVERIFY2(sim_->start(), qPrintable(sim_->errorString()));
        setPorts({sim_->linkPath()});
        port_.setCommPort(1);
    }
    void cleanup()
    {
        port_.close();
        sim_.reset();
        dir_.reset();
    }

    void openFailuresAreClassifiedByCause()
    {
        using E = QSerialPort::SerialPortError;
        const struct {
            E error;
            bool missing, denied;
            OpenOutcome outcome;
        } cases[] = {{E::DeviceNotFoundError, false, false, OpenOutcome::Missing}, // no such device
                     {E::UnknownError, true, false, OpenOutcome::Missing},         // path gone, any error
                     {E::PermissionError, false, false, OpenOutcome::Busy},        // locked by another program
                     {E::PermissionError, false, true, OpenOutcome::Failed},       // no permission
                     {E::ResourceError, false, false, OpenOutcome::Failed}};       // anything else
        for (const auto& c : cases)
            QCOMPARE(bm::classifyOpenFailure(c.error, c.missing, c.denied), c.outcome);
    }

    // Each entry of the path list (none, missing, dangling, a plain file, a folder) opens
    // as what it is; the second opener of a device is told it is busy whatever name it uses.
    void eachPathOpensAsWhatItIs()
    {
        const QString dangling = dir_->filePath(QStringLiteral("dangling"));
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/target"), dangling));
        setPorts({QString(), QStringLiteral("/nonexistent/port"), dangling, QCoreApplication::applicationFilePath(),
                  dir_->path(), sim_->linkPath(), sim_->devicePath()});
        const OpenOutcome M = OpenOutcome::Missing, F = OpenOutcome::Failed;
        for (const auto& [n, outcome] : std::initializer_list<std::pair<qint16, OpenOutcome>>{
                 {1, M}, {2, M}, {3, M}, {4, F}, {5, F}, {8, M}}) { // 8: past the end of the list
            CommPort port;
            port.setCommPort(n);
            QCOMPARE(port.open(), outcome);
            QVERIFY(!port.portOpen());
            QVERIFY2(!port.lastError().isEmpty(), "the reason belongs in the tooltip");
        }
        port_.setCommPort(6);
        QCOMPARE(port_.open(), OpenOutcome::Opened);
        QCOMPARE(port_.devicePath(), sim_->devicePath()); // the link resolved
        CommPort second;
        second.setCommPort(7);
        QCOMPARE(second.open(), OpenOutcome::Busy);
        QVERIFY(port_.portOpen());
        QVERIFY(!second.lastError().isEmpty());
        port_.close();
        QCOMPARE(second.open(), OpenOutcome::Opened);
    }

    void receivedIsRaisedOnlyOnceTheThresholdIsMet()
    {
        QCOMPARE(port_.open(), OpenOutcome::Opened);
        port_.setRThreshold(10);
        QSignalSpy received(&port_, &CommPort::received);
        sim_->inject(QByteArray(9, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(port_.inBufferCount(), qint64(9), 5000);
        QTest::qWait(100);
        QCOMPARE(received.count(), 0);

        sim_->inject(QByteArray(3, 'y'));
        QVERIFY(received.wait(5000));
        QByteArray got = port_.input(); // every waiting byte, not just the threshold
        QTRY_VERIFY_WITH_TIMEOUT((got += port_.input()).size() >= 12, 5000);
        QCOMPARE(got, QByteArray(9, 'x') + QByteArray(3, 'y'));

        // Lowered under the bytes already waiting: raised, but never from inside the caller.
        received.clear();
        sim_->inject(QByteArray::fromHex("775577"));
        QTRY_COMPARE_WITH_TIMEOUT(port_.inBufferCount(), qint64(3), 5000);
        port_.setRThreshold(3);
        QCOMPARE(received.count(), 0);
        QVERIFY(received.wait(5000));
        port_.clearInput();
        QCOMPARE(port_.inBufferCount(), 0);
        QVERIFY(port_.input().isEmpty());
    }

    // Sent in three-byte requests, each cleared from the output at once as the link does.
    void everyByteValueCrossesTheLineBothWays()
    {
        QCOMPARE(port_.open(), OpenOutcome::Opened);
        QByteArray bytes(256, '\0');
        std::iota(bytes.begin(), bytes.end(), char(0));
        QByteArray got;
        sim_->inject(bytes);
        QTRY_VERIFY_WITH_TIMEOUT((got += port_.input()).size() >= 256, 5000);
        QCOMPARE(got, bytes);

        for (int i = 0; i < bytes.size(); i += 3) {
            port_.setRThreshold(10);
            port_.clearInput();
            port_.output(bytes.mid(i, 3));
        }
        QTRY_COMPARE_WITH_TIMEOUT(sim_->receivedBytes().size(), 256, 5000);
        QCOMPARE(sim_->receivedBytes(), bytes);
    }

    void vanishedDeviceClosesThePortWithoutAnErrorStorm()
    {
        QCOMPARE(port_.open(), OpenOutcome::Opened);
        int errors = 0;
        connect(port_.findChild<QSerialPort*>(), &QSerialPort::errorOccurred, this,
                [&errors](QSerialPort::SerialPortError e) { errors += e != QSerialPort::NoError; });
        QSignalSpy lost(&port_, &CommPort::lost);
        sim_->vanish();
        QVERIFY(lost.wait(5000));
        QVERIFY(!port_.portOpen());
        QVERIFY(!port_.lastError().isEmpty());
        QTest::qWait(500);
        QCOMPARE(lost.count(), 1);
        QVERIFY2(errors < 20, qPrintable(QStringLiteral("%1 errors").arg(errors)));

        // A dead port takes writes and reads quietly.
        port_.output(QByteArray::fromHex("77c832"));
        port_.clearInput();
        QVERIFY(port_.input().isEmpty());
        QCOMPARE(port_.inBufferCount(), 0);
        QCOMPARE(port_.open(), OpenOutcome::Missing);
        QVERIFY(sim_->reappear()); // plugged back in under the same name
        QCOMPARE(port_.open(), OpenOutcome::Opened);
    }
};

QTEST_GUILESS_MAIN(TestCommPort)
#include "test_commport.moc"
