#include "link/handshakeprobe.h"

#include "link/protocol.h"

namespace bm {

HandshakeProbe::HandshakeProbe(Transport* port, QObject* parent) : QObject(parent), request_(port, this)
{
    connect(&request_, &RetryingRequest::replied, this,
            [this](qint16, const QByteArray& reply) { emit finished(protocol::isHandshakeReply(reply)); });
    connect(&request_, &RetryingRequest::failed, this, [this] { emit finished(false); });
}

void HandshakeProbe::start() { request_.send(protocol::kHandshake); }

} // namespace bm
