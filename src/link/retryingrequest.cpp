#include "link/retryingrequest.h"

#include "link/protocol.h"

namespace bm {

RetryingRequest::RetryingRequest(Transport* port, QObject* parent) : QObject(parent), port_(port), timer_(this)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(300);
    connect(&timer_, &QTimer::timeout, this, &RetryingRequest::onTimeout);
    connect(port_, &Transport::received, this, &RetryingRequest::onReceived);
}

void RetryingRequest::send(qint16 code)
{
    code_ = code;
    attempt_ = 1;
    waiting_ = true;
    transmit();
}

void RetryingRequest::cancel()
{
    waiting_ = false;
    timer_.stop();
}

void RetryingRequest::transmit()
{
    port_->setRThreshold(protocol::receiveThreshold(code_));
    // Stale bytes (a partial or late reply) go before the request, never after:
    // the answer may start arriving as soon as the request is out.
    port_->clearInput();
    port_->output(protocol::requestFrame(code_));
    timer_.start();
}

void RetryingRequest::onReceived()
{
    if (!waiting_)
        return;
    waiting_ = false;
    timer_.stop();
    emit replied(code_, port_->input());
}

void RetryingRequest::onTimeout()
{
    if (!waiting_)
        return;
    if (attempt_ > retries_) {
        waiting_ = false;
        emit failed(code_);
        return;
    }
    ++attempt_;
    emit repeated(code_, attempt_);
    transmit();
}

} // namespace bm
