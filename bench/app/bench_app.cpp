// Whole-program figures: start-up to the first painted window, resident memory
// after start and with a full 10,000-record table, and CPU use while linked to
// a simulated tester and polling once a second. Prints a table; asserts nothing.
#include "memory.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "link/protocol.h"
#include "records/recordtable.h"
#include "simtester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for ms milliseconds.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class FirstPaint : public QObject {
public:
    qint64 at = -1;
    const QElapsedTimer* clock = nullptr;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && at < 0)
            at = clock->elapsed();
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    int idleSeconds = 30;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            idleSeconds = std::atoi(argv[i + 1]);
    }

    // The simulated tester runs in this process; its share of the CPU is tiny
    // next to the window's, and it is counted in the figure below.
    QTemporaryDir dir;
    const QString tester = dir.filePath(QStringLiteral("tester"));
    qputenv("BRACKENMOOR_PORTS", tester.toLocal8Bit());

    QApplication app(argc, argv);
    bm::SimTester sim;
    sim.setLinkPath(tester);
    if (!sim.start()) {
        std::fprintf(stderr, "simulated tester: %s\n", qPrintable(sim.errorString()));
        return 1;
    }

    FirstPaint paint;
    paint.clock = &sinceStart;
    bm::MainWindow window;
    window.setEndProgram([] {});
    window.installEventFilter(&paint);
    window.centralWidget()->installEventFilter(&paint);
    window.show();
    while (paint.at < 0 && sinceStart.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const qint64 firstPaintMs = paint.at;
    spin(500);
    const double rssStart = residentMiB();

    // Linked and polling on the live tab.
    QElapsedTimer linkClock;
    linkClock.start();
    while (!window.link().comok() && linkClock.elapsed() < 15000)
        spin(50);
    const bool linked = window.link().comok();
    spin(2000); // let the first reveal finish
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    spin(idleSeconds * 1000);
    const double idleCpuPercent = 100.0 * (cpuSeconds() - cpu0) / (double(wall.elapsed()) / 1000.0);

    // A full table, on show.
    window.findChild<QTabWidget*>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
    const QList<bm::SimReading> records = bm::SimTester::plausibleRecords(bm::protocol::kMaxRecord);
    for (int k = 1; k <= records.size(); ++k) {
        const auto m = bm::protocol::decodeMeasurement(records[k - 1].bytes());
        window.table().appendRecord(k, *m);
    }
    spin(500);
    const double rssTable = residentMiB();

    std::printf("%-52s %12s\n", "measure", "value");
    std::printf("%-52s %12lld\n", "start-up to first painted window (ms)", static_cast<long long>(firstPaintMs));
    std::printf("%-52s %12.1f\n", "resident memory after start (MiB)", rssStart);
    std::printf("%-52s %12.1f\n", "resident memory with 10,000 records (MiB)", rssTable);
    std::printf("%-52s %12s\n", "linked to the simulated tester", linked ? "yes" : "NO");
    char label[80];
    std::snprintf(label, sizeof label, "CPU while idle and linked, %d s (%% of one core)", idleSeconds);
    std::printf("%-52s %12.2f\n", label, idleCpuPercent);
    std::printf("%-52s %12d\n", "live requests answered in that time", sim.requestCount(bm::protocol::kReading));
    return 0;
}
