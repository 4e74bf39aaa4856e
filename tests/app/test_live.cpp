// The whole program against the simulated tester, with real timers: the tester
// is found, its readings reach the panel, and a change of mode re-lays it out.
#include "app/mainwindow.h"
#include "display/readingspanel.h"
#include "link/link.h"
#include "simtester.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using bm::MainWindow;
using bm::PanelItem;

class LiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    bm::SimTester sim;
    std::unique_ptr<MainWindow> window;

    QString text(const char* name) { return window->findChild<QLabel*>(QString::fromLatin1(name))->text(); }

private slots:
    void initTestCase()
    {
        const QString tester = dir.filePath(QStringLiteral("tester"));
        sim.setLinkPath(tester);
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        // COM1 and COM2 do not exist; the tester is COM3.
        qputenv("BRACKENMOOR_PORTS", ("::" + tester).toLocal8Bit());
        window = std::make_unique<MainWindow>();
        window->setEndProgram([] {});
        window->show();
    }
    void cleanupTestCase() { window.reset(); }

    void testerIsFoundAndItsReadingsReachThePanel()
    {
        const bm::SimReading r{1000, 0x21, 0x14}; // main, format, flags; Rc and Rp 1.23 and 4.56 KΩ
        sim.setReading(r);

        QTRY_COMPARE_WITH_TIMEOUT(text("Label2"), QStringLiteral("通信成功"), 5000);
        QCOMPARE(text("Label1"), QStringLiteral("COM3已打开"));
        QTRY_COMPARE_WITH_TIMEOUT(text("r"), QStringLiteral("100.0KΩ"), 3000);
        QCOMPARE(text("rc"), QStringLiteral("1.23KΩ"));
        QCOMPARE(text("rp"), QStringLiteral("4.56KΩ"));
        QVERIFY(window->findChild<QLabel*>("NOISE")->isVisibleTo(window.get()));
        QVERIFY(window->findChild<QLabel*>("LOWBAT")->isVisibleTo(window.get()));
        QVERIFY(!window->findChild<QLabel*>("HVOLT")->isVisibleTo(window.get()));
        QVERIFY(window->findChild<QToolButton*>("Command1")->isEnabled());
    }

    void resistivityReadingBringsItsLayoutWithinTwoSeconds()
    {
        bm::ReadingsPanel& panel = window->panel();
        QTRY_COMPARE_WITH_TIMEOUT(int(panel.revealState().shownmode), 2, 3000);

        const bm::SimReading rho{10000, 0x41, 0, 123, 456, 100}; // an overload, spacing 10.0 m
        sim.setReading(rho);
        QTRY_COMPARE_WITH_TIMEOUT(window->link().reading().testmode, 3, 2000);
        // The watcher ticks once a second: the new layout follows within two.
        QTRY_COMPARE_WITH_TIMEOUT(int(panel.revealState().shownmode), 3, 2000);
        QVERIFY(!panel.label(PanelItem::ValueR)->isVisibleTo(&panel));

        // Eight labels, one per 200 ms; then everything stands in its place.
        QTRY_VERIFY_WITH_TIMEOUT(!panel.movectrlTimer()->isActive() && !panel.moveTimer()->isActive(), 4000);
        QCOMPARE(panel.leftOf(PanelItem::ValueRp), 4560);
        QCOMPARE(panel.topOf(PanelItem::ValueRp), 4200);
        QVERIFY(panel.label(PanelItem::ValuePLength)->isVisibleTo(&panel));
        QCOMPARE(text("p"), QStringLiteral("OL KΩm"));
        QCOMPARE(text("p_length"), QStringLiteral("10.0m"));
    }
};

QTEST_MAIN(LiveTest)
#include "test_live.moc"
