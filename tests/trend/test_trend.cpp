// The live trend: the bounded store, its series and gaps, the chart it feeds and the exports.
#include "fakedialog.h"
#include "files.h"
#include "measurements.h"
#include "trend/trendstore.h"
#include "trend/trendwindow.h"

#include <QChart>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>

#include <ctime>

using namespace bm;

namespace {

constexpr qint64 kT0 = 1767225600000; // 2026-01-01T00:00:00Z

// Ohms with two decimals, Rc and Rp kilohms with two; volts with one.
Measurement resistance(quint16 main, quint16 rc = 123)
{
    return measured(Kind::Resistance, {main, 0x12}, {rc, 0x22}, {456, 0x22});
}
Measurement volts(quint16 main) { return measured(Kind::Voltage, {main, 0x51}); }

} // namespace

class TrendTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("TZ", "Asia/Shanghai"); // a zone with an offset and no summer time
        tzset();
    }

    void aModeChangeStartsASeriesAndOverloadsAreGaps()
    {
        TrendStore store;
        store.add(volts(55), kT0);
        store.add(volts(10000), kT0 + 1000); // overloaded
        store.add(volts(56), kT0 + 2000);
        store.add(Measurement{}, kT0 + 2500); // no kind: not taken
        store.add(resistance(1234), kT0 + 3000);
        store.add(resistance(1235, 10000), kT0 + 4000); // Rc overloaded
        QCOMPARE(store.size(), size_t(5));
        const std::vector<TrendRun> runs = store.runs();
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs[0].kind, Kind::Voltage);
        QCOMPARE(runs[1].kind, Kind::Resistance);
        QCOMPARE(runs[1].first, 3);
        QCOMPARE(store.lastRun().first, 3);

        const auto voltLines = trendLines(store, runs[0], TrendValue::Main, 800);
        QCOMPARE(voltLines.size(), 2);
        QCOMPARE(trendLines(store, runs[1], TrendValue::Rc, 800).size(), 1);
        QCOMPARE(voltLines[1].front(), QPointF(double(kT0 + 2000), 5.6));
        QCOMPARE(trendLines(store, runs[1], TrendValue::Rp, 800).front().back().y(), 4560.0);

        // The columns and numbers of the download CSV, the time in local time with its offset.
        QCOMPARE(trendCsv(store),
                 QByteArray("time,kind,voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm\n"
                            "2026-01-01T08:00:00.000+08:00,voltage,5.5,,,,,\n"
                            "2026-01-01T08:00:01.000+08:00,voltage,OL,,,,,\n"
                            "2026-01-01T08:00:02.000+08:00,voltage,5.6,,,,,\n"
                            "2026-01-01T08:00:03.000+08:00,resistance,,12.34,,,1230,4560\n"
                            "2026-01-01T08:00:04.000+08:00,resistance,,12.35,,,OL,4560\n"));
    }

    void aFullStoreDropsTheOldestAndDrawsAtMostTwoPointsAColumn()
    {
        TrendStore store;
        for (int i = 0; i < 86400 + 100; ++i)
            store.add(resistance(quint16(i % 5000)), kT0 + i * 1000LL);
        QCOMPARE(store.size(), 86400);
        QCOMPARE(store.capacity(), 86400);
        QCOMPARE(store.at(0).msecs, kT0 + 100 * 1000LL);
        QCOMPARE(store.at(86399).msecs, kT0 + 86499 * 1000LL);
        const auto lines = trendLines(store, store.lastRun(), TrendValue::Main, 500);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].size() <= 1000);
        QVERIFY(lines[0].size() >= 500);
        // The extremes survive the thinning.
        QCOMPARE(std::max_element(lines[0].begin(), lines[0].end(), [](auto a, auto b) { return a.y() < b.y(); })->y(),
                 49.99);

        // Thinned, a lone overload inside a column cannot be seen and cuts nothing;
        // overloads that empty whole columns still show as a gap.
        TrendStore sparse;
        for (int i = 0; i < 10000; ++i) {
            const bool lone = i % 997 == 0;
            const bool run = i >= 5000 && i < 5200;
            sparse.add(resistance(lone || run ? Quantity::kOverloadCount : 1000), kT0 + i * 1000LL);
        }
        QCOMPARE(trendLines(sparse, sparse.lastRun(), TrendValue::Main, 500).size(), size_t(2));
    }

    void windowShowsTheCurrentModeAndSavesThroughTheGivenPath()
    {
        QTemporaryDir dir;
        FakeDialog dialog;
        dialog.saveReplies = {{.typedName = dir.filePath(QStringLiteral("out"))},
                              {.typedName = dir.filePath(QStringLiteral("gone/out"))}};
        TrendWindow window(&dialog);
        window.show();
        window.addMeasurement(resistance(100), kT0);
        window.addMeasurement(resistance(10000), kT0 + 1000);
        window.addMeasurement(resistance(300), kT0 + 2000);
        QCoreApplication::processEvents();
        const auto axes = window.chart()->axes(Qt::Vertical);
        QCOMPARE(axes.size(), 2);
        QVERIFY(axes[1]->isVisible()); // Rc and Rp on their own axis
        QCOMPARE(axes[0]->titleText(), QStringLiteral("接地电阻 (Ω)"));
        const auto count = [&](bool pieces) {
            int n = 0;
            for (QAbstractSeries* s : window.chart()->series())
                n += pieces ? static_cast<QLineSeries*>(s)->count() > 0 : static_cast<QLineSeries*>(s)->count();
            return n;
        };
        QCOMPARE(count(true), 4); // main cut by the overload, Rc, Rp

        window.addMeasurement(volts(55), kT0 + 3000);
        QCoreApplication::processEvents();
        QCOMPARE(axes[0]->titleText(), QStringLiteral("接地电压 (V)"));
        QVERIFY(!axes[1]->isVisible());
        QCOMPARE(count(false), 1);

        // A pause takes nothing, and the line does not bridge it.
        auto* pause = window.findChild<QPushButton*>(QStringLiteral("trendPause"));
        pause->click();
        window.addMeasurement(volts(56), kT0 + 4000);
        pause->click();
        window.addMeasurement(volts(57), kT0 + 5000);
        QCOMPARE(window.store().size(), 5);
        QCOMPARE(trendLines(window.store(), window.store().lastRun(), TrendValue::Main, 800).size(), 2);

        window.exportCsv();
        QCOMPARE(dialog.saves.at(0).filter, QStringLiteral("csv格式 (*.csv)|*.csv|"));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("out.csv"))), trendCsv(window.store()));
        window.exportPng(); // into a folder that is not there: said with the file, as every save says it
        QCOMPARE(dialog.messages.size(), 1);
        QCOMPARE(dialog.messages.at(0).title, QStringLiteral("Saving Error!"));
        QVERIFY(dialog.messages.at(0).text.contains(QStringLiteral("gone")));
    }
};

QTEST_MAIN(TrendTest)
#include "test_trend.moc"
