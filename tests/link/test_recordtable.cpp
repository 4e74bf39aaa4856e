#include "records/recordtable.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using bm::RecordTable;
using bm::protocol::Kind;
using bm::protocol::Measurement;

namespace {

Measurement voltage(const QString& v) { return {Kind::Voltage, v, {}, {}, {}, 0}; }
Measurement resistance(const QString& r) { return {Kind::Resistance, r, u"1.00KΩ"_s, u"2.00KΩ"_s, {}, 0}; }
Measurement resistivity(const QString& p)
{
    return {Kind::Resistivity, p, u"3.00KΩ"_s, u"4.00KΩ"_s, u"10.0m"_s, 0};
}

QStringList row(const RecordTable& t, int r)
{
    QStringList cells;
    for (int c = 0; c < t.Cols(); ++c)
        cells << t.TextMatrix(r, c);
    return cells;
}

} // namespace

class TestRecordTable : public QObject {
    Q_OBJECT
private slots:
    void freshTableHasHeaderAndOneBlankRow();
    void recordGrowsTheTableWithBlankRowsBetween();
    void eachKindFillsItsOwnCells();
    void earlierRecordCutsTheTableBack();
    void rewrittenRowKeepsNothingOfTheOlderRecord();
    void clearMidDownloadLeavesEarlierRowsBlank();
    void outOfRangeRowsAndCellsAreHarmless();
    void viewsSeeDataRowsAndHeaderRow();
    void appendingOneRowTouchesOnlyThatRow();
    void consistentForQtViewsThroughAFullDownload();
};

void TestRecordTable::freshTableHasHeaderAndOneBlankRow()
{
    RecordTable t;
    QCOMPARE(t.Rows(), 2);
    QCOMPARE(t.Cols(), 7);
    QCOMPARE(row(t, 0), (QStringList{u"NO."_s, u"V"_s, u"R"_s, u"ρ"_s, u"ρLenght"_s, u"Rc"_s, u"Rp"_s}));
    QCOMPARE(row(t, 1), QStringList(7, QString()));

    t.appendRecord(3, voltage(u"1.0V"_s));
    t.initgrid();
    QCOMPARE(t.Rows(), 2);
    QCOMPARE(row(t, 1), QStringList(7, QString()));
    QCOMPARE(t.TextMatrix(0, 3), u"ρ"_s);
}

void TestRecordTable::recordGrowsTheTableWithBlankRowsBetween()
{
    RecordTable t;
    t.appendRecord(5, voltage(u"2.5V"_s));
    QCOMPARE(t.Rows(), 6);
    for (int r = 1; r <= 4; ++r)
        QCOMPARE(row(t, r), QStringList(7, QString()));
    QCOMPARE(row(t, 5), (QStringList{u"5"_s, u"2.5V"_s, {}, {}, {}, {}, {}}));
}

void TestRecordTable::eachKindFillsItsOwnCells()
{
    RecordTable t;
    t.appendRecord(1, voltage(u"1.0V"_s));
    t.appendRecord(2, resistance(u"5.00Ω"_s));
    t.appendRecord(3, resistivity(u"12.3Ωm"_s));
    t.appendRecord(4, Measurement{Kind::None, {}, {}, {}, {}, 0});
    QCOMPARE(row(t, 1), (QStringList{u"1"_s, u"1.0V"_s, {}, {}, {}, {}, {}}));
    QCOMPARE(row(t, 2), (QStringList{u"2"_s, {}, u"5.00Ω"_s, {}, {}, u"1.00KΩ"_s, u"2.00KΩ"_s}));
    QCOMPARE(row(t, 3), (QStringList{u"3"_s, {}, {}, u"12.3Ωm"_s, u"10.0m"_s, u"3.00KΩ"_s, u"4.00KΩ"_s}));
    QCOMPARE(row(t, 4), (QStringList{u"4"_s, {}, {}, {}, {}, {}, {}}));
    QCOMPARE(t.Rows(), 5);
}

void TestRecordTable::earlierRecordCutsTheTableBack()
{
    RecordTable t;
    for (int k = 1; k <= 10; ++k)
        t.appendRecord(k, voltage(QString::number(k) + u"V"_s));
    QSignalSpy removed(&t, &QAbstractItemModel::rowsRemoved);
    t.appendRecord(1, voltage(u"9.9V"_s));
    QCOMPARE(t.Rows(), 2);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed[0][1].toInt(), 1); // model rows 1..8 are data rows 2..9...
    QCOMPARE(removed[0][2].toInt(), 9); // ...through 10
    QCOMPARE(t.TextMatrix(10, 1), QString());
    QCOMPARE(t.TextMatrix(1, 1), u"9.9V"_s);
}

