#include "link/protocol.h"

namespace bm::protocol {

QByteArray requestFrame(qint16) { return {}; }
qint16 receiveThreshold(qint16) { return 3; }
bool isHandshakeReply(const QByteArray&) { return false; }
std::optional<qint16> decodeCount(const QByteArray&) { return std::nullopt; }
Kind kindOfFormat(quint8) { return Kind::None; }
std::optional<Measurement> decodeMeasurement(const QByteArray&) { return std::nullopt; }
Route route(bool, qint16) { return Route::Ignore; }

} // namespace bm::protocol
