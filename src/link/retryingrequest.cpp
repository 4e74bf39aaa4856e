#include "link/retryingrequest.h"

#include "link/protocol.h"

#include <algorithm>

namespace bm {

namespace {

constexpr int kMinSettleMs = 1000;
// Settling restarts with every byte, but no longer than this many settle times.
constexpr int kMaxSettles = 5;

// A reply is its code's length. More bytes are trusted only when they are the
// same reply again (a tester that repeats itself); anything else may hold bytes
// of another reply or noise, and nothing tells which.
bool trustworthy(qint16 code, const QByteArray& bytes)
{
    const qsizetype length = protocol::receiveThreshold(code);
    if (bytes.size() < length || bytes.size() % length != 0)
        return false;
    for (qsizetype at = length; at < bytes.size(); at += length) {
        if (bytes.mid(at, length) != bytes.first(length))
            return false;
    }
    return true;
}

} // namespace

RetryingRequest::RetryingRequest(Transport* port, QObject* parent)
    : QObject(parent), port_(port), reply_(this), settle_(this)
{
    for (QTimer* timer : {&reply_, &settle_}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    setTimeout(300);
    connect(&reply_, &QTimer::timeout, this, &RetryingRequest::replyTimeout);
    connect(&settle_, &QTimer::timeout, this, &RetryingRequest::settleTimeout);
    connect(port_, &Transport::received, this, &RetryingRequest::onReceived);
}

void RetryingRequest::setTimeout(int ms)
{
    reply_.setInterval(ms);
    settle_.setInterval(std::max(ms, kMinSettleMs));
}

void RetryingRequest::send(qint16 code)
{
    wanted_ = code;
    attempt_ = 1;
    pending_ = true;
    onLine_ = false;
    if (state_ != State::Idle)
        return; // goes out once the line is clear
    if (unsettled_)
        startSettling();
    else
        transmit();
}

void RetryingRequest::cancel()
{
    pending_ = false;
    onLine_ = false;
}

void RetryingRequest::reset()
{
    cancel();
    state_ = State::Idle;
    unsettled_ = false;
    reply_.stop();
    settle_.stop();
}

void RetryingRequest::transmit()
{
    state_ = State::Waiting;
    onLine_ = true;
    port_->setRThreshold(protocol::receiveThreshold(wanted_));
    port_->clearInput();
    port_->output(protocol::requestFrame(wanted_));
    reply_.start();
    if (port_->portOpen()) // nothing went out: the timeout says so
        emit sent(wanted_);
}

void RetryingRequest::onReceived()
{
    if (state_ == State::Idle)
        return; // not ours: the owner of the port reads it
    const QByteArray bytes = port_->input();
    if (state_ == State::Settling) {
        if (settling_.elapsed() < qint64(kMaxSettles) * settle_.interval())
            settle_.start(); // still talking: the quiet starts again
        return;
    }
    reply_.stop();
    if (!trustworthy(wanted_, bytes)) {
        giveUpAttempt();
        return;
    }
    state_ = State::Idle;
    if (onLine_) {
        pending_ = false;
        onLine_ = false;
        emit replied(wanted_, bytes);
    } else if (pending_) {
        send(wanted_); // the abandoned request has answered
    }
}

void RetryingRequest::replyTimeout()
{
    reply_.stop();
    if (state_ == State::Waiting)
        giveUpAttempt();
}

// The attempt on the line got no trustworthy reply; one may still come.
void RetryingRequest::giveUpAttempt()
{
    unsettled_ = true;
    if (pending_ && onLine_ && attempt_ <= retries_) {
        ++attempt_;
        emit repeated(wanted_, attempt_);
        transmit();
        return;
    }
    startSettling();
}

void RetryingRequest::startSettling()
{
    state_ = State::Settling;
    settling_.start();
    // Any byte now restarts the quiet, however short the reply it belongs to.
    port_->setRThreshold(1);
    settle_.start();
}

void RetryingRequest::settleTimeout()
{
    settle_.stop();
    if (state_ != State::Settling)
        return;
    state_ = State::Idle;
    unsettled_ = false;
    if (!pending_)
        return;
    if (!onLine_) {
        transmit();
        return;
    }
    pending_ = false;
    onLine_ = false;
    emit failed(wanted_);
}

} // namespace bm
