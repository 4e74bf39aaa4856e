// The simulated tester answers as the real one does, so the end-to-end tests
// check the program against the tester's protocol rather than against itself.
#include "simtester.h"

#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using bm::SimTester;

class TestSimTester : public QObject {
    Q_OBJECT

    // The program's end of the line, opened directly.
    struct Line {
        int fd;
        explicit Line(const SimTester& sim) : fd(::open(qPrintable(sim.devicePath()), O_RDWR | O_NOCTTY | O_NONBLOCK))
        {
        }
        ~Line() { ::close(fd); }
        // Sends the requests after `out` and returns what comes back once `want` bytes are in.
        QByteArray exchange(const QList<quint16>& codes, qsizetype want, QByteArray out = {}) const
        {
            for (quint16 c : codes)
                out += QByteArray("\x77") + char(c & 0xFF) + char(c >> 8);
            QByteArray got;
            char buf[512];
            const bool sent = ::write(fd, out.constData(), size_t(out.size())) == out.size();
            return sent
                           && QTest::qWaitFor(
                               [&] {
                                   got.append(buf, qMax<ssize_t>(::read(fd, buf, sizeof buf), 0));
                                   return got.size() >= want;
                               },
                               5000)
                       ? got
                       : got + " (incomplete)";
        }
    };

private slots:
    // Noise before a frame is skipped; a record not held gets no answer.
    void answersEachKindOfRequestAsTheTesterDoes()
    {
        SimTester sim;
        QVERIFY(sim.start());
        const bm::SimReading r{1000, 0x21, 0x14, 123, 456, 100};
        sim.setReading(r);
        sim.setRecords({r, bm::SimReading{}});
        const Line line(sim);
        const QByteArray want = QByteArray::fromHex("7755770200") + r.bytes() + r.bytes() + bm::SimReading{}.bytes();
        QCOMPARE(line.exchange({11000, 12000, 13000, 3, 1, 2}, want.size(), QByteArray::fromHex("0013ff")), want);
        sim.setTruncate(6);
        QCOMPARE(line.exchange({13000, 1}, 12), r.bytes().left(6) + r.bytes().left(6));
    }
};

QTEST_GUILESS_MAIN(TestSimTester)
#include "test_simtester.moc"
