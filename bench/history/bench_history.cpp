// What the site history costs on SQLite: storing a visit of 10,000 readings, and
// `history show` of a site with 50 points of 20 visits each, in the store and as
// the command a user runs. Printed, never asserted; medians, as the machine is shared.
#include "history/historystore.h"
#include "history/keyfigure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace bm::history;

namespace {

double medianMs(int rounds, const std::function<void()>& work)
{
    std::vector<double> runs;
    QElapsedTimer t;
    for (int round = 0; round < rounds; ++round) {
        t.start();
        work();
        runs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

Visit visitOf(int readings, int day)
{
    Visit v;
    v.timeUtc = QDateTime(QDate(2000, 1, 1).addDays(day), QTime(9, 0), Qt::UTC);
    for (int i = 1; i <= readings; ++i)
        v.readings.append({i,
                           QStringLiteral("resistance"),
                           i * 0.01,
                           1230.0,
                           4560.0,
                           {},
                           0,
                           QString::number(i * 0.01, 'f', 2) + QStringLiteral("Ω"),
                           QStringLiteral("1.23KΩ"),
                           QStringLiteral("4.56KΩ"),
                           {}});
    v.results = resultsFor(v.readings);
    return v;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
    StoreOpening opening = HistoryStore::open(*parseDatabaseTarget(path).target);
    if (!opening.store) {
        std::printf("cannot open: %s\n", qPrintable(opening.error));
        return 1;
    }
    HistoryStore& store = *opening.store;
    const Visit big = visitOf(10000, 0);
    const double add = medianMs(7, [&] {
        store.addVisit({QStringLiteral("Big"), QStringLiteral("E1"), {}, 5.0}, big);
    });
    std::printf("add a visit of 10,000 readings          %8.1f ms   (target < 1000 ms)\n", add);

    for (int p = 0; p < 50; ++p) {
        for (int v = 0; v < 20; ++v)
            store.addVisit({QStringLiteral("Wide"), QStringLiteral("E%1").arg(p), {}, 5.0}, visitOf(12, v * 365));
    }
    const double show = medianMs(11, [&] { store.visits(QStringLiteral("Wide")); });
    std::printf("show: 50 points x 20 visits, the store %8.1f ms   (target < 200 ms)\n", show);
    const QStringList args{QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("--database"), path,
                           QStringLiteral("--site"),  QStringLiteral("Wide")};
    const double command = medianMs(11, [&] {
        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        cli.start(QStringLiteral(BM_CLI_PATH), args);
        cli.waitForFinished();
    });
    std::printf("show: the same as brackenmoor-cli       %8.1f ms   (target < 200 ms, start-up included)\n", command);
    return 0;
}
