#include "display/readingspanel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

#include <memory>

using namespace bm;

class ReadingsPanelTest : public QObject {
    Q_OBJECT

    Reading reading;
    std::unique_ptr<ReadingsPanel> panel;

    QLabel* named(const char* name) { return panel->findChild<QLabel*>(QString::fromLatin1(name)); }
    QTimer* timer(const char* name) { return panel->findChild<QTimer*>(QString::fromLatin1(name)); }

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
    void cleanup() { panel.reset(); }

    void labelsCarryTheirNamesSizesColoursAndStartCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("background"); // invalid: the window's own
        QTest::addColumn<bool>("blackText");
        const QColor none;
        QTest::newRow("Label3_0") << "Label3_0" << "EARTH VOLTAGE:" << QSize(224, 29) << none << false;
        QTest::newRow("Label3_2") << "Label3_2" << "ρ EARTH:" << QSize(142, 29) << none << false;
        QTest::newRow("Label3_3") << "Label3_3" << "ρ LENGTH:" << QSize(158, 29) << none << false;
        QTest::newRow("Label3_5") << "Label3_5" << "Rp:" << QSize(48, 29) << none << false;
        QTest::newRow("v") << "v" << "0.0 V" << QSize(140, 33) << QColor(255, 0, 0) << true;
        QTest::newRow("r") << "r" << "0.00 Ω" << QSize(140, 33) << QColor(0, 192, 192) << true;
        QTest::newRow("p") << "p" << "0.00 Ωm" << QSize(140, 33) << QColor(0, 192, 192) << true;
        QTest::newRow("p_length") << "p_length" << "0.00 m" << QSize(140, 33) << QColor(255, 128, 128) << true;
        QTest::newRow("rc") << "rc" << "0.00 KΩ" << QSize(140, 33) << QColor(192, 192, 255) << false;
        QTest::newRow("rp") << "rp" << "0.00 KΩ" << QSize(140, 33) << QColor(192, 192, 255) << false;
    }
    void labelsCarryTheirNamesSizesColoursAndStartCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QFETCH(QColor, background);
        QFETCH(bool, blackText);
        auto* label = panel->findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->size(), size);
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pixelSize(), 29); // 21.75 pt at 96 dpi
        QVERIFY(label->isHidden()); // nothing shows before the first reveal
        if (background.isValid()) {
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window), background);
        }
        if (blackText)
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    }

    void marksAndTimersStandReady()
    {
        const struct { const char* name; QPoint pos; } marks[] = {
            {"HVOLT", {520, 144}}, {"NOISE", {520, 184}}, {"LOWBAT", {520, 224}}};
        for (const auto& m : marks) {
            QLabel* mark = named(m.name);
            QVERIFY(mark);
            QCOMPARE(mark->pos(), m.pos);
            QCOMPARE(mark->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            QCOMPARE(mark->font().pixelSize(), 20);
            QVERIFY(mark->isHidden());
        }
        QCOMPARE(timer("vrprecord")->interval(), 1000);
        QVERIFY(timer("vrprecord")->isActive());
        QCOMPARE(timer("Movectrltimer")->interval(), 200);
        QVERIFY(!timer("Movectrltimer")->isActive());
        QCOMPARE(timer("Movetimer")->interval(), 5);
        QCOMPARE(timer("Movetimer")->timerType(), Qt::PreciseTimer);
        QVERIFY(!timer("Movetimer")->isActive());
    }

    void valuesAndMarksAreDescribedForScreenReaders()
    {
        const struct { const char* name; const char* description; } described[] = {
            {"v", "earth voltage"}, {"r", "earth resistance"}, {"p", "soil resistivity"},
            {"p_length", "electrode spacing"}, {"rc", "current electrode resistance Rc"},
            {"rp", "potential electrode resistance Rp"}, {"NOISE", "noise warning"},
            {"HVOLT", "high interference voltage warning"}, {"LOWBAT", "low battery warning"}};
        for (const auto& d : described) {
            QCOMPARE(named(d.name)->accessibleDescription(), QString::fromLatin1(d.description));
            QVERIFY(named(d.name)->accessibleName().isEmpty()); // the text itself is announced
        }
    }

    void newReadingChangesCaptionsAndMarksButNotTheLayout()
    {
        runReveal();
        reading.testmode = 3;
        reading.p = QStringLiteral("OL KΩm");
        reading.rc = QStringLiteral("1.23KΩ");
        reading.noise = true;
        reading.lowbat = true;
        panel->showReading(reading);
        QCOMPARE(named("p")->text(), QStringLiteral("OL KΩm"));
        QCOMPARE(named("rc")->text(), QStringLiteral("1.23KΩ"));
        QVERIFY(!named("NOISE")->isHidden());
        QVERIFY(named("HVOLT")->isHidden());
        QVERIFY(!named("LOWBAT")->isHidden());
        QVERIFY(named("p")->isHidden()); // the resistivity layout waits for the watcher
        QVERIFY(!named("r")->isHidden());
        QVERIFY(!panel->movectrlTimer()->isActive());

        runReveal();
        QVERIFY(!named("p")->isHidden());
        QVERIFY(named("r")->isHidden());
    }

    void labelsStandOnThePixelOfTheirTwips()
    {
        reading.testmode = 3;
        runReveal();
        QCOMPARE(named("Label3_3")->pos(), QPoint(112, 176));
        QCOMPARE(named("p")->pos(), QPoint(304, 120));
        QCOMPARE(named("rp")->pos(), QPoint(304, 280));

        // Mid-flight the label sits on the nearest pixel of its exact twips.
        reading.testmode = 2;
        panel->vrprecordTick();
        panel->movectrltimerTick();
        panel->movetimerTick();
        QCOMPARE(panel->leftOf(Label3_1), 216);
        QCOMPARE(panel->topOf(Label3_1), 180);
        QCOMPARE(named("Label3_1")->pos(), QPoint(14, 12));
        QVERIFY(!named("Label3_1")->isHidden());

        // The tester changes mode mid-flight: the label in flight goes and stays gone.
        reading.testmode = 1;
        panel->vrprecordTick();
        panel->movetimerTick();
        QVERIFY(named("Label3_1")->isHidden());
    }

    void startUpRevealStandsCompleteWithinASecondAndAHalf()
    {
        QElapsedTimer clock;
        clock.start();
        panel->vrprecordTick();
        const auto complete = [&] {
            for (const char* name : {"Label3_1", "Label3_4", "Label3_5", "r", "rc", "rp"})
                if (named(name)->isHidden())
                    return false;
            return panel->leftOf(ValueRp) == 4560 && panel->topOf(ValueRp) == 3360;
        };
        QVERIFY(!complete());
        QTRY_VERIFY_WITH_TIMEOUT(complete(), 1500);
        QVERIFY2(clock.elapsed() >= 900, "labels fly in one per 200 ms, not all at once");
        QCOMPARE(named("r")->text(), QStringLiteral("0.00 Ω"));
        QCOMPARE(named("rc")->text(), QStringLiteral("0.00 KΩ"));
        QTRY_VERIFY_WITH_TIMEOUT(!panel->movectrlTimer()->isActive(), 1000);
        QVERIFY(!panel->moveTimer()->isActive()); // nothing left ticking once the layout stands
    }
};

QTEST_MAIN(ReadingsPanelTest)
#include "test_readingspanel.moc"
