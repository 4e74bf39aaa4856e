#include "display/readingspanel.h"

#include <QLabel>
#include <QtTest>

#include <memory>

using namespace bm;

class ReadingsPanelTest : public QObject {
    Q_OBJECT

    Reading reading;
    std::unique_ptr<ReadingsPanel> panel;

    QLabel* named(const char* name) { return panel->findChild<QLabel*>(QString::fromLatin1(name)); }
    void runReveal()
    {
        panel->vrprecordTick();
        while (panel->movectrlTimer()->isActive()) {
            panel->movectrltimerTick();
            while (panel->moveTimer()->isActive())
                panel->movetimerTick();
        }
    }

private slots:
    void initTestCase() { qputenv("BRACKENMOOR_PORTS", "/nonexistent/brackenmoor-test-port"); }
    void init()
    {
        reading = Reading();
        panel = std::make_unique<ReadingsPanel>(reading);
    }

    void everyLabelIsNamedDescribedAndItsTextFits()
    {
        reading.r = QStringLiteral("100.0KΩ");
        reading.p = QStringLiteral("OL KΩm");
        reading.v = QStringLiteral("65535V");
        reading.rc = QStringLiteral("655.35KΩ");
        reading.p_length = QStringLiteral("6553.5m");
        panel->showReading(reading);
        for (const char* name : {"Label3_0", "Label3_1", "Label3_2", "Label3_3", "Label3_4", "Label3_5",
                                 "v", "r", "p", "p_length", "rc", "rp"}) {
            QLabel* label = named(name);
            QVERIFY2(label && label->isHidden(), name); // nothing shows before the first reveal
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(), name);
        }
        for (const char* name : {"v", "r", "p", "p_length", "rc", "rp", "NOISE", "HVOLT", "LOWBAT"}) {
            QVERIFY2(!named(name)->accessibleDescription().isEmpty(), name);
            QVERIFY2(named(name)->accessibleName().isEmpty(), name); // the text itself is announced
        }
        QVERIFY(named("HVOLT")->isHidden() && named("LOWBAT")->isHidden());
        QVERIFY(panel->vrprecordTimer()->isActive());
        QVERIFY(!panel->movectrlTimer()->isActive() && !panel->moveTimer()->isActive());
    }

    void newModeIsLaidOutOnTheWatcherTickOnThePixelsOfItsTwips()
    {
        runReveal();
        reading.testmode = 3;
        reading.p = QStringLiteral("OL KΩm");
        reading.noise = true;
        panel->showReading(reading);
        QCOMPARE(named("p")->text(), QStringLiteral("OL KΩm"));
        QVERIFY(!named("NOISE")->isHidden() && named("HVOLT")->isHidden());
        QVERIFY(named("p")->isHidden() && !named("r")->isHidden());
        runReveal();
        QCOMPARE(named("Label3_3")->pos(), QPoint(112, 176));
        QCOMPARE(named("rp")->pos(), QPoint(304, 280));

        reading.testmode = 2;
        panel->vrprecordTick();
        panel->movectrltimerTick();
        panel->movetimerTick();
        QCOMPARE(QPoint(panel->leftOf(Label3_1), panel->topOf(Label3_1)), QPoint(216, 180));
        QCOMPARE(named("Label3_1")->pos(), QPoint(14, 12)); // nearest pixel of 14.4, 12
        // The tester changes mode mid-flight: the label in flight goes and stays gone.
        reading.testmode = 1;
        panel->vrprecordTick();
        panel->movetimerTick();
        QVERIFY(named("Label3_1")->isHidden());
    }
};

QTEST_MAIN(ReadingsPanelTest)
#include "test_readingspanel.moc"
