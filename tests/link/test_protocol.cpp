// Replies decoded into measurements and value texts, in either decimal separator.
#include "link/protocol.h"
#include "model/format.h"
#include "model/reading.h"

#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <random>

using namespace Qt::Literals::StringLiterals;
namespace p = bm::protocol;
using bm::fmtvalue;
using bm::Kind;
using p::Route;

static QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Records, the count and readings are dispatched by the link's tests; these are the quiet cases.
    void handshakeOnlyUntilLinkedAndCountReplies()
    {
        QCOMPARE(p::route(false, 11000), Route::Handshake);
        QCOMPARE(p::route(true, 11000), Route::Ignore); // the keep-alive once linked
        QCOMPARE(p::route(false, 0), Route::Ignore);    // nothing sent yet: never the header row
        QCOMPARE(p::route(true, 10001), Route::Ignore);
        for (const char* good : {"775577", "7755770102"})
            QVERIFY2(p::isHandshakeReply(hex(good)), good);
        for (const char* bad : {"775500", "775578", "785577", "7755", ""})
            QVERIFY2(!p::isHandshakeReply(hex(bad)), bad);
        for (const auto& [reply, count] : std::initializer_list<std::pair<const char*, int>>{
                 {"0300", 3}, {"0000", 0}, {"0001", 256}, {"ff7f", 32767}})
            QCOMPARE(p::decodeCount(hex(reply)), std::optional<qint16>(count));
        for (const char* bad : {"0080", "ffff", "03", ""})
            QVERIFY2(!p::decodeCount(hex(bad)), bad);
    }

    // The first reading's captions and marks are the live window test's; here what follows it.
    void liveRepliesChangeOnlyTheirOwnCaptions()
    {
        bm::Reading r;
        r.apply(*p::decodeMeasurement(hex("e80321147b00c8016400")));
        r.apply(*p::decodeMeasurement(hex("10275208010203040506")));
        QCOMPARE(r.v + r.r + r.p_length, u"OL V100.0KΩ0.00 m"_s);
        QCOMPARE(r.testmode, 1);
        QVERIFY(!r.noise);
        QVERIFY(!r.lowbat);
        QVERIFY(r.hvolt);

        // Milliamps name no measurement: no caption, no mode, but the marks follow.
        const auto m = p::decodeMeasurement(hex("01006110000000000000"));
        QCOMPARE(m->kind, Kind::None);
        QVERIFY(m->main.isEmpty());
        r.apply(*m);
        QCOMPARE(r.testmode, 1);
        QVERIFY(r.lowbat);
        QVERIFY(!r.hvolt);
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

    void valueTexts()
    {
        // Decimals and overloads are every count's test below; here the units and the unknown formats.
        const struct {
            int hi, lo, fmt;
            QString text;
        } cases[] = {{0x30, 0x39, 0x13, u"12.345Ω"_s}, {0x00, 0x05, 0x32, u"0.05Ωm"_s},
                     {0x27, 0x10, 0x21, u"OL KΩ"_s},   {0x01, 0x00, 0x24, u"KΩ"_s},
                     {0x00, 0x64, 0x71, u"10.0m"_s},   {0x04, 0xD2, 0x43, u"1.234KΩm"_s},
                     {0x00, 0x07, 0x60, u"7mA"_s},     {0x12, 0x34, 0x02, {}},
                     {0x12, 0x34, 0x80, {}},           {0x27, 0x10, 0xF1, {}}};
        for (const auto& c : cases)
            QCOMPARE(fmtvalue(quint8(c.hi), quint8(c.lo), quint8(c.fmt), QLocale::c()), c.text);
    }

    // Every format byte: a text of the one shape the panel and the files expect, and the
    // decimal separator the only thing the locale changes, never a group separator.
    void everyFormatGivesOneShapeInEitherSeparator()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        const QRegularExpression shape(u"^((\\d+(,\\d{1,3})?|OL )?(Ω|KΩ|Ωm|KΩm|V|mA|m))?$"_s);
        for (int fmt = 0; fmt <= 0xFF; ++fmt) {
            for (const int count : {0, 7, 999, 1001, 9999, 10000, 10001, 65535}) {
                const QString de = fmtvalue(quint8(count >> 8), quint8(count), quint8(fmt), german);
                QVERIFY2(shape.match(de).hasMatch(), qPrintable(de));
                QCOMPARE(QString(de).replace(u',', u'.'),
                         fmtvalue(quint8(count >> 8), quint8(count), quint8(fmt), QLocale::c()));
            }
        }
        QLocale::setDefault(german);
        QCOMPARE(fmtvalue(0x00, 0x05, 0x32), u"0,05Ωm"_s);
        QLocale::setDefault(QLocale::c());
    }

    // The text is the count with the separator d places from the right, for every count:
    // rounding of every value the tester can send.
    void everyCountReadsBackExactly()
    {
        for (int d = 0; d <= 3; ++d) {
            for (int count = 0; count <= 0xFFFF; ++count) {
                QString want = QString::number(count).rightJustified(d + 1, u'0');
                if (d > 0)
                    want.insert(want.size() - d, u'.');
                if (count == 10000)
                    want = u"OL "_s;
                const QString got = fmtvalue(quint8(count >> 8), quint8(count), quint8(0x50 | d), QLocale::c());
                if (got != want + u"V"_s)
                    QFAIL(qPrintable(u"%1/%2: %3"_s.arg(count).arg(d).arg(got)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestProtocol)
#include "test_protocol.moc"
