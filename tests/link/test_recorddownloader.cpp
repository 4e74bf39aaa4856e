// The download engine against a port in memory: the test decides when each
// reply arrives, so the order of requests is checked exactly.
#include "faketransport.h"
#include "link/handshakeprobe.h"
#include "link/protocol.h"
#include "link/recorddownloader.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using namespace bm;

namespace {

// Record k: k ohms with no decimals.
QByteArray recordReply(quint16 k)
{
    return QByteArray(1, char(k & 0xFF)) + char(k >> 8) + char(0x10) + QByteArray(7, '\0');
}

DownloadSettings settings(Pace pace, int timeoutMs, int retries = 3, int first = 1, int last = 0)
{
    DownloadSettings s;
    s.pace = pace;
    s.timeoutMs = timeoutMs;
    s.retries = retries;
    s.first = first;
    s.last = last;
    return s;
}

DownloadResult resultOf(const QSignalSpy& finished) { return finished.value(0).value(0).value<DownloadResult>(); }

} // namespace

class TestRecordDownloader : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        port_ = std::make_unique<FakeTransport>();
        port_->ports = {{1, OpenOutcome::Opened}};
        port_->openPort(1);
        silent_.clear();
        autoAnswer_ = false;
        port_->tester = [this](quint16 code) -> QByteArray {
            if (silent_.removeOne(code))
                return {};
            if (autoAnswer_)
                QTimer::singleShot(0, port_.get(), &FakeTransport::answer);
            if (code == protocol::kCount)
                return QByteArray(1, char(count_)) + char(0);
            return code == protocol::kHandshake ? QByteArray("\x77\x55\x77") : recordReply(code);
        };
    }

    void fastPaceAsksForEachRecordOnlyOnceThePreviousReplyIsWhole()
    {
        count_ = 4;
        RecordDownloader d(port_.get(), {});
        QSignalSpy received(&d, &RecordDownloader::recordReceived);
        QSignalSpy finished(&d, &RecordDownloader::finished);
        d.start();
        for (quint16 code : {12000, 1, 2, 3, 4}) {
            QCOMPARE(port_->requests.last(), code);
            const qsizetype asked = port_->requests.size();
            port_->deliver(port_->tester(code).left(code == 12000 ? 1 : 9)); // not yet whole
            QCOMPARE(port_->requests.size(), asked);
            port_->clearInput();
            port_->answer();
        }
        QCOMPARE(port_->requests, (QList<quint16>{12000, 1, 2, 3, 4}));
        QCOMPARE(received.size(), 4);
        QCOMPARE(received.at(2).at(1).value<Measurement>().main, QStringLiteral("3Ω"));
        QCOMPARE(finished.size(), 1);
        const DownloadResult r = resultOf(finished);
        QCOMPARE(r.end, DownloadEnd::Complete);
        QVERIFY(r.missing.isEmpty());
        QCOMPARE(r.count, 4);
    }

    void silentRequestsAreAskedAgainAndThoseNeverAnsweredAreListed()
    {
        count_ = 4;
        silent_ = {2, 2, 2, 3}; // record 2 never answers (3 attempts), record 3 on its second
        autoAnswer_ = true;
        RecordDownloader d(port_.get(), settings(Pace::Fast, kTimeoutMs, 2));
        QSignalSpy finished(&d, &RecordDownloader::finished);
        d.start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(port_->requests, (QList<quint16>{12000, 1, 2, 2, 2, 3, 3, 4}));
        QVERIFY(resultOf(finished).end == DownloadEnd::Incomplete);
        QCOMPARE(resultOf(finished).missing, QList<int>{2});
    }

    void rangeIsKeptWithinTheCountAndALostLinkLeavesTheRestMissing()
    {
        count_ = 6;
        RecordDownloader d(port_.get(), settings(Pace::Fast, 300, 3, 3, 10));
        QSignalSpy range(&d, &RecordDownloader::rangeKnown);
        QSignalSpy finished(&d, &RecordDownloader::finished);
        d.start();
        port_->answer();
        QCOMPARE(range.at(0), (QVariantList{3, 6, 6}));
        port_->answer();
        port_->pull();
        QCOMPARE(port_->requests, (QList<quint16>{12000, 3, 4}));
        QVERIFY(resultOf(finished).end == DownloadEnd::LinkLost);
        QCOMPARE(resultOf(finished).missing, (QList<int>{4, 5, 6}));

        RecordDownloader stopped(port_.get(), {});
        QSignalSpy ended(&stopped, &RecordDownloader::finished);
        port_->openPort(1);
        stopped.start();
        port_->answer();
        stopped.stop();
        port_->answer(); // a late reply after the stop is not taken
        QCOMPARE(ended.size(), 1);
        QVERIFY(resultOf(ended).end == DownloadEnd::Stopped);
        QCOMPARE(resultOf(ended).missing, (QList<int>{1, 2, 3, 4, 5, 6}));
    }

    void compatiblePaceLeavesATenthOfASecondBetweenRecordRequests()
    {
        count_ = 3;
        autoAnswer_ = true;
        RecordDownloader d(port_.get(), settings(Pace::Compatible, 60000));
        QSignalSpy finished(&d, &RecordDownloader::finished);
        QElapsedTimer sinceStart;
        sinceStart.start();
        d.start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(port_->requests, (QList<quint16>{12000, 1, 2, 3}));
        // Answered at once, yet records 2 and 3 each wait their turn.
        QVERIFY2(sinceStart.elapsed() >= 190, qPrintable(QString::number(sinceStart.elapsed())));
    }

    void silentOrUnreadableCountEndsWithoutRecordsAndTheProbeRetries()
    {
        silent_ = {12000, 12000};
        autoAnswer_ = true;
        RecordDownloader d(port_.get(), settings(Pace::Fast, kTimeoutMs, 1));
        QSignalSpy finished(&d, &RecordDownloader::finished);
        d.start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QVERIFY(resultOf(finished).end == DownloadEnd::NoCount);

        HandshakeProbe probe(port_.get());
        probe.setTimeout(kTimeoutMs);
        QSignalSpy answered(&probe, &HandshakeProbe::finished);
        silent_ = {11000, 11000, 11000}; // the fourth attempt is answered
        probe.start();
        QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 1, 20000);
        QCOMPARE(answered.at(0).at(0).toBool(), true);
        QCOMPARE(port_->requests.count(11000), 4);
    }

private:
    // Long enough that a reply handed over from the event loop is never late.
    static constexpr int kTimeoutMs = 200;

    std::unique_ptr<FakeTransport> port_;
    QList<quint16> silent_;
    bool autoAnswer_ = false; // replies come from the event loop, not from the test
    int count_ = 0;
};

QTEST_GUILESS_MAIN(TestRecordDownloader)
#include "test_recorddownloader.moc"
