#include "link/protocol.h"

#include <QtTest>

#include <random>

using namespace Qt::Literals::StringLiterals;
namespace protocol = bm::protocol;
using protocol::Kind;
using protocol::Route;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void requestFramesAndThresholds_data();
    void requestFramesAndThresholds();
    void dispatchByLinkStateAndLastCode();
    void handshakeReplyNeedsAllThreeBytes();
    void countDecoding();
    void liveResistanceExample();
    void overloadVoltageKeepsFlags();
    void resistivityRecordExample();
    void kindsByUnitCode();
    void shortMeasurementIsRejected();
    void randomBytesNeverBreakTheDecoders();
};

void TestProtocol::requestFramesAndThresholds_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("threshold");

    QTest::newRow("handshake") << 11000 << bytes({0x77, 0xF8, 0x2A}) << 3;
    QTest::newRow("count") << 12000 << bytes({0x77, 0xE0, 0x2E}) << 2;
    QTest::newRow("reading") << 13000 << bytes({0x77, 0xC8, 0x32}) << 10;
    QTest::newRow("record 1") << 1 << bytes({0x77, 0x01, 0x00}) << 10;
    QTest::newRow("record 5") << 5 << bytes({0x77, 0x05, 0x00}) << 10;
    QTest::newRow("record 256") << 256 << bytes({0x77, 0x00, 0x01}) << 10;
    QTest::newRow("record 10000") << 10000 << bytes({0x77, 0x10, 0x27}) << 10;
    QTest::newRow("other code 10001") << 10001 << bytes({0x77, 0x11, 0x27}) << 3;
    QTest::newRow("other code 32767") << 32767 << bytes({0x77, 0xFF, 0x7F}) << 3;
}

void TestProtocol::requestFramesAndThresholds()
{
    QFETCH(int, code);
    QFETCH(QByteArray, frame);
    QFETCH(int, threshold);
    QCOMPARE(protocol::requestFrame(qint16(code)), frame);
    QCOMPARE(protocol::receiveThreshold(qint16(code)), threshold);
}

void TestProtocol::dispatchByLinkStateAndLastCode()
{
    // The handshake only counts while the link is down; afterwards 11000 is the keep-alive.
    QCOMPARE(protocol::route(false, 11000), Route::Handshake);
    QCOMPARE(protocol::route(true, 11000), Route::Ignore);
    for (bool comok : {false, true}) {
        QCOMPARE(protocol::route(comok, 1), Route::Record);
        QCOMPARE(protocol::route(comok, 10000), Route::Record);
        QCOMPARE(protocol::route(comok, 12000), Route::Count);
        QCOMPARE(protocol::route(comok, 13000), Route::Reading);
        QCOMPARE(protocol::route(comok, 10001), Route::Ignore);
        QCOMPARE(protocol::route(comok, 11001), Route::Ignore);
        // Nothing sent yet: a stray reply must not land on the header row.
        QCOMPARE(protocol::route(comok, 0), Route::Ignore);
        QCOMPARE(protocol::route(comok, -5), Route::Ignore);
    }
}

void TestProtocol::handshakeReplyNeedsAllThreeBytes()
{
    QVERIFY(protocol::isHandshakeReply(bytes({0x77, 0x55, 0x77})));
    QVERIFY(protocol::isHandshakeReply(bytes({0x77, 0x55, 0x77, 0x01, 0x02})));
    QVERIFY(!protocol::isHandshakeReply(bytes({0x77, 0x55, 0x00})));
    QVERIFY(!protocol::isHandshakeReply(bytes({0x77, 0x55, 0x78})));
    QVERIFY(!protocol::isHandshakeReply(bytes({0x78, 0x55, 0x77})));
    QVERIFY(!protocol::isHandshakeReply(bytes({0x77, 0x55})));
    QVERIFY(!protocol::isHandshakeReply(bytes({0x77})));
    QVERIFY(!protocol::isHandshakeReply({}));
}

void TestProtocol::countDecoding()
{
    QCOMPARE(protocol::decodeCount(bytes({0x03, 0x00})), std::optional<qint16>(3));
    QCOMPARE(protocol::decodeCount(bytes({0x00, 0x00})), std::optional<qint16>(0));
    QCOMPARE(protocol::decodeCount(bytes({0x00, 0x01})), std::optional<qint16>(256));
    QCOMPARE(protocol::decodeCount(bytes({0xFF, 0x7F})), std::optional<qint16>(32767));
    QCOMPARE(protocol::decodeCount(bytes({0x03, 0x00, 0x99})), std::optional<qint16>(3));
    QVERIFY(!protocol::decodeCount(bytes({0x00, 0x80})));
    QVERIFY(!protocol::decodeCount(bytes({0xFF, 0xFF})));
    QVERIFY(!protocol::decodeCount(bytes({0x03})));
    QVERIFY(!protocol::decodeCount({}));
}

