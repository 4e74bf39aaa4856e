// Time to save a full 10,000-record table as text and as .xls, and to print it to PDF.
// Prints a table; asserts nothing. `--keep DIR` leaves the files in DIR for a look.
#include "records/ansitext.h"
#include "output/lineprinter.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/savetargets.h"
#include "records/xlswriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRecords = 10000;
constexpr int kRounds = 5;

void fill(bm::RecordTable& table)
{
    table.setRows(kRecords + 1);
    for (int k = 1; k <= kRecords; ++k) {
        table.setTextMatrix(k, 0, QString::number(k));
        switch (k % 3) {
        case 0: table.setTextMatrix(k, 1, QStringLiteral("%1.%2 V").arg(k % 250).arg(k % 10)); break;
        case 1:
            table.setTextMatrix(k, 2, QStringLiteral("%1.%2 KΩ").arg(k % 20).arg(k % 100, 2, 10, QLatin1Char('0')));
            table.setTextMatrix(k, 5, QStringLiteral("%1.%2 KΩ").arg(k % 9).arg(k % 100, 2, 10, QLatin1Char('0')));
            table.setTextMatrix(k, 6, QStringLiteral("%1.%2 KΩ").arg(k % 7).arg(k % 100, 2, 10, QLatin1Char('0')));
            break;
        default:
            table.setTextMatrix(k, 3, QStringLiteral("%1 Ωm").arg(k % 900));
            table.setTextMatrix(k, 4, QStringLiteral("%1.0 m").arg(k % 30));
            table.setTextMatrix(k, 5, QStringLiteral("%1.10 KΩ").arg(k % 9));
            table.setTextMatrix(k, 6, QStringLiteral("%1.20 KΩ").arg(k % 7));
        }
    }
}

// Best of a few rounds, in milliseconds.
double bestMs(const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir tmp;
    QString dir = tmp.path();
    const QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--keep")); at >= 0 && at + 1 < args.size()) {
        dir = args.at(at + 1);
        QDir().mkpath(dir);
    }

    bm::RecordTable table;
    fill(table);
    const bm::CellGrid grid = bm::gridOf(table);
    const QString txt = dir + QStringLiteral("/table.txt");
    const QString xls = dir + QStringLiteral("/table.xls");
    const QString pdf = dir + QStringLiteral("/table.pdf");

    const double txtMs =
        bestMs([&] { bm::writeFileReplacing(txt, bm::textFileBytes(bm::tableLines(grid, kRecords))); });
    const double xlsMs = bestMs([&] { bm::writeFileReplacing(xls, bm::xls::workbook(grid)); });
    int pages = 0;
    const double pdfMs = bestMs([&] {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        bm::printLines(writer, bm::tableLines(grid, kRecords));
        pages = 0;
    });
    // Count the pages of the last PDF by its page objects.
    {
        QFile f(pdf);
        if (f.open(QIODevice::ReadOnly))
            pages = static_cast<int>(f.readAll().count("/Type /Page\n"));
    }

    std::printf("%-36s %10s %12s\n", "10,000-record table", "best ms", "file size");
    std::printf("%-36s %10.1f %12lld\n", "save as text (GBK, CR LF)", txtMs, QFileInfo(txt).size());
    std::printf("%-36s %10.1f %12lld\n", "save as .xls (BIFF8)", xlsMs, QFileInfo(xls).size());
    std::printf("%-36s %10.1f %12lld\n", "print to PDF", pdfMs, QFileInfo(pdf).size());
    std::printf("(best of %d rounds; PDF pages: %d)\n", kRounds, pages);
    return 0;
}
