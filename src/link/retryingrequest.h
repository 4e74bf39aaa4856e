#pragma once

#include "link/transport.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace bm {

// One request outstanding on a transport: sends a code, waits for its reply
// (the code's receive threshold), and asks again when the reply does not come
// within the timeout, up to `retries` more times. The tester's replies carry no
// number, so never more than one request may be waiting for an answer.
class RetryingRequest : public QObject {
    Q_OBJECT
public:
    explicit RetryingRequest(Transport* port, QObject* parent = nullptr);

    void setTimeout(int ms) { timer_.setInterval(ms); }
    int timeout() const { return timer_.interval(); }
    void setRetries(int retries) { retries_ = retries; }
    int retries() const { return retries_; }

    // Starts a new request, dropping any outstanding one.
    void send(qint16 code);
    // Forgets the outstanding request: nothing more is reported for it.
    void cancel();
    bool waiting() const { return waiting_; }
    qint16 code() const { return code_; }

signals:
    // Every byte that had arrived once the threshold was met.
    void replied(qint16 code, const QByteArray& reply);
    // Asked again after a silent timeout; attempt 2 is the first repeat.
    void repeated(qint16 code, int attempt);
    // No reply after every attempt.
    void failed(qint16 code);

private:
    void transmit();
    void onReceived();
    void onTimeout();

    Transport* port_;
    QTimer timer_;
    int retries_ = 3;
    int attempt_ = 0;
    qint16 code_ = 0;
    bool waiting_ = false;
};

} // namespace bm
