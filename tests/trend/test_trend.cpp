// The live trend: the bounded store, its series and gaps, the chart it feeds and the exports.
#include "trend/trendstore.h"
#include "trend/trendwindow.h"

#include <QChart>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>

using namespace bm;

namespace {

constexpr qint64 kT0 = 1767225600000; // 2026-01-01T00:00:00Z

Measurement resistance(quint16 main, quint16 rc = 123, quint16 rp = 456)
{
    Measurement m;
    m.kind = Kind::Resistance;
    m.mainValue = {main, 0x12}; // ohms, two decimals
    m.rcValue = {rc, 0x22};     // kilohms, two decimals
    m.rpValue = {rp, 0x22};
    return m;
}

Measurement volts(quint16 main)
{
    Measurement m;
    m.kind = Kind::Voltage;
    m.mainValue = {main, 0x51}; // volts, one decimal
    return m;
}

} // namespace

class TrendTest : public QObject {
    Q_OBJECT
private slots:
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
        QCOMPARE(runs.size(), size_t(2));
        QCOMPARE(runs[0].kind, Kind::Voltage);
        QCOMPARE(runs[1].kind, Kind::Resistance);
        QCOMPARE(runs[1].first, size_t(3));
        QCOMPARE(store.lastRun().first, runs[1].first);

        const auto voltLines = trendLines(store, runs[0], TrendValue::Main, 800);
        QCOMPARE(voltLines.size(), size_t(2));
        QCOMPARE(voltLines[1].front(), QPointF(double(kT0 + 2000), 5.6));
        QCOMPARE(trendLines(store, runs[1], TrendValue::Rc, 800).size(), size_t(1));
        QCOMPARE(trendLines(store, runs[1], TrendValue::Rp, 800).front().back().y(), 4560.0);

        QCOMPARE(trendCsv(store),
                 QByteArray("time,kind,voltage_v,resistance_ohm,resistivity_ohm_m,rc_ohm,rp_ohm\n"
                            "2026-01-01T00:00:00.000Z,voltage,5.5,,,,\n"
                            "2026-01-01T00:00:01.000Z,voltage,OL,,,,\n"
                            "2026-01-01T00:00:02.000Z,voltage,5.6,,,,\n"
                            "2026-01-01T00:00:03.000Z,resistance,,12.34,,1230,4560\n"
                            "2026-01-01T00:00:04.000Z,resistance,,12.35,,OL,4560\n"));
    }

    void pauseTakesNothingAndTheLineDoesNotBridgeIt()
    {
        TrendStore store;
        store.add(volts(1), kT0);
        store.setPaused(true);
        store.add(volts(2), kT0 + 1000);
        store.setPaused(false);
        store.add(volts(3), kT0 + 2000);
        QCOMPARE(store.size(), size_t(2));
        QCOMPARE(trendLines(store, store.lastRun(), TrendValue::Main, 800).size(), size_t(2));
    }

    void aFullStoreDropsTheOldestAndDrawsAtMostTwoPointsAColumn()
    {
        TrendStore store;
        QCOMPARE(store.capacity(), size_t(86400));
        for (int i = 0; i < 86400 + 100; ++i)
            store.add(resistance(quint16(i % 5000)), kT0 + i * 1000LL);
        QCOMPARE(store.size(), size_t(86400));
        QCOMPARE(store.capacity(), size_t(86400));
        QCOMPARE(store.at(0).msecs, kT0 + 100 * 1000LL);
        QCOMPARE(store.at(86399).msecs, kT0 + 86499 * 1000LL);
        const auto lines = trendLines(store, store.lastRun(), TrendValue::Main, 500);
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(lines[0].size() <= 1000 && lines[0].size() >= 500);
        // The extremes survive the thinning.
        double high = 0;
        for (const QPointF& p : lines[0])
            high = std::max(high, p.y());
        QCOMPARE(high, 49.99);

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
        QString asked;
        QString written;
        QByteArray bytes;
        QString failure;
        TrendWindow window({[&](const QString& filter, const QString&) {
                                asked = filter;
                                return QStringLiteral("/tmp/out");
                            },
                            [&](const QString& path, const QByteArray& b) {
                                written = path;
                                bytes = b;
                                return failure;
                            }});
        window.show();
        window.addMeasurement(resistance(100), kT0);
        window.addMeasurement(resistance(10000), kT0 + 1000);
        window.addMeasurement(resistance(300), kT0 + 2000);
        QCoreApplication::processEvents();
        const auto axes = window.chart()->axes(Qt::Vertical);
        QCOMPARE(axes.size(), 2);
        QVERIFY(axes[1]->isVisible()); // Rc and Rp on their own axis
        QCOMPARE(axes[0]->titleText(), QStringLiteral("接地电阻 (Ω)"));
        int pieces = 0;
        for (QAbstractSeries* s : window.chart()->series())
            pieces += static_cast<QLineSeries*>(s)->count() > 0;
        QCOMPARE(pieces, 4); // main cut by the overload, Rc, Rp

        window.addMeasurement(volts(55), kT0 + 3000);
        QCoreApplication::processEvents();
        QCOMPARE(axes[0]->titleText(), QStringLiteral("接地电压 (V)"));
        QVERIFY(!axes[1]->isVisible());
        int points = 0;
        for (QAbstractSeries* s : window.chart()->series())
            points += static_cast<QLineSeries*>(s)->count();
        QCOMPARE(points, 1);

        window.findChild<QPushButton*>(QStringLiteral("trendPause"))->click();
        window.addMeasurement(volts(56), kT0 + 4000);
        QCOMPARE(window.store().size(), size_t(4));

        window.exportCsv();
        QCOMPARE(asked, QStringLiteral("csv格式 (*.csv)"));
        QCOMPARE(bytes, trendCsv(window.store()));
        failure = QStringLiteral("No space left on device");
        window.exportPng();
        QVERIFY(bytes.startsWith("\x89PNG"));
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("trendSaveError"));
        QVERIFY(box);
        QVERIFY(box->text().contains(QStringLiteral("/tmp/out")) && box->text().contains(failure));
    }
};

QTEST_MAIN(TrendTest)
#include "test_trend.moc"
