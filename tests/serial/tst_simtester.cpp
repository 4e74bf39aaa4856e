// The simulated tester itself: what it answers, its wire pacing and its dropped replies.
#include "simtester.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using bm::SimTester;

// The program's end of the line, opened directly so only the simulator sets
// the pace. Notes when the first and last byte came, in ns after send().
struct Line {
    int fd;
    QElapsedTimer sentAt;
    qint64 firstNs = -1, lastNs = -1;
    explicit Line(const SimTester& sim) : fd(::open(qPrintable(sim.devicePath()), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~Line() { if (fd >= 0) ::close(fd); }
    bool send(const QList<quint16>& codes, QByteArray out = {})
    {
        for (quint16 c : codes)
            out += QByteArray("\x77") + char(c & 0xFF) + char(c >> 8);
        sentAt.start();
        return ::write(fd, out.constData(), size_t(out.size())) == out.size();
    }
    // Whatever arrives until `want` bytes are in or waitMs after send().
    QByteArray receive(qsizetype want, int waitMs = 3000)
    {
        QByteArray got;
        char buf[512];
        while (got.size() < want && sentAt.elapsed() < waitMs) {
            QTest::qWait(1);
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                continue;
            lastNs = sentAt.nsecsElapsed();
            firstNs = got.isEmpty() ? lastNs : firstNs;
            got.append(buf, n);
        }
        return got;
    }
};

class TstSimTester : public QObject {
    Q_OBJECT
private slots:
    // Noise before a frame is skipped; a record not held gets no answer.
    void answersEachKindOfRequestAsTheTesterDoes()
    {
        SimTester sim;
        QVERIFY(sim.start());
        const bm::SimReading r{1000, 0x21, 0x14, 123, 456, 100};
        sim.setReading(r);
        sim.setRecords({r, bm::SimReading{}});
        Line line(sim);
        const QByteArray want = QByteArray::fromHex("7755770200") + r.bytes() + r.bytes() + bm::SimReading{}.bytes();
        QVERIFY(line.send({11000, 12000, 13000, 3, 1, 2}, QByteArray::fromHex("0013ff")));
        QCOMPARE(line.receive(want.size()), want);
        sim.setTruncate(6);
        QVERIFY(line.send({13000, 1}));
        QCOMPARE(line.receive(12), r.bytes().left(6) + r.bytes().left(6));
    }

    void wirePacedRepliesTakeTheRequestAndReplyWireTimeInOrder()
    {
        SimTester sim;
        QVERIFY(sim.start());
        sim.generateRecords(3);
        sim.setWirePacing(true);
        Line line(sim);
        // 3 request + 10 reply bytes at 1.0417 ms: the last cannot land before
        // 13.54 ms, nor the first before 4 byte times (spread, not one late burst).
        QVERIFY(line.send({2}));
        QCOMPARE(line.receive(10), sim.recordBytes(2));
        QVERIFY2(line.firstNs >= 4'100'000, qPrintable(QString::number(line.firstNs)));
        QVERIFY2(line.lastNs >= 13'500'000, qPrintable(QString::number(line.lastNs)));
        // A request during a reply waits its turn: 3 + 10 + 10 bytes.
        QVERIFY(line.send({1, 3}));
        QCOMPARE(line.receive(20), sim.recordBytes(1) + sim.recordBytes(3));
        QVERIFY2(line.lastNs >= 23'900'000, qPrintable(QString::number(line.lastNs)));
    }

    // The replies not dropped come whole, in order, and nothing else.
    void droppedRepliesFollowTheRateAndRepeatForTheSameSeed()
    {
        SimTester sim;
        QVERIFY(sim.start());
        sim.generateRecords(40);
        Line line(sim);
        QList<quint16> codes;
        for (quint16 n = 1; n <= 40; ++n)
            codes.append(n);
        QSignalSpy dropped(&sim, &SimTester::replyDropped);
        const auto lost = [&](double rate, quint32 seed) {
            sim.setDropRate(rate);
            sim.setDropSeed(seed);
            sim.clearRequests();
            dropped.clear();
            QList<quint16> out;
            QByteArray expected;
            if (!line.send(codes) || !QTest::qWaitFor([&] { return sim.requestCount() == 40; }))
                return QList<quint16>{0};
            for (const QList<QVariant>& d : std::as_const(dropped))
                out.append(d.at(0).value<quint16>());
            for (quint16 n : codes)
                expected += out.contains(n) ? QByteArray() : sim.recordBytes(n);
            return line.receive(expected.size() + 1, 300) == expected ? out : QList<quint16>{0};
        };
        QCOMPARE(lost(0.0, 1), QList<quint16>());
        QCOMPARE(lost(1.0, 1), codes);
        const QList<quint16> half = lost(0.5, 42);
        QVERIFY2(half.size() > 8 && half.size() < 32, qPrintable(QString::number(half.size())));
        QCOMPARE(lost(0.5, 42), half);
        QVERIFY(lost(0.5, 7) != half);
    }
};

QTEST_GUILESS_MAIN(TstSimTester)
#include "tst_simtester.moc"
