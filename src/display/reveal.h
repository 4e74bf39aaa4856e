#pragma once

#include <QtGlobal>

#include <array>

class QTimer;

namespace bm {

// Anything the reveal can place and show. Positions are twips within the frame;
// "visible" is the item's own flag, not whether its frame is on screen.
class MovableItem {
public:
    virtual ~MovableItem() = default;
    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

// The twelve labels of the readings panel, in the order the panel is emptied.
enum PanelItem : int {
    Label3_0,
    Label3_1,
    Label3_2,
    Label3_3,
    Label3_4,
    Label3_5,
    ValueV,
    ValueR,
    ValueP,
    ValuePLength,
    ValueRc,
    ValueRp,
    PanelItemCount
};

// One label of a layout and where it lands.
struct LayoutStep {
    PanelItem item;
    int left;
    int top;
};

// The labels of a measurement mode (1 voltage, 2 resistance, 3 resistivity) in
// the order they fly in; empty for any other mode.
const LayoutStep* layoutSteps(int testmode, int* count);

// The watcher's and the flight's state; there is one flight at most.
struct RevealState {
    quint8 shownmode = 0;           // mode the panel is laid out for; 0 before the first reveal
    qint16 revealstep = 0;          // labels still to be started
    MovableItem* movectl = nullptr; // the label in flight
    qint16 movetox = 0;
    qint16 movetoy = 0;
    qint16 movedx = 0; // size of one step, always >= 0
    qint16 movedy = 0;
    bool moveleft = false; // the flight runs towards smaller Left
    bool moveup = false;   // ... towards smaller Top
    qint16 movesteps = 0;  // steps still to make
    bool moveshow = false; // the label shows during and after the flight
};

// The panel's mode watcher and reveal animation, without any widget: the labels
// come in as MovableItems and the two animation timers are switched, never run,
// from here. The owner connects the timers' ticks to revealTick() and moveTick().
class RevealAnimation {
public:
    using Items = std::array<MovableItem*, PanelItemCount>;

    RevealAnimation(const Items& items, QTimer& movectrltimer, QTimer& movetimer);

    // One tick of the mode watcher: lays the panel out anew when the mode changed.
    void watch(int testmode);
    // Empties the panel and ends any flight still under way.
    void hidepanel();
    // One tick of the reveal: starts the next label's flight.
    void revealTick(int testmode);
    // Starts a flight of ctl from (fromx, fromy) to (tox, toy); replaces any running flight.
    void movectrl(MovableItem* ctl, qint16 fromx, qint16 fromy, qint16 tox, qint16 toy, bool show);
    // One step of the flight.
    void moveTick();

    // One tenth of a distance, halves to even, as the flight's step size.
    static qint16 tenth(int distance);

    const RevealState& state() const { return s_; }

private:
    RevealState s_;
    Items items_;
    QTimer& movectrltimer_;
    QTimer& movetimer_;
};

} // namespace bm
