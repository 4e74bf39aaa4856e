#pragma once

#include "link/transport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace bm {

// One request outstanding on a transport. The tester's replies carry no number,
// so a reply is trusted only for the request it answers: a request goes out on
// a clear line only. A request whose reply is overdue is asked again at once
// (any reply to it answers the same question), up to `retries` more times;
// once it has been given up, or before another request follows one that was
// asked more than once, the line settles: every byte that still comes is
// thrown away until it has been quiet for the settle time.
class RetryingRequest : public QObject {
    Q_OBJECT
public:
    explicit RetryingRequest(Transport* port, QObject* parent = nullptr);

    // The wait for a reply. The line settles for as long, and at least a
    // second: a tester answers well within that, so nothing of an earlier
    // request can still come.
    void setTimeout(int ms);
    int timeout() const { return reply_.interval(); }
    void setRetries(int retries) { retries_ = retries; }
    int retries() const { return retries_; }

    // Asks for `code`; an earlier request still unanswered is abandoned, and the
    // new one waits until the line is clear of its reply.
    void send(qint16 code);
    // A request went out past this object (its owner's poll) and may still be
    // answered: the next request waits until the line has been quiet.
    void expectOthersReply() { unsettled_ = true; }
    // Abandons the request: nothing more is reported for it, and its reply,
    // should it still come, is thrown away.
    void cancel();
    // Forgets the line as well, for a port that is closed or reopened.
    void reset();
    // A request waits for its reply or the line is settling: the bytes that
    // arrive are this object's to read.
    bool ownsLine() const { return state_ != State::Idle; }
    qint16 code() const { return wanted_; }

    // The two timers' handlers, public so tests can drive exact sequences:
    // the reply is overdue; the line has been quiet long enough.
    void replyTimeout();
    void settleTimeout();

signals:
    // The request went out (again, on a retry).
    void sent(qint16 code);
    // The reply, exactly its length (or the same reply repeated).
    void replied(qint16 code, const QByteArray& reply);
    // Asked again after a timeout; attempt 2 is the first repeat.
    void repeated(qint16 code, int attempt);
    // No trustworthy reply after every attempt.
    void failed(qint16 code);

private:
    enum class State { Idle, Waiting, Settling };

    void transmit();
    void onReceived();
    void giveUpAttempt();
    void startSettling();

    Transport* port_;
    QTimer reply_;
    QTimer settle_;
    State state_ = State::Idle;
    int retries_ = 3;
    int attempt_ = 0;
    qint16 wanted_ = 0;      // the request the caller waits for
    bool pending_ = false;   // it is wanted and not yet answered or failed
    bool onLine_ = false;    // the request on the line is the wanted one
    bool unsettled_ = false; // an unanswered attempt's reply may still come
    QElapsedTimer settling_; // a line that never falls quiet is not waited for forever
};

} // namespace bm
