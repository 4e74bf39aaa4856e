// The CSV of typed records: exact SI numbers whatever the locale, OL, kinds, order.
#include "link/protocol.h"
#include "records/csvwriter.h"
#include "records/recordtable.h"

#include <QTest>

using namespace bm;

namespace {

Measurement record(quint16 main, quint8 format, quint16 rc = 123, quint16 rp = 456, quint16 spacing = 5)
{
    QByteArray b;
    for (quint16 v : {main, quint16(format), rc, rp, spacing})
        b.append(char(v & 0xFF)).append(char(v >> 8));
    return *protocol::decodeMeasurement(b);
}

} // namespace

class TestCsvWriter : public QObject {
    Q_OBJECT
private slots:
    void siTextIsTheExactShortestDecimal()
    {
        const struct {
            quint16 count;
            quint8 format;
            const char* text;
        } cases[] = {{1002, 0x22, "10020"}, // KΩ
                     {123, 0x42, "1230"},   // KΩm
                     {1, 0x13, "0.001"},    // three decimals
                     {10, 0x52, "0.1"},     // trailing zero dropped
                     {0, 0x12, "0"},
                     {125, 0x61, "0.0125"},     // mA
                     {65535, 0x40, "65535000"}, // never an exponent
                     {10000, 0x21, "OL"},
                     {5, 0x81, ""},  // unknown unit
                     {5, 0x14, ""}}; // too many decimals
        for (const auto& c : cases)
            QCOMPARE(siText({c.count, c.format}), QString::fromLatin1(c.text));
    }

    void tableRowsWithRecordsBecomeLinesInNumberOrderWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German)); // ',' decimals in the texts, never in the file
        RecordTable table;
        table.appendRecord(1, record(1002, 0x22));              // resistance 10.02 KΩ
        table.appendRecord(2, record(125, 0x51));               // voltage 12.5 V
        table.appendRecord(3, record(123, 0x42, 10000, 7, 55)); // resistivity, Rc overloaded
        table.appendRecord(4, record(3, 0x01));                 // no known unit
        table.appendRecord(6, record(77, 0x10));                // row 5 stays empty
        table.setTextMatrix(4, 1, QStringLiteral("typed"));     // a hand-edited row has no record
        QLocale::setDefault(QLocale::c());
        QCOMPARE(QString::fromUtf8(recordsCsv(table)),
                 QStringLiteral("no,kind,voltage_v,resistance_ohm,resistivity_ohm_m,spacing_m,rc_ohm,rp_ohm\n"
                                "1,resistance,,10020,,,1230,4560\n"
                                "2,voltage,12.5,,,,,\n"
                                "3,resistivity,,,1230,5.5,OL,70\n"
                                "6,resistance,,77,,,1230,4560\n"));
        QCOMPARE(recordsCsv(QList<NumberedMeasurement>{{9, record(3, 0x01)}}),
                 csvHeader().toUtf8() + "\n9,none,,,,,,\n");
    }
};

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "test_csvwriter.moc"
