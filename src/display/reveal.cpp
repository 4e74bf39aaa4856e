#include "display/reveal.h"

#include <QTimer>

namespace bm {

namespace {

// Voltage: the caption and its value share the 2640 row.
constexpr LayoutStep kVoltage[] = {
    {Label3_0, 720, 2640},
    {ValueV, 4560, 2640},
};

constexpr LayoutStep kResistance[] = {
    {Label3_1, 2160, 1800}, {Label3_4, 3360, 2640}, {Label3_5, 3360, 3360},
    {ValueR, 4560, 1800},   {ValueRc, 4560, 2640},  {ValueRp, 4560, 3360},
};

// Resistivity: the spacing takes the second row, so Rc and Rp sit one row lower.
constexpr LayoutStep kResistivity[] = {
    {Label3_2, 1920, 1800}, {Label3_3, 1680, 2640},     {Label3_4, 3360, 3360}, {Label3_5, 3360, 4200},
    {ValueP, 4560, 1800},   {ValuePLength, 4560, 2640}, {ValueRc, 4560, 3360},  {ValueRp, 4560, 4200},
};

} // namespace

const LayoutStep* layoutSteps(int testmode, int* count)
{
    switch (testmode) {
    case 1: *count = int(std::size(kVoltage)); return kVoltage;
    case 2: *count = int(std::size(kResistance)); return kResistance;
    case 3: *count = int(std::size(kResistivity)); return kResistivity;
    default: *count = 0; return nullptr;
    }
}

RevealAnimation::RevealAnimation(const Items& items, QTimer& movectrltimer, QTimer& movetimer)
    : items_(items), movectrltimer_(movectrltimer), movetimer_(movetimer)
{
}

qint16 RevealAnimation::tenth(int distance)
{
    int q = distance / 10;
    const int r = distance % 10;
    if (r > 5 || (r == 5 && (q % 2) != 0))
        ++q;
    return qint16(q);
}

void RevealAnimation::watch(int testmode)
{
    if (s_.shownmode == testmode)
        return;
    hidepanel();
    int count = 0;
    if (layoutSteps(testmode, &count))
        s_.revealstep = qint16(count);
    movectrltimer_.start();
    s_.shownmode = quint8(testmode);
}

void RevealAnimation::hidepanel()
{
    for (MovableItem* item : items_)
        item->setVisible(false);
    // A flight left running would show its label of the old layout inside the
    // new one, so emptying the panel ends it where it stands, hidden.
    movetimer_.stop();
    s_.movesteps = 0;
    s_.movectl = nullptr;
}

void RevealAnimation::revealTick(int testmode)
{
    if (s_.shownmode != testmode) {
        movectrltimer_.stop();
        return;
    }
    int count = 0;
    const LayoutStep* steps = layoutSteps(testmode, &count);
    if (!steps)
        return;
    if (s_.revealstep < 1) {
        movectrltimer_.stop();
        return;
    }
    const int k = s_.revealstep;
    s_.revealstep = qint16(k - 1);
    const int index = count - k;
    if (index < 0) // a countdown longer than the layout has no label to start
        return;
    const LayoutStep& step = steps[index];
    movectrl(items_[step.item], 0, 0, qint16(step.left), qint16(step.top), true);
}

void RevealAnimation::movectrl(MovableItem* ctl, qint16 fromx, qint16 fromy, qint16 tox, qint16 toy, bool show)
{
    ctl->setLeft(fromx);
    ctl->setTop(fromy);
    if (fromx < tox) {
        s_.movedx = tenth(tox - fromx);
        s_.moveleft = false;
    } else {
        s_.movedx = tenth(fromx - tox);
        s_.moveleft = true;
    }
    if (fromy < toy) {
        s_.movedy = tenth(toy - fromy);
        s_.moveup = false;
    } else {
        s_.movedy = tenth(fromy - toy);
        s_.moveup = true;
    }
    s_.movetox = tox;
    s_.movetoy = toy;
    s_.movectl = ctl;
    s_.moveshow = show;
    movetimer_.start();
    s_.movesteps = 10;
}

void RevealAnimation::moveTick()
{
    MovableItem* ctl = s_.movectl;
    if (!ctl) {
        movetimer_.stop();
        return;
    }
    if (s_.movesteps >= 1) {
        if (s_.moveshow)
            ctl->setVisible(true);
        ctl->setLeft(s_.moveleft ? ctl->left() - s_.movedx : ctl->left() + s_.movedx);
        ctl->setTop(s_.moveup ? ctl->top() - s_.movedy : ctl->top() + s_.movedy);
        s_.movesteps = qint16(s_.movesteps - 1);
    } else {
        ctl->setLeft(s_.movetox);
        if (!s_.moveshow)
            ctl->setVisible(false);
        movetimer_.stop();
    }
}

} // namespace bm
