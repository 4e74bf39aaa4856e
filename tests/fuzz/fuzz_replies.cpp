// Reply decoding under every kind of code and link state: never a crash, never
// an out-of-range read, and every decoded text keeps its shape.
#include "link/protocol.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

const QRegularExpression& valueShape()
{
    static const QRegularExpression re(QStringLiteral("^((\\d+([.]\\d{1,3})?|OL )?(Ω|KΩ|Ωm|KΩm|V|mA|m))?$"));
    return re;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    using namespace bm::protocol;
    const bool comok = data[0] & 1;
    const auto code = static_cast<qint16>(data[1] | (data[2] << 8));
    const QByteArray reply(reinterpret_cast<const char*>(data + 3), static_cast<qsizetype>(size - 3));

    const QByteArray frame = requestFrame(code);
    check(frame.size() == 3 && static_cast<quint8>(frame[0]) == 0x77);
    const qint16 threshold = receiveThreshold(code);
    check(threshold == 2 || threshold == 3 || threshold == 10);

    switch (route(comok, code)) {
    case Route::Handshake:
        check(!comok && code == kHandshake);
        // Only the three bytes 77 55 77 at the start link the tester.
        check(isHandshakeReply(reply) == (reply.size() >= 3 && reply.startsWith(QByteArray::fromHex("775577"))));
        break;
    case Route::Count:
        if (const auto n = decodeCount(reply))
            check(*n >= 0 && reply.size() >= 2);
        break;
    case Route::Record:
    case Route::Reading: {
        const auto m = decodeMeasurement(reply);
        check(m.has_value() == (reply.size() >= 10));
        if (m) {
            for (const QString* s : {&m->main, &m->rc, &m->rp, &m->spacing})
                check(valueShape().match(*s).hasMatch());
            // A typed value is overloaded exactly when its text says so.
            check(m->mainValue.overloaded() == m->main.startsWith(QStringLiteral("OL ")));
            // A typed value has a number exactly when its text shows one.
            const bool shown = !m->main.isEmpty() && m->main.at(0).isDigit();
            check(std::isnan(m->mainValue.si()) == !shown);
        }
        break;
    }
    case Route::Ignore: break;
    }
    return 0;
}
