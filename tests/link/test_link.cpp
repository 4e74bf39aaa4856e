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
        for (QTimer* t : {link_->findcomTimer(), link_->comunicationTimer(), link_->readdatTimer(),
                          link_->comtimoutTimer(), link_->recheckTimer()}) {
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
            link_->findcomTick();
        QCOMPARE(tried.size(), 16);
        const auto attempt = [&](int i) { return tried.at(i).at(0).value<PortAttempt>(); };
        QVERIFY(attempt(0).outcome == OpenOutcome::Failed && attempt(0).reason == u"refused"_s);
        QVERIFY(attempt(1).outcome == OpenOutcome::Busy && attempt(15).number == 16 && attempt(15).outcome == OpenOutcome::Missing);
        QVERIFY(port_->requests.isEmpty() && link_->comnum() == 1); // nothing is sent on a closed port; wrapped
    }

    void watchdogCountsSilentTicksOnly()
    {
        linkUp();
        QSignalSpy linked(link_.get(), &Link::linkChanged);
        for (int n = 0; n < 3; ++n)
            link_->comtimoutTick();
        link_->sendcmd(11000); // keep-alive: resets the count, says nothing
        port_->answer();
        for (int n = 0; n < 4; ++n)
            link_->comtimoutTick();
        QVERIFY(linked.isEmpty() && link_->comok());
        link_->comtimoutTick();
        QCOMPARE(linked, QList<QVariantList>{{false}});
        QVERIFY(!link_->comok() && link_->findcomTimer()->isActive());

        // Lost in mid-download: no more record requests into the port search.
        linkUp();
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        download();
        link_->readdatTick();
        for (int n = 0; n < 5; ++n)
            link_->comtimoutTick();
        QVERIFY(!link_->readdatTimer()->isActive() && !link_->comok());
        QCOMPARE(ended, QList<QVariantList>{{false}});
        linkUp();
        QVERIFY(link_->buttonsOn() && link_->comunicationTimer()->isActive());
    }

    void downloadRequestsEachRecordOnceAndReportsIt()
    {
        linkUp();
        link_->command1(); // live tab: nothing
        QCOMPARE(link_->cmdcode(), qint16(11000));
        QSignalSpy progress(link_.get(), &Link::downloadProgress);
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        download();
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(link_->readdatTimer()->isActive());
            link_->readdatTick();
            if (k < 3)
                link_->comunicationTick(); // a tab change may turn polling on; it must wait
            QVERIFY(link_->cmdcode() == k && port_->threshold() == 10);
            port_->answer();
        }
        QVERIFY(!link_->readdatTimer()->isActive() && link_->buttonsOn() && link_->comunicationTimer()->isActive());
        QVERIFY(link_->recordindex() == 0 && ended.isEmpty() && link_->recheckTimer()->isActive());
        link_->recheckTick(); // every record replied: nothing more is sent
        QCOMPARE(port_->requests, (QList<quint16>{11000, 12000, 1, 2, 3}));
        QCOMPARE(progress, (QList<QVariantList>{{1, 3}, {2, 3}, {3, 3}}));
        QVERIFY(ended.size() == 1 && link_->missingRecords() == 0 && table_.Rows() == 4);
        QCOMPARE(table_.TextMatrix(1, 2) + table_.TextMatrix(2, 1), u"12.34Ω5.5V"_s);
        QCOMPARE(table_.TextMatrix(3, 3) + table_.TextMatrix(3, 4) + table_.TextMatrix(3, 6), u"1234.5Ωm10.0m4.56KΩ"_s);
        QCOMPARE(table_.record(3)->mainValue.si(), 1234.5);

        count_ = 1; // one record: the first tick is the last
        download();
        link_->readdatTick();
        QVERIFY(!link_->readdatTimer()->isActive());
        count_ = 0;
        download();
        QVERIFY(!link_->readdatTimer()->isActive() && link_->buttonsOn());
        count_ = 40000; // unreadable: the count from before decides
        download();
        QCOMPARE(link_->recordcount(), qint16(0));
        count_ = 12000; // record numbers stop at 10000
        download();
        for (int k = 1; k <= 10000; ++k)
            link_->readdatTick();
        QVERIFY(link_->cmdcode() == 10000 && !link_->readdatTimer()->isActive());
    }

    void repairPassesAskAgainForExactlyTheRecordsThatDidNotReply()
    {
        linkUp();
        count_ = 6;
        QSignalSpy ended(link_.get(), &Link::downloadEnded);
        QSignalSpy repairs(link_.get(), &Link::repairProgress);
        download();
        const auto pass = [&](const QList<int>& lost) {
            port_->requests.clear();
            while (port_->requests.isEmpty() || link_->readdatTimer()->isActive()) {
                if (!link_->readdatTimer()->isActive())
                    link_->recheckTick();
                else
                    link_->readdatTick();
                if (!lost.contains(port_->requests.last()))
                    port_->answer();
            }
            return port_->requests;
        };
        QCOMPARE(pass({2, 4, 5}), (QList<quint16>{1, 2, 3, 4, 5, 6}));
        // A poll since the last request: its reply gets one interval before repairs begin.
        link_->comunicationTick();
        link_->recheckTick();
        QCOMPARE(port_->requests.last(), quint16(11000));
        QCOMPARE(pass({4, 5}), (QList<quint16>{2, 4, 5}));
        QVERIFY(!link_->buttonsOn() && !link_->comunicationTimer()->isActive() && repairs.last() == (QVariantList{3, 3}));
        QCOMPARE(pass({4}), (QList<quint16>{4, 5}));
        QVERIFY(ended.isEmpty());
        link_->recheckTick(); // two passes are all
        QVERIFY(link_->missingRecords() == 1 && ended == QList<QVariantList>{{true}});
        QVERIFY(link_->buttonsOn() && link_->comunicationTimer()->isActive() && table_.Rows() == 7);
        QCOMPARE(table_.TextMatrix(2, 0) + table_.TextMatrix(4, 0) + table_.TextMatrix(5, 0) + table_.TextMatrix(6, 0), u"256"_s);

        // The link lost in a repair pass ends the download there.
        download();
        pass({3});
        link_->recheckTick();
        QCOMPARE(port_->requests.last(), quint16(3));
        for (int n = 0; n < 5; ++n)
            link_->comtimoutTick();
        QVERIFY(!link_->readdatTimer()->isActive() && !link_->recheckTimer()->isActive() && ended.size() == 2
                && !ended.last().at(0).toBool());
    }

    void shortRepliesAndGarbageOnlyFeedTheWatchdog()
    {
        linkUp();
        QSignalSpy readings(link_.get(), &Link::readingChanged);
        QSignalSpy records(link_.get(), &Link::recordReceived);
        const QByteArray seven = QByteArray::fromHex("e80321147b00c8");
        for (qint16 code : {qint16(13000), qint16(3), qint16(11000)}) {
            link_->sendcmd(code);
            link_->comtimoutTick();
            port_->deliver(seven);
            if (code != 11000)
                link_->onComm(); // called directly: the threshold holds short replies back
            QVERIFY(link_->rcvdata() == seven && link_->timoutcount() == 0);
        }
        QVERIFY(readings.isEmpty() && records.isEmpty() && link_->reading().r == u"0.00 Ω"_s);
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
            link_->findcomTick();
        while (!port_->portOpen());
        port_->answer();
        link_->findcomTick();
        QVERIFY(link_->comok());
    }
    void download()
    {
        link_->selectTab(false);
        link_->command1();
        QVERIFY(!link_->comunicationTimer()->isActive() && !link_->buttonsOn());
        port_->answer();
    }

    RecordTable table_;
    std::unique_ptr<FakeTransport> port_;
    std::unique_ptr<Link> link_;
    int count_ = 3;
};

QTEST_GUILESS_MAIN(TestLink)
#include "test_link.moc"
