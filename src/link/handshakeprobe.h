#pragma once

#include "link/retryingrequest.h"

#include <QObject>

namespace bm {

// Asks whether the tester answers on an open transport: the handshake, asked
// again when a reply is lost. Any other reply means something else is there.
class HandshakeProbe : public QObject {
    Q_OBJECT
public:
    explicit HandshakeProbe(Transport* port, QObject* parent = nullptr);

    void setTimeout(int ms) { request_.setTimeout(ms); }
    void setRetries(int retries) { request_.setRetries(retries); }

    void start();
    void cancel() { request_.cancel(); }

signals:
    void finished(bool answered);

private:
    RetryingRequest request_;
};

} // namespace bm
