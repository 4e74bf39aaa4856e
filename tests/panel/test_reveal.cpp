#include "display/reveal.h"

#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using namespace bm;

namespace {

struct FakeItem final : MovableItem {
    int x = 0, y = 0;
    bool shown = true; // labels start visible so that emptying the panel shows
    int left() const override { return x; }
    int top() const override { return y; }
    void setLeft(int t) override { x = t; }
    void setTop(int t) override { y = t; }
    bool isVisible() const override { return shown; }
    void setVisible(bool v) override { shown = v; }
};

struct Landing {
    PanelItem item;
    int left, top;
};

const std::vector<Landing> kMode1 = {{Label3_0, 720, 2640}, {ValueV, 4560, 2640}};
const std::vector<Landing> kMode2 = {{Label3_1, 2160, 1800}, {Label3_4, 3360, 2640}, {Label3_5, 3360, 3360},
                                     {ValueR, 4560, 1800}, {ValueRc, 4560, 2640}, {ValueRp, 4560, 3360}};
const std::vector<Landing> kMode3 = {{Label3_2, 1920, 1800}, {Label3_3, 1680, 2640}, {Label3_4, 3360, 3360},
                                     {Label3_5, 3360, 4200}, {ValueP, 4560, 1800}, {ValuePLength, 4560, 2640},
                                     {ValueRc, 4560, 3360}, {ValueRp, 4560, 4200}};

const std::vector<Landing>& layoutOf(int mode)
{
    return mode == 1 ? kMode1 : mode == 2 ? kMode2 : kMode3;
}

} // namespace

class RevealTest : public QObject {
    Q_OBJECT

    std::array<FakeItem, PanelItemCount> items;
    QTimer movectrltimer, movetimer;
    std::unique_ptr<RevealAnimation> anim;

    FakeItem& at(PanelItem i) { return items[i]; }

    std::vector<PanelItem> visibleItems() const
    {
        std::vector<PanelItem> out;
        for (int i = 0; i < PanelItemCount; ++i)
            if (items[i].shown)
                out.push_back(PanelItem(i));
        return out;
    }

    // Runs the flight to its end as the 5 ms timer would; returns the ticks it took.
    int finishFlight()
    {
        int ticks = 0;
        while (movetimer.isActive() && ticks < 100) {
            anim->moveTick();
            ++ticks;
        }
        return ticks;
    }

    void revealFully(int mode)
    {
        anim->watch(mode);
        while (movectrltimer.isActive()) {
            anim->revealTick(mode);
            finishFlight();
        }
    }

    void verifyLaidOut(int mode)
    {
        std::vector<PanelItem> expected;
        for (const Landing& l : layoutOf(mode)) {
            QCOMPARE(at(l.item).x, l.left);
            QCOMPARE(at(l.item).y, l.top);
            expected.push_back(l.item);
        }
        std::sort(expected.begin(), expected.end());
        QCOMPARE(visibleItems(), expected);
    }

private slots:
    void init()
    {
        items = {};
        movectrltimer.stop();
        movetimer.stop();
        RevealAnimation::Items ptrs{};
        for (int i = 0; i < PanelItemCount; ++i)
            ptrs[i] = &items[i];
        anim = std::make_unique<RevealAnimation>(ptrs, movectrltimer, movetimer);
    }

