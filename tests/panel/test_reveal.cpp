#include "display/reveal.h"

#include <QTimer>
#include <QtTest>

#include <map>

using namespace bm;

namespace {

struct FakeItem final : MovableItem {
    QPoint at;
    bool shown = true; // visible at first, so that emptying the panel shows
    int left() const override { return at.x(); }
    int top() const override { return at.y(); }
    void setLeft(int t) override { at.setX(t); }
    void setTop(int t) override { at.setY(t); }
    bool isVisible() const override { return shown; }
    void setVisible(bool v) override { shown = v; }
};

using Placed = std::map<int, QPoint>; // label -> where it stands

Placed layoutOf(int mode)
{
    int count = 0;
    const LayoutStep* steps = layoutSteps(mode, &count);
    Placed out;
    for (int i = 0; i < count; ++i)
        out[steps[i].item] = {steps[i].left, steps[i].top};
    return out;
}

// The twelve labels and the two timers, ticked by hand.
struct Panel {
    std::array<FakeItem, PanelItemCount> items;
    QTimer revealTimer, flightTimer;
    RevealAnimation anim{[this] {
        RevealAnimation::Items p;
        std::transform(items.begin(), items.end(), p.begin(), [](FakeItem& i) { return &i; });
        return p;
    }(), revealTimer, flightTimer};

    Placed shown() const
    {
        Placed out;
        for (int i = 0; i < PanelItemCount; ++i)
            if (items[i].shown)
                out[i] = items[i].at;
        return out;
    }
    int fly() // flight ticks until the flight stops itself
    {
        int ticks = 0;
        for (; flightTimer.isActive() && ticks < 100; ++ticks)
            anim.moveTick();
        return ticks;
    }
    // Each reveal tick starts one more label, flown in ten steps and a closing tick;
    // the tick after the last one ends the reveal with exactly this layout in place.
    void verifyCleanReveal(int mode)
    {
        const Placed layout = layoutOf(mode);
        QVERIFY(shown().empty() && layout.size() > 1);
        for (size_t tick = 1; tick <= layout.size() + 1; ++tick) {
            anim.revealTick(mode);
            QCOMPARE(fly(), tick <= layout.size() ? 11 : 0);
            QCOMPARE(shown().size(), std::min(tick, layout.size()));
        }
        QVERIFY(!revealTimer.isActive());
        QCOMPARE(shown(), layout);
    }
};

} // namespace

class RevealTest : public QObject {
    Q_OBJECT

private slots:
    void eachModeRevealsItsLabelsOnePerTick()
    {
        Panel panel;
        for (const int mode : {1, 2, 3}) {
            panel.anim.watch(mode);
            panel.verifyCleanReveal(mode);
        }
    }

    void modeChangeMidRevealStartsTheNewLayoutClean()
    {
        Panel panel;
        panel.anim.watch(2);
        for (int i = 0; i < 3; ++i, panel.fly())
            panel.anim.revealTick(2);
        panel.anim.revealTick(2);
        panel.anim.moveTick(); // the fourth label in flight when the tester switches
        panel.anim.revealTick(3); // the reveal stops, what stands stays
        QCOMPARE(panel.shown().size(), size_t(4));
        panel.anim.watch(3);
        panel.anim.moveTick(); // a flight tick already queued when the panel was emptied
        panel.verifyCleanReveal(3); // no label of the resistance layout left
        panel.anim.watch(3); // 3 -> 2 -> 3 between two watcher ticks: nothing is laid out again
        QVERIFY(!panel.revealTimer.isActive());
        panel.anim.watch(7); // no layout for an unknown mode: the panel stays empty
        for (int i = 0; i < 3; ++i, panel.fly())
            panel.anim.revealTick(7);
        QVERIFY(panel.shown().empty());
    }
};

QTEST_GUILESS_MAIN(RevealTest)
#include "test_reveal.moc"
