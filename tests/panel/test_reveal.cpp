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
    bool shown = true; // visible at first, so that emptying the panel shows
    int left() const override { return x; }
    int top() const override { return y; }
    void setLeft(int t) override { x = t; }
    void setTop(int t) override { y = t; }
    bool isVisible() const override { return shown; }
    void setVisible(bool v) override { shown = v; }
};

const std::vector<LayoutStep> kLayouts[] = {
    {{Label3_0, 720, 2640}, {ValueV, 4560, 2640}},
    {{Label3_1, 2160, 1800}, {Label3_4, 3360, 2640}, {Label3_5, 3360, 3360},
     {ValueR, 4560, 1800}, {ValueRc, 4560, 2640}, {ValueRp, 4560, 3360}},
    {{Label3_2, 1920, 1800}, {Label3_3, 1680, 2640}, {Label3_4, 3360, 3360}, {Label3_5, 3360, 4200},
     {ValueP, 4560, 1800}, {ValuePLength, 4560, 2640}, {ValueRc, 4560, 3360}, {ValueRp, 4560, 4200}},
};

} // namespace

class RevealTest : public QObject {
    Q_OBJECT

    std::array<FakeItem, PanelItemCount> items;
    QTimer movectrltimer, movetimer;
    std::unique_ptr<RevealAnimation> anim;

    std::vector<int> visible() const
    {
        std::vector<int> out;
        for (int i = 0; i < PanelItemCount; ++i)
            if (items[i].shown)
                out.push_back(i);
        return out;
    }
    int finishFlight() // as the 5 ms timer would; returns the ticks taken
    {
        int ticks = 0;
        for (; movetimer.isActive() && ticks < 100; ++ticks)
            anim->moveTick();
        return ticks;
    }
    void finishReveal(int mode)
    {
        while (movectrltimer.isActive()) {
            anim->revealTick(mode);
            finishFlight();
        }
    }
    // Exactly the labels of the layout show, each on its target.
    void verifyLaidOut(int mode)
    {
        std::vector<int> expected;
        for (const LayoutStep& s : kLayouts[mode - 1]) {
            QCOMPARE(QPoint(items[s.item].x, items[s.item].y), QPoint(s.left, s.top));
            expected.push_back(s.item);
        }
        std::sort(expected.begin(), expected.end());
        QCOMPARE(visible(), expected);
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
        anim->watch(mode);
        QVERIFY(visible().empty());
        QVERIFY(movectrltimer.isActive());
        std::vector<int> shown;
        for (const LayoutStep& s : kLayouts[mode - 1]) {
            anim->revealTick(mode);
            QCOMPARE(anim->state().movectl, &items[s.item]);
            QCOMPARE(QPoint(items[s.item].x, items[s.item].y), QPoint(0, 0)); // from the frame's corner
            QCOMPARE(finishFlight(), 11);
            shown.push_back(s.item);
            std::sort(shown.begin(), shown.end());
            QCOMPARE(visible(), shown);
        }
        anim->revealTick(mode); // tick N + 1 closes the reveal
        QVERIFY(!movectrltimer.isActive());
        verifyLaidOut(mode);
    }

    void flightMakesTenEqualStepsAndAClosingTick()
    {
        FakeItem& label = items[ValueR];
        label.shown = false;
        anim->movectrl(&label, 0, 0, 4560, 1800, true);
        for (int step = 1; step <= 10; ++step) {
            anim->moveTick();
            QVERIFY(label.shown);
            QCOMPARE(QPoint(label.x, label.y), QPoint(456 * step, 180 * step));
        }
        QVERIFY(movetimer.isActive());
        anim->moveTick();
        QVERIFY(!movetimer.isActive());

        // Backwards and uneven: 3.5 twips round to 4, the closing tick puts Left on target.
        anim->movectrl(&label, 1000, 300, 965, 0, false);
        QVERIFY(anim->state().moveleft && anim->state().moveup);
        QCOMPARE(anim->state().movedx, qint16(4));
        QCOMPARE(RevealAnimation::tenth(25), qint16(2)); // halves go to even
        QCOMPARE(finishFlight(), 11);
        QCOMPARE(QPoint(label.x, label.y), QPoint(965, 0));
        QVERIFY(!label.shown);

        // Zero distance: no step, the label stays where it is.
        anim->movectrl(&label, 720, 2640, 720, 2640, true);
        QVERIFY(anim->state().moveleft);
        QCOMPARE(finishFlight(), 11);
        QCOMPARE(QPoint(label.x, label.y), QPoint(720, 2640));
    }

    void modeChangeMidRevealStopsItAndEmptyingEndsTheFlight()
    {
        anim->watch(2);
        for (int i = 0; i < 3; ++i) {
            anim->revealTick(2);
            finishFlight();
        }
        anim->revealTick(2);
        anim->moveTick();
        // The tester switched to resistivity: the reveal stops, what stands stays.
        anim->revealTick(3);
        QVERIFY(!movectrltimer.isActive());
        QCOMPARE(visible(), (std::vector<int>{Label3_1, Label3_4, Label3_5, ValueR}));
        anim->watch(3);
        QVERIFY(visible().empty());
        QVERIFY(!movetimer.isActive());
        anim->moveTick(); // a flight tick already queued when the panel was emptied
        finishReveal(3);
        verifyLaidOut(3); // no label of the resistance layout among the resistivity ones
        // 3 -> 2 -> 3 between two watcher ticks: 2 is never laid out, nothing moves.
        anim->watch(3);
        QVERIFY(!movectrltimer.isActive());
        verifyLaidOut(3);
    }
};

QTEST_GUILESS_MAIN(RevealTest)
#include "test_reveal.moc"
