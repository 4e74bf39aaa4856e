#pragma once

#include <QElapsedTimer>

namespace bm::cli {

// "records n of N, r/s, s left" on one terminal line, redrawn at most ten
// times a second. Silent when off (standard error is not a terminal).
class ProgressLine {
public:
    explicit ProgressLine(bool on) : on_(on) { started_.start(); }

    void update(int done, int total);
    // Leaves the last figures on screen and moves to the next line.
    void finish();

private:
    void draw(int done, int total);

    bool on_;
    bool drawn_ = false;
    int lastDone_ = 0, lastTotal_ = 0;
    QElapsedTimer started_;
    QElapsedTimer sinceDraw_;
};

} // namespace bm::cli
