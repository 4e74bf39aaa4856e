// What the soil window costs over a full table of 10,000 records, of which a few
// hundred are Wenner readings: opening it, the refit after a download, and the
// exports. Printed, never asserted; every figure is the median over rounds.
#include "model/format.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "soil/ui/soilexport.h"
#include "soil/ui/soilsession.h"
#include "soil/ui/soilwindow.h"
#include "soil/wenner.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace bm;

constexpr int kRounds = 11;
constexpr double kSpacings[] = {0.5, 1, 2, 4, 8, 16, 32, 64};
constexpr int kRhoEvery = 30; // one record in thirty is a Wenner reading: 333 of 10,000

Measurement record(int k)
{
    Measurement m;
    if (k % kRhoEvery == 0) {
        const double a = kSpacings[(k / kRhoEvery) % 8];
        const double rho = soil::wennerApparent(a, 300.0, 60.0, 3.0) * (1.0 + 0.03 * std::sin(k));
        m.kind = Kind::Resistivity;
        m.mainValue = {quint16(std::lround(rho * 10.0)), 0x31};
        m.spacingValue = {quint16(std::lround(a * 100.0)), 0x72};
        m.spacing = fmtvalue(quint8(m.spacingValue.count >> 8), quint8(m.spacingValue.count), m.spacingValue.format);
    } else {
        m.kind = Kind::Resistance;
        m.mainValue = {quint16(100 + k % 5000), 0x12};
    }
    m.main = fmtvalue(quint8(m.mainValue.count >> 8), quint8(m.mainValue.count), m.mainValue.format);
    return m;
}

void fill(RecordTable& table)
{
    for (int k = 1; k < kMaxRecord + 1 && k < RecordTable::kMaxRows; ++k)
        table.appendRecord(k, record(k));
}

double medianMs(const std::function<void()>& run)
{
    std::vector<double> ms;
    QElapsedTimer t;
    for (int round = 0; round <= kRounds; ++round) {
        t.start();
        run();
        if (round > 0) // round 0 warms caches and fonts
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RecordTable table;
    fill(table);

    const double open = medianMs([&] {
        soil::SoilWindow window(table);
        window.show();
        QCoreApplication::processEvents(); // laid out and painted
    });

    soil::SoilWindow window(table);
    window.show();
    QCoreApplication::processEvents();
    const int points = int(window.session().points().size());
    const double refresh = medianMs([&] { window.session().refresh(); });
    // The table's signals per record with the window open; the refit follows once per settle.
    const double download = medianMs([&] {
        table.initgrid();
        fill(table);
    });
    window.session().refresh();

    const soil::ReportContent content{
        {QStringLiteral("Site"), QStringLiteral("Operator"), QDate::currentDate(), {}, {}},
        window.session().points(),
        window.session().analysis(),
        tableLines(gridOf(table), table.Rows() - 1)};
    QByteArray pdf;
    const double report = medianMs([&] {
        QString error;
        pdf = soil::soilReportPdf(content, &error);
    });
    QByteArray csv;
    const double csvMs = medianMs([&] { csv = soil::soilCsv(content.points, content.analysis); });

    std::printf("Soil window over %d records (%d Wenner readings), median of %d rounds\n\n", table.Rows() - 1, points,
                kRounds);
    std::printf("| %-58s | %11s |\n", "measurement", "cost");
    std::printf("|------------------------------------------------------------|-------------|\n");
    std::printf("| %-58s | %8.2f ms |\n", "open the window: build, read the table, fit, show, paint", open);
    std::printf("| %-58s | %8.2f ms |\n", "read the table and refit (open window)", refresh);
    std::printf("| %-58s | %8.2f ms |\n", "fill the table with 10,000 records, window open", download);
    std::printf("| %-58s | %8.2f ms |\n", "PDF report, all records", report);
    std::printf("| %-58s | %8.2f ms |\n", "CSV export", csvMs);
    std::printf("\nDuring a download the window refits at most once per %d ms, whatever the record rate.\n",
                soil::SoilSession::kSettleMs);
    std::printf("Report: %lld bytes; CSV: %lld bytes. For scale: the aim is opening in under 100 ms.\n",
                qint64(pdf.size()), qint64(csv.size()));
    return 0;
}
