#include "model/format.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using bm::fmtnum;
using bm::fmtvalue;

class TestFormat : public QObject {
    Q_OBJECT
private slots:
    void valueTexts()
    {
        const struct { int hi, lo, fmt; QString c, de; } cases[] = {
            {0x00, 0x00, 0x22, u"0.00KΩ"_s, u"0,00KΩ"_s},   {0x30, 0x39, 0x13, u"12.345Ω"_s, u"12,345Ω"_s},
            {0x00, 0x05, 0x32, u"0.05Ωm"_s, u"0,05Ωm"_s},   {0xFF, 0xFF, 0x50, u"65535V"_s, u"65535V"_s},
            {0x27, 0x0F, 0x21, u"999.9KΩ"_s, u"999,9KΩ"_s}, {0x27, 0x11, 0x21, u"1000.1KΩ"_s, u"1000,1KΩ"_s},
            {0x27, 0x10, 0x21, u"OL KΩ"_s, u"OL KΩ"_s},     {0x27, 0x10, 0x5F, u"OL V"_s, u"OL V"_s},
            {0x01, 0x00, 0x24, u"KΩ"_s, u"KΩ"_s},           {0x00, 0x64, 0x71, u"10.0m"_s, u"10,0m"_s},
            {0x04, 0xD2, 0x43, u"1.234KΩm"_s, u"1,234KΩm"_s}, {0x00, 0x07, 0x60, u"7mA"_s, u"7mA"_s},
            {0x12, 0x34, 0x02, {}, {}}, {0x12, 0x34, 0x80, {}, {}}, {0x27, 0x10, 0xF1, {}, {}}};
        const QLocale german(QLocale::German, QLocale::Germany);
        for (const auto& c : cases) {
            QCOMPARE(fmtvalue(quint8(c.hi), quint8(c.lo), quint8(c.fmt), QLocale::c()), c.c);
            QCOMPARE(fmtvalue(quint8(c.hi), quint8(c.lo), quint8(c.fmt), german), c.de);
        }
    }

    void everyCountReadsBackExactly()
    {
        // The text is the count with the separator d places from the right, for every count.
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

    void fmtnumRoundsAndNeverGroups()
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(fmtnum(65535.0f, 0, us), u"65535"_s);
        QCOMPARE(fmtnum(6553.5f, 1, german), u"6553,5"_s);
        QCOMPARE(fmtnum(0.125f, 2, us), u"0.13"_s); // an exact tie rounds away from zero
        QCOMPARE(fmtnum(-1.5f, 1, german), u"-1,5"_s);
        QCOMPARE(fmtnum(-0.004f, 2, us), u"0.00"_s);
        QCOMPARE(fmtnum(1.5f, 4, german), u"1,5000"_s);
        QLocale::setDefault(german);
        QCOMPARE(fmtvalue(0x00, 0x05, 0x32), u"0,05Ωm"_s);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_APPLESS_MAIN(TestFormat)
#include "test_format.moc"
