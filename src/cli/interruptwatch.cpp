#include "cli/interruptwatch.h"

#include "cli/terminal.h"

namespace bm::cli {

InterruptWatch::InterruptWatch(QObject* parent) : QObject(parent), timer_(this)
{
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, &InterruptWatch::poll);
    timer_.start();
}

void InterruptWatch::poll()
{
    if (requested_ || !interruptRequested())
        return;
    requested_ = true;
    timer_.stop();
    emit interrupted();
}

} // namespace bm::cli
