// The live trend window holding a full day of readings (86,400): resident memory
// over an empty window and the time of one redraw; and what the download bar adds
// to each of 10,000 records arriving in the window. Printed, never asserted.
#include "memory.h"
#include "app/downloadprogress.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "records/recordtable.h"
#include "trend/trendwindow.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// An earth-resistance reading that wanders, overloaded now and then.
bm::Measurement reading(int i)
{
    bm::Measurement m;
    m.kind = bm::Kind::Resistance;
    m.mainValue = {quint16(i % 997 == 0 ? 10000 : 1200 + (i * 37) % 300), 0x12};
    m.rcValue = {quint16(100 + i % 50), 0x22};
    m.rpValue = {quint16(400 + i % 70), 0x22};
    m.main = QStringLiteral("12.34Ω");
    m.rc = QStringLiteral("1.23KΩ");
    m.rp = QStringLiteral("4.56KΩ");
    return m;
}

void trendFigures()
{
    bm::TrendWindow window({});
    window.resize(820, 480);
    window.show();
    settle();
    const double empty = residentMiB();
    const qint64 t0 = 1767225600000;
    for (int i = 0; i < 86400; ++i)
        window.addMeasurement(reading(i), t0 + i * 1000LL);
    settle();
    const double full = residentMiB();

    std::vector<double> redraws, lines;
    QElapsedTimer t;
    for (int round = 0; round < 21; ++round) {
        window.addMeasurement(reading(round), t0 + (86400 + round) * 1000LL);
        t.start();
        window.redraw();
        lines.push_back(double(t.nsecsElapsed()) / 1e6);
        window.view()->viewport()->repaint();
        redraws.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("%-58s %10.1f\n", "trend: resident memory, empty window (MiB)", empty);
    std::printf("%-58s %10.1f\n", "trend: growth with 86,400 readings (MiB, target < 20)", full - empty);
    std::printf("%-58s %10.2f\n", "trend: one redraw of 86,400 readings (ms, target < 16)", median(redraws));
    std::printf("%-58s %10.2f\n", "trend:   of which lines and axes from the store (ms)", median(lines));
}

// Per record, through the window's own handlers, with the records tab on show.
double downloadMicros(bm::MainWindow& window, bool withBar, const std::vector<bm::Measurement>& records)
{
    std::vector<double> runs;
    const int n = int(records.size());
    for (int round = 0; round < 11; ++round) {
        window.table().initgrid();
        settle();
        QElapsedTimer t;
        t.start();
        for (int k = 1; k <= n; ++k) {
            if (withBar)
                emit window.link().downloadProgress(k, n);
            emit window.link().recordReceived(k, records[size_t(k - 1)]);
        }
        runs.push_back(double(t.nsecsElapsed()) / n / 1000.0);
        emit window.link().downloadEnded(true);
        settle();
    }
    return median(runs);
}

void downloadFigures()
{
    bm::MainWindow window;
    window.setEndProgram([] {});
    window.show();
    window.findChild<QTabWidget*>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
    settle();
    std::vector<bm::Measurement> records;
    for (int k = 0; k < 10000; ++k)
        records.push_back(reading(k + 1));
    const double without = downloadMicros(window, false, records);
    const double with = downloadMicros(window, true, records);

    // One redraw of the bar, painted, as happens at most ten times a second.
    std::vector<double> paints;
    QProgressBar* bar = window.downloadProgress().bar();
    for (int round = 0; round < 21; ++round) {
        QElapsedTimer t;
        t.start();
        emit window.link().downloadProgress(1, 10000); // a new download draws at once
        bar->repaint();
        paints.push_back(double(t.nsecsElapsed()) / 1000.0);
        emit window.link().downloadEnded(true);
    }
    std::printf("%-58s %10.2f\n", "download: per record, 10,000 records, no bar (us)", without);
    std::printf("%-58s %10.2f\n", "download: per record, 10,000 records, with bar (us)", with);
    std::printf("%-58s %10.1f\n", "download: one painted bar redraw (us, at most 10 a second)", median(paints));
    std::printf("For scale: one record is requested every 100,000 us.\n");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("BRACKENMOOR_PORTS", "/nonexistent/brackenmoor-bench-port");
    QApplication app(argc, argv);
    trendFigures();
    downloadFigures();
    return 0;
}
