#include "records/recordtable.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <tuple>

using namespace Qt::Literals::StringLiterals;
using bm::Kind;
using bm::Measurement;
using bm::RecordTable;

static Measurement make(Kind kind, const QString& main, const QString& rc = {}, const QString& rp = {},
                        const QString& spacing = {})
{
    Measurement m;
    std::tie(m.kind, m.main, m.rc, m.rp, m.spacing) = std::tie(kind, main, rc, rp, spacing);
    return m;
}

static const Measurement kVolt = make(Kind::Voltage, u"1.0V"_s);
static const Measurement kRes = make(Kind::Resistance, u"5.00Ω"_s, u"1.00KΩ"_s, u"2.00KΩ"_s);
static const Measurement kRho = make(Kind::Resistivity, u"7.0Ωm"_s, u"3.00KΩ"_s, u"4.00KΩ"_s, u"10.0m"_s);

static QString row(const RecordTable& t, int r)
{
    QStringList cells;
    for (int c = 0; c < t.Cols(); ++c)
        cells << t.TextMatrix(r, c);
    return cells.join(u'|');
}

class TestRecordTable : public QObject {
    Q_OBJECT
private slots:
    void appendGrowsCutsBackAndRewritesWholeRows()
    {
        RecordTable t;
        QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(row(t, 0), u"NO.|V|R|ρ|ρLenght|Rc|Rp"_s);
        QCOMPARE(t.Rows(), 2);
        t.appendRecord(5, kRho);
        QCOMPARE(t.Rows(), 6);
        QCOMPARE(row(t, 3), u"||||||"_s);
        QCOMPARE(row(t, 5), u"5|||7.0Ωm|10.0m|3.00KΩ|4.00KΩ"_s);
        t.appendRecord(6, kRes);
        QCOMPARE(row(t, 6), u"6||5.00Ω|||1.00KΩ|2.00KΩ"_s);
        t.appendRecord(7, Measurement{});
        QCOMPARE(row(t, 7), u"7||||||"_s);

        // A second download without Clear: nothing of the older record survives in row 5.
        t.appendRecord(5, kVolt);
        QCOMPARE(t.Rows(), 6);
        QCOMPARE(row(t, 5), u"5|1.0V|||||"_s);
        QCOMPARE(t.TextMatrix(6, 0), QString());

        // Clear in mid-download: the next record grows the table again over blank rows.
        t.initgrid();
        QCOMPARE(t.Rows(), 2);
        QCOMPARE(row(t, 1), u"||||||"_s);
        t.appendRecord(3, kVolt);
        QCOMPARE(row(t, 2) + row(t, 3), u"||||||3|1.0V|||||"_s);
    }

    void outOfRangeIsHarmless()
    {
        RecordTable t;
        for (int k : {0, -3, RecordTable::kMaxRows})
            t.appendRecord(k, kVolt);
        QCOMPARE(t.Rows(), 2);
        t.appendRecord(10000, kVolt);
        QCOMPARE(t.Rows(), 10001);
        t.setRows(20000);
        QCOMPARE(t.Rows(), 10001);
        t.setRows(0);
        QCOMPARE(t.Rows(), 1);
        t.setTextMatrix(5, 0, u"x"_s);
        QCOMPARE(t.TextMatrix(5, 0) + t.TextMatrix(0, 7) + t.TextMatrix(-1, 0), QString());
    }

    void viewsSeeOneRowChangePerAppend()
    {
        RecordTable t;
        t.appendRecord(1, kVolt);
        QSignalSpy inserted(&t, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        t.appendRecord(2, kRes);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][1].toInt() * 10 + inserted[0][2].toInt(), 11);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0].mid(0, 2), (QVariantList{t.index(1, 0), t.index(1, 6)}));
        QCOMPARE(t.index(1, 2).data().toString(), u"5.00Ω"_s);
        QCOMPARE(t.index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(t.headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    }
};

QTEST_GUILESS_MAIN(TestRecordTable)
#include "test_recordtable.moc"