void TestProtocol::liveResistanceExample()
{
    const auto m = protocol::decodeMeasurement(bytes({0xE8, 0x03, 0x21, 0x14, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00}));
    QVERIFY(m);
    QCOMPARE(m->kind, Kind::Resistance);
    QCOMPARE(m->main, u"100.0KΩ"_s);
    QCOMPARE(m->rc, u"1.23KΩ"_s);
    QCOMPARE(m->rp, u"4.56KΩ"_s);
    QCOMPARE(m->spacing, QString()); // the kind does not use it
    QVERIFY(m->noise());
    QVERIFY(!m->highVoltage());
    QVERIFY(m->lowBattery());
}

void TestProtocol::overloadVoltageKeepsFlags()
{
    const auto m = protocol::decodeMeasurement(bytes({0x10, 0x27, 0x52, 0x08, 1, 2, 3, 4, 5, 6}));
    QVERIFY(m);
    QCOMPARE(m->kind, Kind::Voltage);
    QCOMPARE(m->main, u"OL V"_s);
    QVERIFY(m->rc.isEmpty() && m->rp.isEmpty() && m->spacing.isEmpty());
    QVERIFY(m->highVoltage());
    QVERIFY(!m->noise() && !m->lowBattery());
}

void TestProtocol::resistivityRecordExample()
{
    const auto m = protocol::decodeMeasurement(bytes({0x39, 0x30, 0x31, 0x00, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00}));
    QVERIFY(m);
    QCOMPARE(m->kind, Kind::Resistivity);
    QCOMPARE(m->main, u"1234.5Ωm"_s);
    QCOMPARE(m->rc, u"1.23KΩ"_s);
    QCOMPARE(m->rp, u"4.56KΩ"_s);
    QCOMPARE(m->spacing, u"10.0m"_s);
}

void TestProtocol::kindsByUnitCode()
{
    const Kind expected[16] = {Kind::None, Kind::Resistance, Kind::Resistance, Kind::Resistivity,
                               Kind::Resistivity, Kind::Voltage, Kind::None, Kind::None,
                               Kind::None, Kind::None, Kind::None, Kind::None,
                               Kind::None, Kind::None, Kind::None, Kind::None};
    for (int unit = 0; unit < 16; ++unit) {
        QCOMPARE(protocol::kindOfFormat(quint8(unit << 4 | 0x2)), expected[unit]);
    }
    // Milliamps and metres are units, but no measurement kind: nothing filled, flags kept.
    const auto m = protocol::decodeMeasurement(bytes({0x01, 0x00, 0x61, 0x1C, 1, 0, 1, 0, 1, 0}));
    QVERIFY(m);
    QCOMPARE(m->kind, Kind::None);
    QVERIFY(m->main.isEmpty() && m->rc.isEmpty());
    QVERIFY(m->noise() && m->highVoltage() && m->lowBattery());
}

void TestProtocol::shortMeasurementIsRejected()
{
    const QByteArray full = bytes({0xE8, 0x03, 0x21, 0x14, 0x7B, 0x00, 0xC8, 0x01, 0x64, 0x00});
    for (int n = 0; n < 10; ++n)
        QVERIFY2(!protocol::decodeMeasurement(full.left(n)), qPrintable(QString::number(n)));
    // Extra bytes after the tenth are ignored.
    QVERIFY(protocol::decodeMeasurement(full + "xyz"));
}

void TestProtocol::randomBytesNeverBreakTheDecoders()
{
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        QByteArray reply(int(rng() % 14), Qt::Uninitialized);
        for (char& b : reply)
            b = char(rng());
        const auto m = protocol::decodeMeasurement(reply);
        QCOMPARE(bool(m), reply.size() >= 10);
        if (m && m->kind == Kind::None)
            QVERIFY(m->main.isEmpty());
        const auto count = protocol::decodeCount(reply);
        if (count)
            QVERIFY(*count >= 0);
        protocol::isHandshakeReply(reply);
    }
}

QTEST_APPLESS_MAIN(TestProtocol)
#include "test_protocol.moc"
