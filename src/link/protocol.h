#pragma once

#include "model/measurement.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <optional>

// The tester's wire protocol as plain functions over bytes.
namespace bm::protocol {

constexpr qint16 kHandshake = 11000; // also the keep-alive
constexpr qint16 kCount = 12000;
constexpr qint16 kReading = 13000;
constexpr qint16 kMaxRecord = bm::kMaxRecord; // codes 1..10000 ask for a stored record

// 0x77, code low byte, code high byte.
QByteArray requestFrame(qint16 code);
// Bytes that must wait before the reply is handled.
qint16 receiveThreshold(qint16 code);

bool isHandshakeReply(const QByteArray& reply);

// The stored-record count, or nothing when the reply is too short or above 32767.
std::optional<qint16> decodeCount(const QByteArray& reply);

Kind kindOfFormat(quint8 format);

// Nothing when the reply is shorter than 10 bytes: a short reply must never
// half-fill a row or the panel. Values are formatted for the given locale.
std::optional<Measurement> decodeMeasurement(const QByteArray& reply, const QLocale& locale = QLocale());

// What a reply means, from the link state and the code sent last. Codes below 1
// are never record numbers (0 is the code before anything was sent).
enum class Route { Handshake, Record, Count, Reading, Ignore };
Route route(bool comok, qint16 cmdcode);

} // namespace bm::protocol
