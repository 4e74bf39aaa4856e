// The link's handlers called one by one against a port in memory. Timers get
// intervals that never elapse, so the only ticks are the ones a test calls.
#include "faketransport.h"
#include "link/link.h"
#include "records/recordtable.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace bm;

namespace {

// A record as the tester sends it: main count, format, flags, Rc, Rp, spacing.
QByteArray measurement(quint16 main, quint8 format, quint8 flags, quint16 rc, quint16 rp, quint16 spacing)
{
    QByteArray b;
    for (quint16 v : {main, quint16(format | flags << 8), rc, rp, spacing})
        b.append(char(v & 0xFF)).append(char(v >> 8));
    return b;
}

} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        port_ = std::make_unique<FakeTransport>();
        port_->ports = {{3, OpenOutcome::Opened}};
        port_->tester = [this](quint16 code) { return reply(code); };
        link_ = std::make_unique<Link>(port_.get());
        connect(link_.get(), &Link::recordReceived, &table_, &RecordTable::appendRecord);
        connect(link_.get(), &Link::recordRepaired, &table_, &RecordTable::fillRecord);
        for (QTimer* t : {link_->searchTimer(), link_->pollTimer(), link_->recordTimer(), link_->watchdogTimer()}) {
            t->stop();
            t->setInterval(3600 * 1000);
        }
        table_.initgrid();
        count_ = 3;
    }

    void scanReportsEachOpenAndWraps()
    {
        port_->ports = {{1, OpenOutcome::Failed}, {2, OpenOutcome::Busy}};
        QSignalSpy tried(link_.get(), &Link::portTried);
        for (int n = 1; n <= 16; ++n)
            link_->searchTick();
        QCOMPARE(tried.size(), 16);
        const auto attempt = [&](int i) { return tried.at(i).at(0).value<PortAttempt>(); };
        QCOMPARE(attempt(0).outcome, OpenOutcome::Failed);
        QCOMPARE(attempt(0).reason, u"refused"_s);
        QCOMPARE(attempt(1).outcome, OpenOutcome::Busy);
        QCOMPARE(attempt(15).number, 16);
        QCOMPARE(attempt(15).outcome, OpenOutcome::Missing);
        QVERIFY(port_->requests.isEmpty());
        QCOMPARE(link_->comnum(), 1); // nothing is sent on a closed port; wrapped
    }

    void watchdogCountsSilentTicksOnly()
    {
        linkUp();
        QSignalSpy linked(link_.get(), &Link::linkChanged);
        for (int n = 0; n < 3; ++n)
            link_->watchdogTick();
        link_->sendcmd(11000); // keep-alive: resets the count, says nothing
        port_->answer();
        for (int n = 0; n < 4; ++n)
            link_->watchdogTick();
        QVERIFY(linked.isEmpty());
        QCOMPARE(link_->state(), LinkState::Linked);
        link_->watchdogTick();
        QCOMPARE(linked, QList<QVariantList>{{false}});
        QCOMPARE(link_->state(), LinkState::Searching);
        QVERIFY(link_->searchTimer()->isActive());

        // Lost in mid-download: no more record requests into the port search.
        linkUp();
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        download();
        link_->recordTick();
        for (int n = 0; n < 5; ++n)
            link_->watchdogTick();
        QCOMPARE(link_->state(), LinkState::Searching);
        QVERIFY(!link_->recordTimer()->isActive());
        QVERIFY(!link_->download().ownsLine());
        QCOMPARE(ended, QList<QVariantList>{{false}});
        linkUp();
        QVERIFY(link_->buttonsOn());
        QVERIFY(link_->pollTimer()->isActive());
    }

    void promptRepliesKeepTheRecordTicksAndTheTable()
    {
        linkUp();
        link_->readRecords(); // live tab: nothing
        QCOMPARE(link_->cmdcode(), qint16(11000));
        QSignalSpy progress(link_.get(), &Link::downloadProgress);
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        download();
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(link_->recordTimer()->isActive());
            link_->recordTick();
            if (k < 3)
                link_->pollTick(); // a tab change may turn polling on; it must wait
            QCOMPARE(link_->cmdcode(), qint16(k));
            QCOMPARE(port_->threshold(), qint16(10));
            port_->answer();
        }
        // The controls came back with the last request; the end waits one more tick.
        QVERIFY(link_->buttonsOn());
        QVERIFY(link_->pollTimer()->isActive());
        QCOMPARE(link_->state(), LinkState::Downloading);
        link_->recordTick();
        QCOMPARE(link_->state(), LinkState::Linked);
        QCOMPARE(port_->requests, (QList<quint16>{11000, 12000, 1, 2, 3}));
        QCOMPARE(progress, (QList<QVariantList>{{1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(ended, QList<QVariantList>{{true}});
        QCOMPARE(link_->missingRecords(), 0);
        QCOMPARE(table_.Rows(), 4);
        QCOMPARE(table_.TextMatrix(1, 2) + table_.TextMatrix(2, 1), u"12.34Ω5.5V"_s);
        QCOMPARE(table_.TextMatrix(3, 3) + table_.TextMatrix(3, 4) + table_.TextMatrix(3, 6), u"1234.5Ωm10.0m4.56KΩ"_s);

        count_ = 0;
        download();
        QVERIFY(!link_->recordTimer()->isActive());
        QVERIFY(link_->buttonsOn());
        QCOMPARE(link_->state(), LinkState::Linked);
        count_ = 40000; // unreadable: the count from before decides
        download();
        QCOMPARE(link_->recordcount(), qint16(0));
        count_ = 12000; // record numbers stop at 10000
        download();
        while (link_->recordTimer()->isActive()) {
            link_->recordTick();
            port_->answer();
        }
        QCOMPARE(port_->requests.last(), quint16(10000));
        QCOMPARE(link_->state(), LinkState::Linked);
    }

    void aPollsReplyIsNeverTakenForTheCount()
    {
        linkUp();
        link_->selectTab(false);
        link_->pollTick();    // a keep-alive goes out,
        link_->readRecords(); // and 读取 before its reply: the count must wait
        QCOMPARE(port_->requests.last(), quint16(11000));
        port_->answer(); // the keep-alive's three bytes, not a count
        QCOMPARE(port_->requests.last(), quint16(11000));
        link_->download().request().settleTimeout(); // quiet at last
        QCOMPARE(port_->requests.last(), quint16(12000));
        port_->answer();
        run([] {});
        QCOMPARE(link_->missingRecords(), 0);
        QCOMPARE(table_.Rows(), 4);
    }

    void aLateReplyIsTakenOnlyForItsOwnRecord()
    {
        linkUp();
        QSignalSpy progress(link_.get(), &Link::downloadProgress);
        download();
        link_->recordTick();
        link_->recordTick(); // record 1 is still unanswered: nothing goes out
        QCOMPARE(port_->requests.last(), quint16(1));
        port_->answer(); // late, within its timeout
        link_->recordTick();
        QCOMPARE(port_->requests.last(), quint16(2));
        link_->download().request().replyTimeout();
        port_->answer(); // after its timeout: thrown away, the line settles on
        link_->recordTick();
        QCOMPARE(port_->requests.last(), quint16(2));
        link_->download().request().settleTimeout();
        QCOMPARE(port_->requests.last(), quint16(3)); // its tick had come
        port_->answer();
        QCOMPARE(table_.TextMatrix(1, 2), u"12.34Ω"_s);
        QCOMPARE(table_.TextMatrix(2, 0) + table_.TextMatrix(2, 1), QString());
        QCOMPARE(table_.TextMatrix(3, 3), u"1234.5Ωm"_s);
        link_->recordTick(); // the repair pass asks for record 2 at once
        QCOMPARE(link_->state(), LinkState::Repairing);
        QCOMPARE(port_->requests.last(), quint16(2));
        port_->answer();
        link_->recordTick();
        QCOMPARE(table_.TextMatrix(2, 1), u"5.5V"_s);
        QCOMPARE(link_->state(), LinkState::Linked);
        QCOMPARE(progress.size(), 3); // repairs are reported apart
    }

    void repairPassesAskAgainForExactlyTheRecordsThatDidNotReply()
    {
        linkUp();
        count_ = 6;
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        QSignalSpy repairs(link_.get(), &Link::repairProgress);
        download();
        lose_ = {{2, 1}, {4, 3}, {5, 2}}; // record 4 never answers
        run([&] {
            if (link_->state() == LinkState::Repairing) {
                QVERIFY(!link_->buttonsOn());
                link_->pollTick(); // polling waits for the repairs too
            }
        });
        QCOMPARE(port_->requests, (QList<quint16>{1, 2, 3, 4, 5, 6, 2, 4, 5, 4, 5}));
        QCOMPARE(repairs.last(), (QVariantList{2, 2}));
        QCOMPARE(link_->missingRecords(), 1);
        QCOMPARE(ended, QList<QVariantList>{{true}});
        QVERIFY(link_->buttonsOn());
        QVERIFY(link_->pollTimer()->isActive());
        QCOMPARE(table_.Rows(), 7);
        QCOMPARE(table_.TextMatrix(2, 0) + table_.TextMatrix(4, 0) + table_.TextMatrix(5, 0) + table_.TextMatrix(6, 0),
                 u"256"_s);

        // The link lost in a repair pass ends the download there.
        download();
        lose_ = {{3, 1}};
        run([&] {
            if (link_->state() == LinkState::Repairing && port_->requests.last() == 3)
                for (int n = 0; n < 5; ++n)
                    link_->watchdogTick();
        });
        QCOMPARE(link_->state(), LinkState::Searching);
        QVERIFY(!link_->recordTimer()->isActive());
        QCOMPARE(ended.size(), 2);
        QCOMPARE(ended.last().at(0).toBool(), false);
    }

    void shortRepliesAndGarbageOnlyFeedTheWatchdog()
    {
        linkUp();
        QSignalSpy readings(link_.get(), &Link::readingChanged);
        QSignalSpy records(link_.get(), &Link::recordReceived);
        const QByteArray seven = QByteArray::fromHex("e80321147b00c8");
        for (qint16 code : {qint16(13000), qint16(3), qint16(11000)}) {
            link_->sendcmd(code);
            link_->watchdogTick();
            port_->deliver(seven);
            if (code != 11000)
                link_->onReceived(); // called directly: the threshold holds short replies back
            QCOMPARE(link_->rcvdata(), seven);
            QCOMPARE(link_->timoutcount(), 0);
        }
        QVERIFY(readings.isEmpty());
        QVERIFY(records.isEmpty());
        QCOMPARE(link_->reading().r, u"0.00 Ω"_s);
    }

private:
    QByteArray reply(quint16 code) const
    {
        switch (code) {
        case 11000: return QByteArray::fromHex("775577");
        case 12000: return QByteArray(1, char(count_ & 0xFF)).append(char(count_ >> 8));
        case 13000: return measurement(1000, 0x22, 0, 123, 456, 0);
        case 1: return measurement(1234, 0x12, 0, 123, 456, 0);
        case 2: return measurement(55, 0x51, 0x1C, 0, 0, 0);
        default: return measurement(12345, 0x31, 0, 123, 456, 100);
        }
    }
    void linkUp()
    {
        do
            link_->searchTick();
        while (!port_->portOpen());
        port_->answer();
        link_->searchTick();
        QVERIFY(link_->comok());
    }
    // Drives the download to its end: each request is answered, except the
    // first attempts of the records in lose_, which time out; `each` runs
    // after every step.
    template <typename Step>
    void run(Step each)
    {
        port_->requests.clear();
        while (link_->state() == LinkState::Downloading || link_->state() == LinkState::Repairing) {
            auto& request = link_->download().request();
            if (request.ownsLine() && lose_.value(request.code()) > 0) {
                --lose_[request.code()];
                request.replyTimeout();
                request.settleTimeout();
            } else if (request.ownsLine()) {
                port_->answer();
            } else {
                link_->recordTick();
            }
            each();
        }
    }
    void download()
    {
        link_->selectTab(false);
        link_->readRecords();
        QVERIFY(!link_->pollTimer()->isActive());
        QVERIFY(!link_->buttonsOn());
        port_->answer();
    }

    RecordTable table_;
    std::unique_ptr<FakeTransport> port_;
    std::unique_ptr<Link> link_;
    int count_ = 3;
    QMap<int, int> lose_; // record number: first attempts that get no reply
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
