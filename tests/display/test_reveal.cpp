// The readings panel with its timers ticked by hand: labels that fit and are
// described, each mode's labels flown in one per tick, a change of mode mid-reveal.
#include "display/readingspanel.h"
#include "display/reveal.h"

#include <QLabel>
#include <QtTest>

#include <map>
#include <tuple>
#include <memory>

using namespace bm;

namespace {

using Placed = std::map<int, QPoint>; // label -> where it stands, in twips

Placed layoutOf(int mode)
{
    int count = 0;
    const LayoutStep* steps = layoutSteps(mode, &count);
    Placed out;
    for (int i = 0; i < count; ++i)
        out[steps[i].item] = {steps[i].left, steps[i].top};
    return out;
}

} // namespace

class RevealTest : public QObject {
    Q_OBJECT

    Reading reading_;
    std::unique_ptr<ReadingsPanel> panel_;

    QLabel* named(const char* name) { return panel_->findChild<QLabel*>(QString::fromLatin1(name)); }
    Placed shown() const
    {
        Placed out;
        for (int i = 0; i < PanelItemCount; ++i)
            if (!panel_->label(PanelItem(i))->isHidden())
                out[i] = {panel_->leftOf(PanelItem(i)), panel_->topOf(PanelItem(i))};
        return out;
    }
    void watch(int mode)
    {
        reading_.testmode = mode;
        panel_->modeWatchTick();
    }
    void revealTick(int mode)
    {
        reading_.testmode = mode;
        panel_->revealTick();
    }
    int fly() // flight ticks until the flight stops itself
    {
        int ticks = 0;
        for (; panel_->flightTimer()->isActive() && ticks < 100; ++ticks)
            panel_->flightTick();
        return ticks;
    }
    // Each reveal tick starts one more label, flown in ten steps and a closing tick;
    // the tick after the last one ends the reveal with exactly this layout in place,
    // every label on the nearest pixel of its twips.
    void verifyCleanReveal(int mode)
    {
        const Placed layout = layoutOf(mode);
        QVERIFY(shown().empty());
        QVERIFY(layout.size() > 1);
        for (size_t tick = 1; tick <= layout.size() + 1; ++tick) {
            revealTick(mode);
            QCOMPARE(fly(), tick <= layout.size() ? 11 : 0);
            QCOMPARE(shown().size(), std::min(tick, layout.size()));
        }
        QVERIFY(!panel_->revealTimer()->isActive());
        QCOMPARE(shown(), layout);
        for (const auto& [item, at] : layout)
            QCOMPARE(panel_->label(PanelItem(item))->pos(), QPoint(qRound(at.x() / 15.0), qRound(at.y() / 15.0)));
    }

private slots:
    void init()
    {
        reading_ = Reading();
        panel_ = std::make_unique<ReadingsPanel>(reading_);
    }

    void everyLabelIsNamedDescribedAndItsTextFits()
    {
        std::tie(reading_.r, reading_.p, reading_.v, reading_.rc, reading_.p_length) =
            std::tuple("100.0KΩ", "OL KΩm", "65535V", "655.35KΩ", "6553.5m");
        panel_->showReading(reading_);
        for (const char* name : {"Label3_0", "Label3_1", "Label3_2", "Label3_3", "Label3_4", "Label3_5", "v", "r", "p",
                                 "p_length", "rc", "rp"}) {
            QLabel* label = named(name);
            QVERIFY2(label, name);
            QVERIFY2(label->isHidden(), name); // nothing shows before the first reveal
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(), name);
        }
        for (const char* name : {"v", "r", "p", "p_length", "rc", "rp", "NOISE", "HVOLT", "LOWBAT"}) {
            QVERIFY2(!named(name)->accessibleDescription().isEmpty(), name);
            QVERIFY2(named(name)->accessibleName().isEmpty(), name); // the text itself is announced
        }
        QVERIFY(named("HVOLT")->isHidden());
        QVERIFY(named("LOWBAT")->isHidden());
        QVERIFY(panel_->modeWatchTimer()->isActive());
        QVERIFY(!panel_->revealTimer()->isActive());
        QVERIFY(!panel_->flightTimer()->isActive());
    }

    // A new reading shows its marks at once; its layout waits for the watcher's tick.
    void eachModeRevealsItsLabelsOnePerTick()
    {
        for (const int mode : {1, 2, 3}) {
            reading_.testmode = mode;
            reading_.noise = mode == 3;
            panel_->showReading(reading_);
            QCOMPARE(named("NOISE")->isHidden(), mode != 3);
            QCOMPARE(shown(), layoutOf(mode - 1));
            watch(mode);
            verifyCleanReveal(mode);
        }
    }

    void modeChangeMidRevealStartsTheNewLayoutClean()
    {
        watch(2);
        revealTick(2);
        panel_->flightTick(); // one tenth of the way
        QCOMPARE(QPoint(panel_->leftOf(Label3_1), panel_->topOf(Label3_1)), QPoint(216, 180));
        QCOMPARE(named("Label3_1")->pos(), QPoint(14, 12)); // nearest pixel of 14.4, 12
        fly();
        for (int i = 0; i < 2; ++i, fly())
            revealTick(2);
        revealTick(2);
        panel_->flightTick(); // the fourth label in flight when the tester switches
        revealTick(3);        // the reveal stops, what stands stays
        QCOMPARE(shown().size(), size_t(4));
        watch(3);
        panel_->flightTick(); // a flight tick already queued when the panel was emptied
        verifyCleanReveal(3); // no label of the resistance layout left
        watch(3);             // 3 -> 2 -> 3 between two watcher ticks: nothing is laid out again
        QVERIFY(!panel_->revealTimer()->isActive());
        watch(7); // no layout for an unknown mode: the panel stays empty
        for (int i = 0; i < 3; ++i, fly())
            revealTick(7);
        QVERIFY(shown().empty());
    }
};

QTEST_MAIN(RevealTest)
#include "test_reveal.moc"
