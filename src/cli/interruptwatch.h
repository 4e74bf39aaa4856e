#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace bm::cli {

// Turns the console's interrupt flag into a signal: the handler itself may do
// no more than set the flag, so the event loop looks at it often.
class InterruptWatch : public QObject {
    Q_OBJECT
public:
    explicit InterruptWatch(QObject* parent = nullptr);
    bool requested() const { return requested_; }

signals:
    void interrupted();

private:
    void poll();

    QTimer timer_;
    bool requested_ = false;
};

// Runs `start`, then the event loop until `sender` emits `signal` or the user
// interrupts. False when interrupted. Connecting before `start` runs catches a
// signal emitted at once.
template <typename Sender, typename Signal, typename Start>
bool waitFor(const Sender* sender, Signal signal, const InterruptWatch& watch, Start start)
{
    if (watch.requested())
        return false;
    QEventLoop loop;
    bool done = false;
    QObject::connect(sender, signal, &loop, [&] {
        done = true;
        loop.quit();
    });
    QObject::connect(&watch, &InterruptWatch::interrupted, &loop, &QEventLoop::quit);
    start();
    if (!done)
        loop.exec();
    return done;
}

} // namespace bm::cli