    void revealStartsOneLabelPerTickInLayoutOrder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("earth voltage") << 1;
        QTest::newRow("earth resistance") << 2;
        QTest::newRow("resistivity") << 3;
    }
    void revealStartsOneLabelPerTickInLayoutOrder()
    {
        QFETCH(int, mode);
        const std::vector<Landing>& layout = layoutOf(mode);

        anim->watch(mode);
        QVERIFY(visibleItems().empty());
        QVERIFY(movectrltimer.isActive());
        QCOMPARE(int(anim->state().shownmode), mode);
        QCOMPARE(int(anim->state().revealstep), int(layout.size()));

        std::vector<PanelItem> shown;
        for (const Landing& l : layout) {
            anim->revealTick(mode);
            QCOMPARE(anim->state().movectl, &at(l.item));
            QCOMPARE(at(l.item).x, 0); // every flight starts in the frame's corner
            QCOMPARE(at(l.item).y, 0);
            QCOMPARE(finishFlight(), 11);
            QCOMPARE(at(l.item).x, l.left);
            QCOMPARE(at(l.item).y, l.top);
            shown.push_back(l.item);
            std::vector<PanelItem> sorted = shown;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(visibleItems(), sorted);
        }
        QVERIFY(movectrltimer.isActive());
        anim->revealTick(mode); // tick N + 1 closes the reveal
        QVERIFY(!movectrltimer.isActive());
        verifyLaidOut(mode);
    }

    void flightMakesTenEqualStepsAndAClosingTick()
    {
        FakeItem& label = at(ValueR);
        label.shown = false;
        anim->movectrl(&label, 0, 0, 4560, 1800, true);
        QVERIFY(movetimer.isActive());
        QCOMPARE(anim->state().movedx, qint16(456));
        QCOMPARE(anim->state().movedy, qint16(180));
        for (int step = 1; step <= 10; ++step) {
            anim->moveTick();
            QVERIFY(label.shown);
            QCOMPARE(label.x, 456 * step);
            QCOMPARE(label.y, 180 * step);
        }
        QVERIFY(movetimer.isActive());
        anim->moveTick();
        QVERIFY(!movetimer.isActive());
        QCOMPARE(label.x, 4560);
        QCOMPARE(label.y, 1800);

        // Backwards, uneven: steps round halves to even, the closing tick snaps Left only.
        anim->movectrl(&label, 1000, 300, 965, 0, false);
        QVERIFY(anim->state().moveleft);
        QVERIFY(anim->state().moveup);
        QCOMPARE(anim->state().movedx, qint16(4)); // 3.5 -> 4
        QCOMPARE(anim->state().movedy, qint16(30));
        QCOMPARE(finishFlight(), 11);
        QCOMPARE(label.x, 965);
        QCOMPARE(label.y, 0);
        QVERIFY(!label.shown); // a flight without show leaves its label hidden
    }

    void stepSizesRoundHalvesToEven()
    {
        QCOMPARE(RevealAnimation::tenth(25), qint16(2));
        QCOMPARE(RevealAnimation::tenth(35), qint16(4));
        QCOMPARE(RevealAnimation::tenth(5), qint16(0));
        QCOMPARE(RevealAnimation::tenth(16), qint16(2));
        QCOMPARE(RevealAnimation::tenth(65535), qint16(6554));
    }

    void zeroDistanceFlightKeepsTheLabelInPlace()
    {
        FakeItem& label = at(Label3_0);
        anim->movectrl(&label, 720, 2640, 720, 2640, true);
        QVERIFY(anim->state().moveleft);
        QVERIFY(anim->state().moveup);
        QCOMPARE(anim->state().movedx, qint16(0));
        QCOMPARE(finishFlight(), 11);
        QCOMPARE(label.x, 720);
        QCOMPARE(label.y, 2640);
        QVERIFY(label.shown);
    }

    void newFlightReplacesTheRunningOne()
    {
        anim->movectrl(&at(Label3_1), 0, 0, 2160, 1800, true);
        anim->moveTick();
        anim->moveTick();
        anim->movectrl(&at(Label3_4), 0, 0, 3360, 2640, true);
        QCOMPARE(finishFlight(), 11);
        QCOMPARE(at(Label3_1).x, 432); // left where its second step put it
        QCOMPARE(at(Label3_4).x, 3360);
        QCOMPARE(at(Label3_4).y, 2640);
    }

    void sameModeStartsNoReveal()
    {
        revealFully(2);
        anim->watch(2);
        QVERIFY(!movectrltimer.isActive());
        verifyLaidOut(2);
    }

    void modeChangeDuringRevealStopsItUntilTheNextWatch()
    {
        anim->watch(2);
        for (int i = 0; i < 3; ++i) {
            anim->revealTick(2);
            finishFlight();
        }
        // The tester switched to resistivity between two reveal ticks.
        anim->revealTick(3);
        QVERIFY(!movectrltimer.isActive());
        QCOMPARE(visibleItems(), (std::vector<PanelItem>{Label3_1, Label3_4, Label3_5}));

        anim->watch(3);
        QVERIFY(visibleItems().empty());
        while (movectrltimer.isActive()) {
            anim->revealTick(3);
            finishFlight();
        }
        verifyLaidOut(3);
    }

    void emptyingThePanelEndsTheFlightUnderWay()
    {
        anim->watch(2);
        anim->revealTick(2);
        anim->moveTick();
        anim->moveTick();
        QVERIFY(at(Label3_1).shown);

        anim->watch(1);
        QVERIFY(!movetimer.isActive());
        QCOMPARE(anim->state().movectl, nullptr);
        QVERIFY(!at(Label3_1).shown);
        anim->moveTick(); // a tick already queued when the panel was emptied
        QVERIFY(!at(Label3_1).shown);

        while (movectrltimer.isActive()) {
            anim->revealTick(1);
            finishFlight();
        }
        verifyLaidOut(1); // no caption of the resistance layout among the voltage labels
    }

    void modeThatComesAndGoesBetweenWatchTicksIsNeverLaidOut()
    {
        revealFully(2);
        // 2 -> 3 -> 2 within one second: the watcher only sees 2.
        anim->watch(2);
        QVERIFY(!movectrltimer.isActive());
        verifyLaidOut(2);
        // 2 -> 3 -> 1: the watcher lays out 1, never 3.
        revealFully(1);
        verifyLaidOut(1);
    }

    void unknownModeEmptiesThePanelAndPlacesNothing()
    {
        revealFully(2);
        anim->watch(7);
        QVERIFY(visibleItems().empty());
        for (int i = 0; i < 10; ++i)
            anim->revealTick(7);
        QVERIFY(!movetimer.isActive());
        QVERIFY(visibleItems().empty());
        revealFully(3);
        verifyLaidOut(3);
    }
};

QTEST_GUILESS_MAIN(RevealTest)
#include "test_reveal.moc"
