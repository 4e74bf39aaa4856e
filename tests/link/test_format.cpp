#include "display/format.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using bm::fmtnum;
using bm::fmtvalue;

class TestFormat : public QObject {
    Q_OBJECT
private slots:
    void valueTextsInTheCLocale_data();
    void valueTextsInTheCLocale();
    void commaLocaleChangesOnlyTheSeparator();
    void noDigitGroupingEvenWhereTheLocaleGroups();
    void everyCountReadsBackExactly();
    void fmtnumRoundsToTheGivenDecimals();
};

void TestFormat::valueTextsInTheCLocale_data()
{
    QTest::addColumn<int>("hi");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("fmt");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero with two decimals") << 0x00 << 0x00 << 0x22 << u"0.00KΩ"_s;
    QTest::newRow("three decimals") << 0x30 << 0x39 << 0x13 << u"12.345Ω"_s;
    QTest::newRow("leading zero before the point") << 0x00 << 0x05 << 0x32 << u"0.05Ωm"_s;
    QTest::newRow("largest count, no grouping") << 0xFF << 0xFF << 0x50 << u"65535V"_s;
    QTest::newRow("just under overload") << 0x27 << 0x0F << 0x21 << u"999.9KΩ"_s;
    QTest::newRow("just over overload") << 0x27 << 0x11 << 0x21 << u"1000.1KΩ"_s;
    QTest::newRow("overload resistance") << 0x27 << 0x10 << 0x21 << u"OL KΩ"_s;
    QTest::newRow("overload voltage") << 0x27 << 0x10 << 0x53 << u"OL V"_s;
    QTest::newRow("overload ignores bad decimals") << 0x27 << 0x10 << 0x2F << u"OL KΩ"_s;
    QTest::newRow("decimals 4: unit only") << 0x01 << 0x00 << 0x24 << u"KΩ"_s;
    QTest::newRow("spacing") << 0x00 << 0x64 << 0x71 << u"10.0m"_s;
    QTest::newRow("resistivity in kilo") << 0x04 << 0xD2 << 0x43 << u"1.234KΩm"_s;
    QTest::newRow("milliamps") << 0x00 << 0x07 << 0x60 << u"7mA"_s;
    QTest::newRow("no unit code 0") << 0x12 << 0x34 << 0x02 << QString();
    QTest::newRow("no unit code 8") << 0x12 << 0x34 << 0x80 << QString();
    QTest::newRow("no unit code F") << 0x12 << 0x34 << 0xF1 << QString();
    QTest::newRow("no unit, overload") << 0x27 << 0x10 << 0x80 << QString();
}

void TestFormat::valueTextsInTheCLocale()
{
    QFETCH(int, hi);
    QFETCH(int, lo);
    QFETCH(int, fmt);
    QFETCH(QString, text);
    QCOMPARE(fmtvalue(quint8(hi), quint8(lo), quint8(fmt), QLocale::c()), text);
}

void TestFormat::commaLocaleChangesOnlyTheSeparator()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(fmtvalue(0x30, 0x39, 0x13, german), u"12,345Ω"_s);
    QCOMPARE(fmtvalue(0x00, 0x64, 0x71, german), u"10,0m"_s);
    QCOMPARE(fmtvalue(0x27, 0x10, 0x21, german), u"OL KΩ"_s);
    QCOMPARE(fmtvalue(0xFF, 0xFF, 0x50, german), u"65535V"_s);

    // The default argument follows the process locale.
    const QLocale saved;
    QLocale::setDefault(german);
    QCOMPARE(fmtvalue(0x00, 0x05, 0x32), u"0,05Ωm"_s);
    QLocale::setDefault(saved);
}

void TestFormat::noDigitGroupingEvenWhereTheLocaleGroups()
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(fmtnum(65535.0f, 0, us), u"65535"_s);
    QCOMPARE(fmtnum(6553.5f, 1, us), u"6553.5"_s);
    QCOMPARE(fmtnum(6553.5f, 1, german), u"6553,5"_s);
}

void TestFormat::everyCountReadsBackExactly()
{
    // Single-precision division must never shift a digit: the text is the
    // count with the separator put in d places from the right.
    const QLocale c = QLocale::c();
    for (int d = 0; d <= 3; ++d) {
        for (int count = 0; count <= 0xFFFF; ++count) {
            if (count == 10000)
                continue;
            QString expected = QString::number(count);
            if (d > 0) {
                expected = expected.rightJustified(d + 1, QLatin1Char('0'));
                expected.insert(expected.size() - d, QLatin1Char('.'));
            }
            expected += QStringLiteral("V");
            const QString text = fmtvalue(quint8(count >> 8), quint8(count & 0xFF), quint8(0x50 | d), c);
            if (text != expected)
                QFAIL(qPrintable(QStringLiteral("count %1 d %2: %3").arg(count).arg(d).arg(text)));
        }
    }
}

void TestFormat::fmtnumRoundsToTheGivenDecimals()
{
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(fmtnum(2.0f, 3, c), u"2.000"_s);
    QCOMPARE(fmtnum(0.5f, 0, c), u"1"_s);
    QCOMPARE(fmtnum(0.125f, 2, c), u"0.13"_s); // an exact tie rounds away from zero
    QCOMPARE(fmtnum(1.26f, 1, c), u"1.3"_s);
    QCOMPARE(fmtnum(-1.5f, 1, german), u"-1,5"_s);
    QCOMPARE(fmtnum(-0.004f, 2, c), u"0.00"_s); // no negative zero
    QCOMPARE(fmtnum(0.05f, 3, c), u"0.050"_s);
    QCOMPARE(fmtnum(1.5f, 4, german), u"1,5000"_s);
    QCOMPARE(fmtnum(1e20f, 0, c), QString::number(double(1e20f), 'f', 0));
}

QTEST_APPLESS_MAIN(TestFormat)
#include "test_format.moc"