void TestRecordTable::rewrittenRowKeepsNothingOfTheOlderRecord()
{
    RecordTable t;
    t.appendRecord(1, resistivity(u"12.3Ωm"_s));
    t.appendRecord(2, resistance(u"5.00Ω"_s));
    // A second download without Clear: record 1 is now a voltage record.
    t.appendRecord(1, voltage(u"1.0V"_s));
    QCOMPARE(row(t, 1), (QStringList{u"1"_s, u"1.0V"_s, {}, {}, {}, {}, {}}));
    t.appendRecord(2, resistivity(u"7.0Ωm"_s));
    QCOMPARE(row(t, 2), (QStringList{u"2"_s, {}, {}, u"7.0Ωm"_s, u"10.0m"_s, u"3.00KΩ"_s, u"4.00KΩ"_s}));
    t.appendRecord(2, Measurement{Kind::None, {}, {}, {}, {}, 0});
    QCOMPARE(row(t, 2), (QStringList{u"2"_s, {}, {}, {}, {}, {}, {}}));
}

void TestRecordTable::clearMidDownloadLeavesEarlierRowsBlank()
{
    RecordTable t;
    for (int k = 1; k <= 3; ++k)
        t.appendRecord(k, voltage(u"1.0V"_s));
    t.initgrid();
    t.appendRecord(4, voltage(u"4.0V"_s));
    QCOMPARE(t.Rows(), 5);
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(row(t, r), QStringList(7, QString()));
    QCOMPARE(t.TextMatrix(4, 0), u"4"_s);
}

void TestRecordTable::outOfRangeRowsAndCellsAreHarmless()
{
    RecordTable t;
    t.appendRecord(0, voltage(u"1.0V"_s));
    t.appendRecord(-3, voltage(u"1.0V"_s));
    t.appendRecord(RecordTable::kMaxRows, voltage(u"1.0V"_s));
    QCOMPARE(t.Rows(), 2);
    QCOMPARE(t.TextMatrix(0, 0), u"NO."_s);

    t.appendRecord(10000, voltage(u"1.0V"_s));
    QCOMPARE(t.Rows(), 10001);
    QCOMPARE(t.TextMatrix(10000, 0), u"10000"_s);
    t.setRows(20000);
    QCOMPARE(t.Rows(), RecordTable::kMaxRows);
    t.setRows(0);
    QCOMPARE(t.Rows(), 1);
    QCOMPARE(t.TextMatrix(0, 6), u"Rp"_s);

    QCOMPARE(t.TextMatrix(5, 0), QString());
    QCOMPARE(t.TextMatrix(0, 7), QString());
    QCOMPARE(t.TextMatrix(-1, 0), QString());
    t.setTextMatrix(5, 0, u"x"_s);
    t.setTextMatrix(0, -1, u"x"_s);
    QCOMPARE(t.Rows(), 1);
}

void TestRecordTable::viewsSeeDataRowsAndHeaderRow()
{
    RecordTable t;
    t.appendRecord(2, resistance(u"5.00Ω"_s));
    QCOMPARE(t.rowCount(), 2);
    QCOMPARE(t.columnCount(), 7);
    QCOMPARE(t.index(1, 0).data().toString(), u"2"_s);
    QCOMPARE(t.index(1, 2).data().toString(), u"5.00Ω"_s);
    QCOMPARE(t.headerData(4, Qt::Horizontal).toString(), u"ρLenght"_s);
    QCOMPARE(t.index(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QCOMPARE(t.headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

    QSignalSpy header(&t, &QAbstractItemModel::headerDataChanged);
    QSignalSpy cells(&t, &QAbstractItemModel::dataChanged);
    t.setTextMatrix(0, 1, u"Volt"_s);
    t.setTextMatrix(2, 1, u"x"_s);
    QCOMPARE(header.size(), 1);
    QCOMPARE(cells.size(), 1);
    QCOMPARE(cells[0][0].toModelIndex(), t.index(1, 1));
    QCOMPARE(t.headerData(1, Qt::Horizontal).toString(), u"Volt"_s);
}

void TestRecordTable::appendingOneRowTouchesOnlyThatRow()
{
    RecordTable t;
    t.appendRecord(1, voltage(u"1.0V"_s));
    QSignalSpy inserted(&t, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&t, &QAbstractItemModel::modelReset);
    t.appendRecord(2, voltage(u"2.0V"_s));
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), 1);
    QCOMPARE(inserted[0][2].toInt(), 1);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), t.index(1, 0));
    QCOMPARE(changed[0][1].toModelIndex(), t.index(1, 6));
    QCOMPARE(reset.size(), 0);
}

void TestRecordTable::consistentForQtViewsThroughAFullDownload()
{
    RecordTable t;
    QAbstractItemModelTester tester(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int k = 1; k <= 50; ++k)
        t.appendRecord(k, resistance(u"5.00Ω"_s));
    t.appendRecord(1, voltage(u"1.0V"_s));
    t.appendRecord(30, voltage(u"1.0V"_s));
    t.initgrid();
    t.setRows(1);
    t.setRows(4);
}

QTEST_GUILESS_MAIN(TestRecordTable)
#include "test_recordtable.moc"
