#include "link/protocol.h"

#include "model/format.h"

namespace bm::protocol {

namespace {

constexpr char kRequestMarker = 0x77;
constexpr quint8 kRcFormat = 0x22;      // KΩ, 2 decimals
constexpr quint8 kSpacingFormat = 0x71; // m, 1 decimal
constexpr int kMeasurementSize = 10;

quint8 byteAt(const QByteArray& bytes, int i) { return static_cast<quint8>(bytes.at(i)); }

} // namespace

QByteArray requestFrame(qint16 code)
{
    const auto raw = static_cast<quint16>(code);
    QByteArray frame(3, Qt::Uninitialized);
    frame[0] = kRequestMarker;
    frame[1] = static_cast<char>(raw & 0xFF);
    frame[2] = static_cast<char>(raw >> 8);
    return frame;
}

qint16 receiveThreshold(qint16 code)
{
    if (code <= kMaxRecord)
        return 10;
    switch (code) {
    case kHandshake: return 3;
    case kCount: return 2;
    case kReading: return 10;
    default: return 3;
    }
}

bool isHandshakeReply(const QByteArray& reply)
{
    return reply.size() >= 3 && byteAt(reply, 0) == 0x77 && byteAt(reply, 1) == 0x55 && byteAt(reply, 2) == 0x77;
}

std::optional<qint16> decodeCount(const QByteArray& reply)
{
    if (reply.size() < 2 || byteAt(reply, 1) >= 128)
        return std::nullopt;
    return static_cast<qint16>(byteAt(reply, 1) * 256 + byteAt(reply, 0));
}

Kind kindOfFormat(quint8 format)
{
    const Unit* unit = unitOf(format);
    return unit ? unit->kind : Kind::None;
}

std::optional<Measurement> decodeMeasurement(const QByteArray& reply, const QLocale& locale)
{
    if (reply.size() < kMeasurementSize)
        return std::nullopt;

    // Sets a value and its text from the count at byte `at`, low byte first.
    const auto value = [&](int at, quint8 format, Quantity& q, QString& text) {
        q = {static_cast<quint16>(byteAt(reply, at + 1) * 256 + byteAt(reply, at)), format};
        text = fmtvalue(byteAt(reply, at + 1), byteAt(reply, at), format, locale);
    };

    Measurement m;
    const quint8 format = byteAt(reply, 2);
    m.kind = kindOfFormat(format);
    m.flags = byteAt(reply, 3);
    if (m.kind == Kind::None)
        return m;
    value(0, format, m.mainValue, m.main);
    if (m.kind == Kind::Voltage)
        return m;
    value(4, kRcFormat, m.rcValue, m.rc);
    value(6, kRcFormat, m.rpValue, m.rp);
    if (m.kind == Kind::Resistivity)
        value(8, kSpacingFormat, m.spacingValue, m.spacing);
    return m;
}

Route route(bool comok, qint16 cmdcode)
{
    if (!comok && cmdcode == kHandshake)
        return Route::Handshake;
    if (cmdcode <= kMaxRecord)
        return cmdcode >= 1 ? Route::Record : Route::Ignore;
    switch (cmdcode) {
    case kCount: return Route::Count;
    case kReading: return Route::Reading;
    default: return Route::Ignore;
    }
}

} // namespace bm::protocol
