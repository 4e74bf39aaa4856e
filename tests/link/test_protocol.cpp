#include "model/reading.h"
#include "link/protocol.h"

#include <QtTest>

#include <algorithm>
#include <random>

using namespace Qt::Literals::StringLiterals;
namespace p = bm::protocol;
using bm::Kind;
using p::Route;

static QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void requestFramesAndThresholds()
    {
        const struct { int code; const char* frame; int threshold; } cases[] = {
            {11000, "77f82a", 3}, {12000, "77e02e", 2}, {13000, "77c832", 10}, {5, "770500", 10},
            {256, "770001", 10}, {10000, "771027", 10}, {10001, "771127", 3}, {32767, "77ff7f", 3}};
        for (const auto& c : cases) {
            QCOMPARE(p::requestFrame(qint16(c.code)), hex(c.frame));
            QCOMPARE(p::receiveThreshold(qint16(c.code)), qint16(c.threshold));
        }
    }

    void dispatchByLinkStateAndLastCode()
    {
        QCOMPARE(p::route(false, 11000), Route::Handshake);
        QCOMPARE(p::route(true, 11000), Route::Ignore); // the keep-alive once linked
        for (bool comok : {false, true}) {
            QCOMPARE(p::route(comok, 1), Route::Record);
            QCOMPARE(p::route(comok, 10000), Route::Record);
            QCOMPARE(p::route(comok, 12000), Route::Count);
            QCOMPARE(p::route(comok, 13000), Route::Reading);
            QCOMPARE(p::route(comok, 10001), Route::Ignore);
            QCOMPARE(p::route(comok, 0), Route::Ignore); // nothing sent yet: never the header row
        }
    }

    void handshakeAndCountReplies()
    {
        QVERIFY(p::isHandshakeReply(hex("775577")));
        QVERIFY(p::isHandshakeReply(hex("7755770102")));
        for (const char* bad : {"775500", "775578", "785577", "7755", ""})
            QVERIFY2(!p::isHandshakeReply(hex(bad)), bad);
        QCOMPARE(p::decodeCount(hex("0300")), std::optional<qint16>(3));
        QCOMPARE(p::decodeCount(hex("0000")), std::optional<qint16>(0));
        QCOMPARE(p::decodeCount(hex("0001")), std::optional<qint16>(256));
        QCOMPARE(p::decodeCount(hex("ff7f")), std::optional<qint16>(32767));
        for (const char* bad : {"0080", "ffff", "03", ""})
            QVERIFY2(!p::decodeCount(hex(bad)), bad);
    }

    void liveRepliesChangeOnlyTheirOwnCaptions()
    {
        bm::Reading r;
        auto m = p::decodeMeasurement(hex("e80321147b00c8016400"));
        QVERIFY(m);
        QCOMPARE(m->kind, Kind::Resistance);
        r.apply(*m);
        QCOMPARE(r.r, u"100.0KΩ"_s);
        QCOMPARE(r.rc, u"1.23KΩ"_s);
        QCOMPARE(r.rp, u"4.56KΩ"_s);
        QCOMPARE(r.p_length, u"0.00 m"_s);
        QCOMPARE(r.testmode, 2);
        QVERIFY(r.noise && r.lowbat && !r.hvolt);

        r.apply(*p::decodeMeasurement(hex("10275208010203040506")));
        QCOMPARE(r.v, u"OL V"_s);
        QCOMPARE(r.testmode, 1);
        QCOMPARE(r.r, u"100.0KΩ"_s);
        QVERIFY(!r.noise && !r.lowbat && r.hvolt);

        // Milliamps name no measurement: no caption, no mode, but the marks follow.
        m = p::decodeMeasurement(hex("01006110000000000000"));
        QCOMPARE(m->kind, Kind::None);
        QVERIFY(m->main.isEmpty());
        r.apply(*m);
        QCOMPARE(r.testmode, 1);
        QVERIFY(r.lowbat && !r.hvolt);
    }

    void shortOrRandomRepliesAreSafe()
    {
        std::mt19937 rng(7);
        for (int i = 0; i < 20000; ++i) {
            QByteArray reply(int(rng() % 14), Qt::Uninitialized);
            std::generate(reply.begin(), reply.end(), [&] { return char(rng()); });
            QCOMPARE(bool(p::decodeMeasurement(reply)), reply.size() >= 10);
            QVERIFY(p::decodeCount(reply).value_or(0) >= 0);
        }
    }
};

QTEST_APPLESS_MAIN(TestProtocol)
#include "test_protocol.moc"
