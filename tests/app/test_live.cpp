// The whole program against the simulated tester, with real timers: the tester
// is found past missing ports, its readings reach the panel, and a change of mode
// re-lays the panel out.
#include "app/mainwindow.h"
#include "display/readingspanel.h"
#include "link/link.h"
#include "simtester.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using bm::PanelItem;

class LiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    bm::SimTester sim;
    std::unique_ptr<bm::MainWindow> window;

    QLabel* label(const char* name) { return window->findChild<QLabel*>(QString::fromLatin1(name)); }
    QString text(const char* name) { return label(name)->text(); }

private slots:
    void initTestCase()
    {
        sim.setLinkPath(dir.filePath(QStringLiteral("tester")));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        qputenv("BRACKENMOOR_PORTS", ("::" + sim.linkPath()).toLocal8Bit()); // COM1 and COM2 do not exist
        window = std::make_unique<bm::MainWindow>();
        window->setEndProgram([] {});
        window->show();
    }
    void cleanupTestCase() { window.reset(); }

    void testerIsFoundAndItsReadingsReachThePanel()
    {
        sim.setReading({1000, 0x21, 0x14}); // main, format, flags; Rc and Rp 1.23 and 4.56 KΩ
        QTRY_COMPARE_WITH_TIMEOUT(text("Label2"), QStringLiteral("通信成功"), 10000);
        QCOMPARE(text("Label1"), QStringLiteral("COM3已打开"));
        QTRY_COMPARE_WITH_TIMEOUT(text("r"), QStringLiteral("100.0KΩ"), 10000);
        QCOMPARE(text("rc") + text("rp"), QStringLiteral("1.23KΩ4.56KΩ"));
        QVERIFY(label("NOISE")->isVisibleTo(window.get()));
        QVERIFY(label("LOWBAT")->isVisibleTo(window.get()));
        QVERIFY(!label("HVOLT")->isVisibleTo(window.get()));
        QVERIFY(window->findChild<QToolButton*>("Command1")->isEnabled());
    }

    // The watcher ticks once a second, then eight labels fly in, one per 200 ms.
    void resistivityReadingBringsItsLayout()
    {
        bm::ReadingsPanel& panel = window->panel();
        QTRY_COMPARE_WITH_TIMEOUT(int(panel.revealState().shownmode), 2, 10000);
        sim.setReading({10000, 0x41, 0, 123, 456, 100}); // an overload, spacing 10.0 m
        QTRY_COMPARE_WITH_TIMEOUT(int(panel.revealState().shownmode), 3, 10000);
        QVERIFY(!panel.label(PanelItem::ValueR)->isVisibleTo(&panel));
        QTRY_VERIFY_WITH_TIMEOUT(!panel.revealTimer()->isActive(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.flightTimer()->isActive(), 10000);
        QVERIFY(panel.label(PanelItem::ValuePLength)->isVisibleTo(&panel)); // where it lands: test_reveal
        QCOMPARE(text("p") + text("p_length"), QStringLiteral("OL KΩm10.0m"));
    }
};

QTEST_MAIN(LiveTest)
#include "test_live.moc"
